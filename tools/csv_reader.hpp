// Reads comma-separated text into a table of fields, and the fields of one
// column into numbers. Pure functions: text in, table or error out; nothing
// here touches files, streams or global state.
//
// Accepted text:
// - a UTF-8 byte-order mark at the very start is skipped;
// - records end with LF, CRLF or a lone CR; empty (or all-blank) lines are
//   skipped; the last record needs no line end;
// - fields are separated by commas; blanks (spaces, tabs) around a field are
//   not part of it;
// - a field may be quoted: "..." may hold commas, line breaks and "" for one
//   quote; only blanks may follow the closing quote. A quote inside an
//   unquoted field, or a quoted field that never closes, is an error;
// - the first record is the header; every later record must have exactly as
//   many fields as the header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace movlex::csv {

struct Record {
    std::size_t line = 0;             // line (from 1) on which the record starts
    std::string text;                 // the record as written, without its line end
    std::vector<std::string> fields;  // field values, unquoted, blanks removed
};

struct Table {
    Record header;
    std::vector<Record> rows;

    // Indices of the columns whose header names `name`, ignoring ASCII case.
    std::vector<std::size_t> columns_named(std::string_view name) const;
};

struct Error {
    std::size_t line = 0;  // 0 when the error belongs to no line
    std::string message;

    // "line 7: message", or the message alone.
    std::string describe() const;
};

// Splits `text` into the header and the data rows.
std::variant<Table, Error> parse_table(std::string_view text);

// Reads the records of a file or pipe one at a time, holding only the bytes
// of the record being read: the same records, with the same rules and the
// same line numbers, as parse_table gives for the whole text. Empty lines are
// skipped; the caller takes the first record as the header.
class RecordStream {
public:
    explicit RecordStream(std::FILE* file);

    // The next record: true, or false at the end of the input, or an error.
    std::variant<bool, Error> next(Record& record);

    std::uint64_t bytes_read() const { return bytes_read_; }

private:
    std::size_t record_end();
    bool read_more();

    std::FILE* file_;
    std::string buffer_;
    std::size_t start_ = 0;  // where the next record begins in buffer_
    std::size_t scan_ = 0;   // how far the search for its end has come
    bool in_quotes_ = false;
    bool at_end_of_file_ = false;
    bool failed_ = false;
    std::size_t line_ = 1;
    std::uint64_t bytes_read_ = 0;
};

// The message for a row whose field count differs from the header's.
std::string field_count_mismatch(std::size_t found, std::size_t expected);

// A strict decimal number: an optional minus sign, digits with an optional
// fraction, an optional exponent ("12", "-0.5", ".5", "1e-3"). Nothing else
// is accepted: no leading plus, no hexadecimal, no surrounding text, and no
// "nan" or "inf" (nor any value too large for a double). On failure the
// result holds the reason.
std::variant<double, std::string> parse_number(std::string_view text);

// The numbers of one column, row by row; the first field that is no number
// gives an error that names its line and column.
std::variant<std::vector<double>, Error> column_values(const Table& table, std::size_t column);

// `text` made fit to quote in a one-line message: control characters escaped
// and long text shortened.
std::string printable(std::string_view text);

// printable(text) in single quotes.
std::string quoted(std::string_view text);

}  // namespace movlex::csv
