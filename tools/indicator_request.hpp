// What the command line asks of one indicator: `NAME[:KEY=VALUE,...]`, read
// against the indicator table. Keys are the indicator's parameter names, its
// input names (to read that input from another column) and `as` (the name of
// the output column).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "api/indicator_table.hpp"

namespace movlex::cli {

struct IndicatorRequest {
    const IndicatorInfo* info = nullptr;
    std::array<double, MAX_PARAMS> params{};       // every parameter, defaults filled in
    std::array<std::string, MAX_INPUTS> columns;  // the column each input reads
    std::string label;                            // base name of the output columns

    // One column name per output: the label alone for a single output,
    // otherwise the label and the output's name ("bbands_upper").
    std::vector<std::string> output_columns() const;
};

// The column an input reads unless the request names another: "input" reads
// the close, every other input the column of its own name.
std::string default_column(std::string_view input_name);

// Reads one request; the error is a one-line message.
std::variant<IndicatorRequest, std::string> parse_request(std::string_view text);

// Moving-average types by name ("sma", ..., "t3") or by code ("0".."8").
std::optional<int> parse_ma_type(std::string_view text);
const char* ma_type_name(int code);
// "sma, ema, ..., t3" and "0..8", from the library's table of names.
std::string ma_type_name_list();
std::string ma_type_code_range();

// The text `movlex --list` prints: every indicator of the table with its
// inputs, parameters (kind, default, range) and output columns.
std::string describe_indicators();

// Shortest text that reads back as the same double ("20", "0.02", "3e+37");
// empty for a NaN, which the output writes as a missing value.
std::string format_number(double value);

}  // namespace movlex::cli
