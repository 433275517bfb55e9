// Fuzzes the command-line tool's CSV reader: any bytes must give a table or
// an error, never a crash, and a table must keep the promises the reader
// makes (every row as wide as the header, numbers finite).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "csv_reader.hpp"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "csv reader: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    using namespace movlex::csv;

    const auto number = parse_number(text);
    if (const double* value = std::get_if<double>(&number); value != nullptr && !std::isfinite(*value))
        fail("parse_number accepted a value that is not finite");

    const auto parsed = parse_table(text);
    if (const Error* error = std::get_if<Error>(&parsed)) {
        if (error->describe().empty()) fail("an error without a message");
        return 0;
    }
    const Table& table = std::get<Table>(parsed);
    for (const Record& row : table.rows) {
        if (row.fields.size() != table.header.fields.size()) fail("a row narrower or wider than the header");
        if (row.line <= table.header.line) fail("a row before its header");
    }
    for (std::size_t column = 0; column < table.header.fields.size(); ++column) {
        const auto values = column_values(table, column);
        if (const auto* numbers = std::get_if<std::vector<double>>(&values)) {
            if (numbers->size() != table.rows.size()) fail("a column with a value count other than the row count");
            for (double value : *numbers)
                if (!std::isfinite(value)) fail("a column value that is not finite");
        }
        table.columns_named(table.header.fields[column]);
    }
    return 0;
}
