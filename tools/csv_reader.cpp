#include "csv_reader.hpp"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <cmath>
#include <optional>
#include <system_error>

namespace movlex::csv {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\n' || c == '\r'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool same_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

// Walks the text one record at a time, keeping the line count across line
// breaks inside quoted fields.
class RecordReader {
public:
    explicit RecordReader(std::string_view text, std::size_t first_line = 1) : text_(text), line_(first_line) {
        constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
        if (first_line == 1 && text_.starts_with(byte_order_mark)) position_ = byte_order_mark.size();
    }

    bool at_end() const { return position_ >= text_.size(); }
    std::size_t line() const { return line_; }

    // Reads the next record into `record`; an error stops the reading.
    std::optional<Error> next(Record& record) {
        record.line = line_;
        record.fields.clear();
        const std::size_t start = position_;
        for (;;) {
            std::string field;
            if (std::optional<Error> error = read_field(field)) return error;
            record.fields.push_back(std::move(field));
            if (position_ < text_.size() && text_[position_] == ',') {
                ++position_;
                continue;
            }
            break;  // at a line end or at the end of the text
        }
        record.text.assign(text_.substr(start, position_ - start));
        skip_line_end();
        return std::nullopt;
    }

private:
    std::optional<Error> read_field(std::string& field) {
        while (position_ < text_.size() && is_blank(text_[position_])) ++position_;
        if (position_ < text_.size() && text_[position_] == '"') return read_quoted(field);
        const std::size_t start = position_;
        while (position_ < text_.size() && text_[position_] != ',' && !is_line_end(text_[position_])) {
            if (text_[position_] == '"')
                return Error{line_, "a quote inside an unquoted field (quote the whole field)"};
            ++position_;
        }
        field.assign(trim_blanks(text_.substr(start, position_ - start)));
        return std::nullopt;
    }

    std::optional<Error> read_quoted(std::string& field) {
        const std::size_t opening_line = line_;
        ++position_;  // the opening quote
        for (;;) {
            if (position_ >= text_.size()) return Error{opening_line, "a quoted field is not closed"};
            const char c = text_[position_++];
            if (c == '"') {
                if (position_ < text_.size() && text_[position_] == '"') {
                    field.push_back('"');
                    ++position_;
                    continue;
                }
                break;
            }
            if (c == '\n' || (c == '\r' && (position_ >= text_.size() || text_[position_] != '\n'))) ++line_;
            field.push_back(c);
        }
        while (position_ < text_.size() && is_blank(text_[position_])) ++position_;
        if (position_ < text_.size() && text_[position_] != ',' && !is_line_end(text_[position_])) {
            std::string message = "text after the closing quote of a field";
            if (line_ != opening_line) message += " (the field opened on line " + std::to_string(opening_line) + ")";
            return Error{line_, message};
        }
        return std::nullopt;
    }

    // At a line end (LF, CRLF or a lone CR) or at the end of the text.
    void skip_line_end() {
        if (position_ >= text_.size()) return;
        const bool carriage_return = text_[position_] == '\r';
        ++position_;
        if (carriage_return && position_ < text_.size() && text_[position_] == '\n') ++position_;
        ++line_;
    }

    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t line_;
};

bool is_empty_line(const Record& record) { return record.fields.size() == 1 && trim_blanks(record.text).empty(); }

}  // namespace

std::string field_count_mismatch(std::size_t found, std::size_t expected) {
    return std::to_string(found) + (found == 1 ? " field" : " fields") + ", but the header has " +
           std::to_string(expected);
}

std::vector<std::size_t> Table::columns_named(std::string_view name) const {
    std::vector<std::size_t> columns;
    for (std::size_t c = 0; c < header.fields.size(); ++c)
        if (same_ignoring_case(header.fields[c], name)) columns.push_back(c);
    return columns;
}

std::string Error::describe() const { return line == 0 ? message : "line " + std::to_string(line) + ": " + message; }

std::variant<Table, Error> parse_table(std::string_view text) {
    RecordReader reader(text);
    Table table;
    bool have_header = false;
    Record record;
    while (!reader.at_end()) {
        if (std::optional<Error> error = reader.next(record)) return *error;
        if (is_empty_line(record)) continue;
        if (!have_header) {
            table.header = std::move(record);
            have_header = true;
            continue;
        }
        if (record.fields.size() != table.header.fields.size())
            return Error{record.line, field_count_mismatch(record.fields.size(), table.header.fields.size())};
        table.rows.push_back(std::move(record));
    }
    if (!have_header) return Error{0, "the input is empty (no header line)"};
    return table;
}

RecordStream::RecordStream(std::FILE* file) : file_(file) {}

// The end of the next record in the buffer (the index just past its line
// end), or npos while more bytes are needed to tell. A line end inside quotes
// belongs to a field.
std::size_t RecordStream::record_end() {
    for (; scan_ < buffer_.size(); ++scan_) {
        const char c = buffer_[scan_];
        if (c == '"') {
            in_quotes_ = !in_quotes_;
        } else if (!in_quotes_ && c == '\n') {
            return scan_ + 1;
        } else if (!in_quotes_ && c == '\r') {
            if (scan_ + 1 == buffer_.size() && !at_end_of_file_) return std::string::npos;  // CR or CRLF?
            return scan_ + (scan_ + 1 < buffer_.size() && buffer_[scan_ + 1] == '\n' ? 2 : 1);
        }
    }
    return at_end_of_file_ && start_ < buffer_.size() ? buffer_.size() : std::string::npos;
}

bool RecordStream::read_more() {
    if (start_ > 0 && start_ * 2 >= buffer_.size()) {
        buffer_.erase(0, start_);
        scan_ -= start_;
        start_ = 0;
    }
    // read() rather than fread(): from a pipe it returns what has arrived
    // instead of waiting for a full chunk.
    char chunk[1 << 16];
    ssize_t got;
    do {
        got = ::read(fileno(file_), chunk, sizeof chunk);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        failed_ = true;
        at_end_of_file_ = true;
        return false;
    }
    buffer_.append(chunk, std::size_t(got));
    bytes_read_ += std::uint64_t(got);
    if (got == 0) at_end_of_file_ = true;
    return got > 0;
}

std::variant<bool, Error> RecordStream::next(Record& record) {
    for (;;) {
        std::size_t end = record_end();
        while (end == std::string::npos) {
            if (at_end_of_file_) return false;
            read_more();
            if (failed_) return Error{0, std::string("the input could not be read: ") + std::strerror(errno)};
            end = record_end();
        }
        RecordReader reader(std::string_view(buffer_).substr(start_, end - start_), line_);
        if (std::optional<Error> error = reader.next(record)) return *error;
        line_ = reader.line();
        start_ = scan_ = end;
        in_quotes_ = false;
        if (is_empty_line(record)) continue;
        return true;
    }
}

std::variant<double, std::string> parse_number(std::string_view text) {
    if (text.empty()) return std::string("empty field where a number is needed");
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) return quoted(text) + " is out of the range of a double";
    if (error != std::errc() || stop != end) return quoted(text) + " is not a number";
    if (!std::isfinite(value)) return quoted(text) + " is not a finite number";
    return value;
}

std::variant<std::vector<double>, Error> column_values(const Table& table, std::size_t column) {
    std::vector<double> values;
    values.reserve(table.rows.size());
    for (const Record& row : table.rows) {
        std::variant<double, std::string> number = parse_number(row.fields[column]);
        if (const std::string* problem = std::get_if<std::string>(&number))
            return Error{row.line, "column " + std::to_string(column + 1) + " (" + printable(table.header.fields[column]) +
                                       "): " + *problem};
        values.push_back(std::get<double>(number));
    }
    return values;
}

std::string printable(std::string_view text) {
    constexpr std::size_t LIMIT = 40;
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (result.size() >= LIMIT) {
            result += "...";
            break;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n')
            result += "\\n";
        else if (c == '\r')
            result += "\\r";
        else if (c == '\t')
            result += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            constexpr char digits[] = "0123456789abcdef";
            result += "\\x";
            result.push_back(digits[c >> 4]);
            result.push_back(digits[c & 0xF]);
        } else
            result.push_back(char(c));
    }
    return result;
}

std::string quoted(std::string_view text) {
    std::string result(1, '\'');
    result += printable(text);
    result += '\'';
    return result;
}

}  // namespace movlex::csv
