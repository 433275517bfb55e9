// The CSV reader: records and fields, line ends, quoting, the errors it
// reports with their lines, and strict numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "csv_reader.hpp"

namespace movlex::csv {
namespace {

using Fields = std::vector<std::string>;

Table parsed(std::string_view text) {
    std::variant<Table, Error> result = parse_table(text);
    if (const Error* error = std::get_if<Error>(&result)) ADD_FAILURE() << "unexpected error: " << error->describe();
    return std::holds_alternative<Table>(result) ? std::get<Table>(result) : Table{};
}

Error failure(std::string_view text) {
    std::variant<Table, Error> result = parse_table(text);
    if (!std::holds_alternative<Error>(result)) {
        ADD_FAILURE() << "no error for: " << printable(text);
        return {};
    }
    return std::get<Error>(result);
}

struct LayoutCase {
    const char* what;
    std::string text;
    Fields header;
    std::vector<Fields> rows;
    std::vector<std::size_t> lines;  // line of each row
};

TEST(CsvReader, RecordsFieldsAndLines) {
    const std::vector<LayoutCase> cases = {
        {"LF with a final line end", "a,b\n1,2\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
        {"no final line end", "a,b\n1,2\n3,4", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
        {"CRLF", "a,b\r\n1,2\r\n3,4\r\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
        {"lone CR", "a,b\r1,2\r3,4", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
        {"mixed line ends", "a,b\r\n1,2\n3,4\r5,6", {"a", "b"}, {{"1", "2"}, {"3", "4"}, {"5", "6"}}, {2, 3, 4}},
        {"byte-order mark", "\xEF\xBB\xBF" "a,b\n1,2\n", {"a", "b"}, {{"1", "2"}}, {2}},
        {"blanks around fields", " a ,\tb\t\n 1 , 2 \n", {"a", "b"}, {{"1", "2"}}, {2}},
        {"empty lines skipped", "\n\na,b\n\n1,2\n   \n\r\n3,4\n\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {5, 8}},
        {"empty fields", "a,b,c\n,,\n1,,3\n", {"a", "b", "c"}, {{"", "", ""}, {"1", "", "3"}}, {2, 3}},
        {"quoted comma and quote", "a,b\n\"x, y\",\"say \"\"hi\"\"\"\n", {"a", "b"}, {{"x, y", "say \"hi\""}}, {2}},
        {"blanks around a quoted field", "a,b\n  \"x\"  ,1\n", {"a", "b"}, {{"x", "1"}}, {2}},
        {"blanks inside quotes kept", "a,b\n\" x \",1\n", {"a", "b"}, {{" x ", "1"}}, {2}},
        {"line breaks inside quotes", "a,b\n\"one\ntwo\",1\n\"three\r\nfour\",2\n5,6\n", {"a", "b"},
         {{"one\ntwo", "1"}, {"three\r\nfour", "2"}, {"5", "6"}}, {2, 4, 6}},
        {"quoted empty field", "a\n\"\"\n", {"a"}, {{""}}, {2}},
        {"header only", "a,b\n", {"a", "b"}, {}, {}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Table table = parsed(c.text);
        EXPECT_EQ(table.header.fields, c.header);
        ASSERT_EQ(table.rows.size(), c.rows.size());
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            EXPECT_EQ(table.rows[r].fields, c.rows[r]) << "row " << r;
            EXPECT_EQ(table.rows[r].line, c.lines[r]) << "row " << r;
        }
    }
}

TEST(CsvReader, HeaderIsTheFirstRecordThatIsNoEmptyLine) {
    EXPECT_EQ(parsed("\n \n\"x\ny\",b\n1,2\n").header.line, 3u);
    EXPECT_EQ(parsed("\n \n\"x\ny\",b\n1,2\n").rows[0].line, 5u);
}

TEST(CsvReader, RecordTextIsKeptAsWrittenWithoutItsLineEnd) {
    const Table table = parsed("\xEF\xBB\xBF" "Date, Close ,Note\r\n2024-01-02, 1.50 ,\"a, \"\"b\"\"\"\r\n");
    EXPECT_EQ(table.header.text, "Date, Close ,Note");
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].text, "2024-01-02, 1.50 ,\"a, \"\"b\"\"\"");
    EXPECT_EQ(parsed("a\n\"x\r\ny\"\n").rows[0].text, "\"x\r\ny\"");
}

struct ErrorCase {
    const char* what;
    std::string text;
    std::size_t line;
    const char* message_part;
};

TEST(CsvReader, MalformedTextIsRejectedWithItsLine) {
    const std::vector<ErrorCase> cases = {
        {"empty text", "", 0, "empty"},
        {"only empty lines", "\n \r\n\t\n", 0, "empty"},
        {"byte-order mark only", "\xEF\xBB\xBF", 0, "empty"},
        {"short row", "a,b,c\n1,2,3\n1,2\n", 3, "2 fields, but the header has 3"},
        {"long row", "a,b\n1,2,3\n", 2, "3 fields, but the header has 2"},
        {"one field", "a,b\n1\n", 2, "1 field, but the header has 2"},
        {"unclosed quote", "a,b\n1,\"2\n3,4\n", 2, "not closed"},
        {"unclosed quote in the header", "\"a,b\n", 1, "not closed"},
        {"quote inside an unquoted field", "a,b\n1,2\"3\"\n", 2, "quote inside an unquoted field"},
        {"text after a closing quote", "a,b\n\"1\"x,2\n", 2, "after the closing quote"},
        {"line after a multi-line field", "a,b\n\"x\ny\",1\n\"p\r\nq\",2\n1\n", 6, "1 field"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Error error = failure(c.text);
        EXPECT_EQ(error.line, c.line);
        EXPECT_NE(error.message.find(c.message_part), std::string::npos) << error.message;
        EXPECT_EQ(error.describe().find('\n'), std::string::npos);
    }
}

TEST(CsvReader, ErrorDescriptionNamesTheLine) {
    EXPECT_EQ(failure("a,b\n1\n").describe(), "line 2: 1 field, but the header has 2");
    EXPECT_EQ(failure("").describe(), "the input is empty (no header line)");
}

TEST(CsvReader, ColumnsAreFoundByNameIgnoringCase) {
    const Table table = parsed("Date,CLOSE,close ,Open\n1,2,3,4\n");
    EXPECT_EQ(table.columns_named("date"), (std::vector<std::size_t>{0}));
    EXPECT_EQ(table.columns_named("Close"), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(table.columns_named("OPEN"), (std::vector<std::size_t>{3}));
    EXPECT_TRUE(table.columns_named("volume").empty());
}

TEST(CsvNumbers, AcceptsDecimalAndExponentNotation) {
    for (const char* text : {"0", "12", "-3", "-0", "0.5", ".5", "5.", "101.25", "1e3", "1E-3", "-2.5e+10",
                             "123456789012345678901234567890", "0.1000000000000000055511151231257827",
                             "2.2250738585072014e-308", "1.7976931348623157e308"}) {
        std::variant<double, std::string> number = parse_number(text);
        ASSERT_TRUE(std::holds_alternative<double>(number)) << text << ": " << std::get<std::string>(number);
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(std::get<double>(number), expected) << text;
        EXPECT_EQ(std::signbit(std::get<double>(number)), std::signbit(expected)) << text;
    }
}

TEST(CsvNumbers, RejectsEverythingElse) {
    struct Case {
        const char* text;
        const char* reason;
    };
    for (const Case& c : {Case{"", "empty"}, Case{"+1", "not a number"}, Case{"0x10", "not a number"},
                          Case{"1.5abc", "not a number"}, Case{"1,5", "not a number"}, Case{"abc", "not a number"},
                          Case{" 1", "not a number"}, Case{"1 ", "not a number"}, Case{"1e", "not a number"},
                          Case{"--1", "not a number"}, Case{"1..2", "not a number"}, Case{"$5", "not a number"},
                          Case{"nan", "not a finite number"}, Case{"NaN", "not a finite number"},
                          Case{"inf", "not a finite number"}, Case{"-inf", "not a finite number"},
                          Case{"infinity", "not a finite number"}, Case{"1e999", "out of the range"},
                          Case{"-1e400", "out of the range"}}) {
        std::variant<double, std::string> number = parse_number(c.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(number)) << c.text;
        EXPECT_NE(std::get<std::string>(number).find(c.reason), std::string::npos)
            << c.text << ": " << std::get<std::string>(number);
    }
}

TEST(CsvNumbers, ColumnValuesNameTheLineAndColumnOfABadField) {
    const Table table = parsed("date,close,volume\n\n2024-01-02,1.5,10\n2024-01-03,2.5x,20\n");
    std::variant<std::vector<double>, Error> volume = column_values(table, 2);
    ASSERT_TRUE(std::holds_alternative<std::vector<double>>(volume));
    EXPECT_EQ(std::get<std::vector<double>>(volume), (std::vector<double>{10, 20}));

    std::variant<std::vector<double>, Error> close = column_values(table, 1);
    ASSERT_TRUE(std::holds_alternative<Error>(close));
    EXPECT_EQ(std::get<Error>(close).describe(), "line 4: column 2 (close): '2.5x' is not a number");
}

TEST(CsvText, PrintableEscapesControlCharactersAndShortensLongText) {
    EXPECT_EQ(printable("a\nb\r\tc\x01"), "a\\nb\\r\\tc\\x01");
    EXPECT_EQ(printable(std::string(100, 'x')), std::string(40, 'x') + "...");
    EXPECT_EQ(quoted("x\ny"), "'x\\ny'");
}

// Random bytes from the characters that matter to the reader: whatever the
// text, the reader returns a table whose rows all match the header, or an
// error on one line.
TEST(CsvReader, ArbitraryTextGivesATableOrAnError) {
    const std::string alphabet = ",\"\r\n \t1a.\xEF\xBB\xBF";
    std::uint64_t state = 12345;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const std::size_t length = (state >> 40) % 24;
        for (std::size_t i = 0; i < length; ++i) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            text.push_back(alphabet[(state >> 33) % alphabet.size()]);
        }
        std::variant<Table, Error> result = parse_table(text);
        if (const Table* table = std::get_if<Table>(&result)) {
            std::size_t previous_line = table->header.line;
            for (const Record& row : table->rows) {
                ASSERT_EQ(row.fields.size(), table->header.fields.size()) << printable(text);
                ASSERT_GT(row.line, previous_line) << printable(text);
                previous_line = row.line;
            }
        } else {
            ASSERT_EQ(std::get<Error>(result).describe().find('\n'), std::string::npos);
        }
    }
}

// Fields holding commas, quotes, blanks and line breaks survive quoting.
TEST(CsvReader, QuotedFieldsReadBackAsWritten) {
    const Fields values = {"plain", "with, comma", "say \"hi\"", " padded ", "two\nlines", "cr\r\nlf", "", "\"", ",,"};
    std::string text = "first,second,third\n";
    std::vector<Fields> expected;
    for (std::size_t r = 0; r < values.size(); ++r) {
        Fields row = {values[r], values[(r + 3) % values.size()], std::to_string(r)};
        for (std::size_t f = 0; f < row.size(); ++f) {
            std::string quoted_field = "\"";
            for (char c : row[f]) quoted_field += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += (f > 0 ? "," : "") + quoted_field + "\"";
        }
        text += "\r\n";
        expected.push_back(row);
    }
    const Table table = parsed(text);
    ASSERT_EQ(table.rows.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) EXPECT_EQ(table.rows[r].fields, expected[r]);
}

}  // namespace
}  // namespace movlex::csv
