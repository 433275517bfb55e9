// movlex: computes indicators of the library over OHLCV data in CSV form and
// writes the input rows back with one column per indicator output. It acts as
// a host of the library: MOVLEX_INIT first (unless --no-init), the
// indicators through their exported entries, MOVLEX_SHUTDOWN last.
//
// Every failure ends the program with a one-line message on standard error
// and a non-zero status, before anything is written: the whole output is
// built in memory first.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv_reader.hpp"
#include "indicator_request.hpp"
#include "movlex.h"

namespace movlex::cli {
namespace {

constexpr int EXIT_BAD_INPUT = 1;
constexpr int EXIT_BAD_COMMAND_LINE = 2;

struct Failure {
    int exit_code;
    std::string message;
};

[[noreturn]] void command_line_error(std::string message) { throw Failure{EXIT_BAD_COMMAND_LINE, std::move(message)}; }
[[noreturn]] void input_error(std::string message) { throw Failure{EXIT_BAD_INPUT, std::move(message)}; }

const char* const HELP = R"(Usage: movlex [OPTIONS] --indicator REQUEST [--indicator REQUEST ...] [FILE]
       movlex --list

Computes technical-analysis indicators over OHLCV price data in CSV form and
writes the input rows back, each followed by one column per indicator output.
An output is blank on the rows before its first computed value.

Input: FILE, or standard input when FILE is '-'. Without FILE, the bundled
synthetic sample (data/sample.csv, a few thousand daily bars) is used.
The first line is the header. Columns are found by header name, ignoring case:
date or time (kept, not interpreted), open, high, low, close, volume. Other
columns are kept as they are. Only the columns the indicators read must hold
numbers.

Options:
  -i, --indicator REQUEST
                        compute an indicator (repeat for more)
  -o, --output FILE     write to FILE, replaced only when the result is
                        complete (default: standard output)
      --no-init         skip MOVLEX_INIT: EMA, RSI, ADX and the other
                        recursive indicators then start without their
                        unstable period of 150 bars
      --list            list every indicator: inputs, parameters with kind,
                        default and range, output columns, and whether a
                        chart draws it over the price or in a panel
  -h, --help            show this help

REQUEST is NAME or NAME:KEY=VALUE,KEY=VALUE,... with these keys:
  a parameter name   its value; omitted parameters take their defaults.
                     Moving-average types are given by name (sma, ema, wma,
                     dema, tema, trima, kama, mama, t3) or code (0..8).
  an input name      the column that input reads. The input named 'input'
                     reads the close unless given; high, low, ... read the
                     column of their own name.
  as                 name of the output column (default: the indicator name
                     followed by the values given, e.g. sma_20_open).
Examples:
  movlex --indicator sma:period=20 --indicator wma prices.csv
  movlex -i sma:period=20,input=open,as=open_sma -i macd:slow_ma_type=ema -
  movlex -i bbands:period=20 -o result.csv prices.csv
An indicator with several outputs gets one column each: NAME_OUTPUT
(macd_macd, macd_signal, macd_hist, bbands_upper, ...).

CSV: comma-separated; LF, CRLF or lone CR line ends; blanks around fields are
ignored; fields may be quoted ("..." with "" for a quote, may hold commas and
line breaks); empty lines are skipped; every row has as many fields as the
header. Numbers: decimal or exponent notation ('12.5', '-3', '1e3'); a leading
'+', hexadecimal, 'nan', 'inf' and any other text are rejected, and so is an
empty field in a column an indicator reads. Results are written in full:
the shortest text that reads back as the same double (plain decimals, the
exponent form only for magnitudes below 1e-5 or from 1e15).

Exit status: 0 success, 1 bad input data or failed computation, 2 bad command
line.
)";

struct Options {
    std::vector<IndicatorRequest> requests;
    std::optional<std::string> input_path;
    std::optional<std::string> output_path;
    bool initialise = true;
    bool list = false;
    bool help = false;
};

IndicatorRequest request_from(const std::string& request) {
    std::variant<IndicatorRequest, std::string> parsed = parse_request(request);
    if (const std::string* problem = std::get_if<std::string>(&parsed)) command_line_error(*problem);
    return std::get<IndicatorRequest>(parsed);
}

// An option that takes a value: "-i VALUE", "--indicator VALUE" or
// "--indicator=VALUE"; nothing when argv[a] is another argument.
std::optional<std::string> value_option(int argc, char** argv, int& a, std::string_view short_name,
                                        std::string_view long_name) {
    const std::string_view argument = argv[a];
    std::string_view value;
    if (argument.starts_with(long_name) && argument.size() > long_name.size() && argument[long_name.size()] == '=')
        value = argument.substr(long_name.size() + 1);
    else if (argument != short_name && argument != long_name)
        return std::nullopt;
    else if (a + 1 < argc)
        value = argv[++a];
    if (value.empty()) command_line_error(std::string(long_name) + " needs a value");
    return std::string(value);
}

Options parse_options(int argc, char** argv) {
    Options options;
    bool only_files = false;
    for (int a = 1; a < argc; ++a) {
        const std::string argument = argv[a];
        if (only_files || argument == "-" || !argument.starts_with("-")) {
            if (options.input_path) command_line_error("more than one input file: " + csv::quoted(argument));
            options.input_path = argument;
        } else if (argument == "--") {
            only_files = true;
        } else if (std::optional<std::string> request = value_option(argc, argv, a, "-i", "--indicator")) {
            options.requests.push_back(request_from(*request));
        } else if (std::optional<std::string> path = value_option(argc, argv, a, "-o", "--output")) {
            options.output_path = *path;
        } else if (argument == "--no-init") {
            options.initialise = false;
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else {
            command_line_error("unknown option " + csv::quoted(argument) + " (movlex --help shows the options)");
        }
    }
    if (!options.help && !options.list && options.requests.empty())
        command_line_error("no indicator requested: add --indicator NAME (movlex --list shows them all)");
    return options;
}

// ---- Input -------------------------------------------------------------

struct Input {
    std::string name;  // for messages: the file name or "standard input"
    std::string text;
};

std::string read_all(std::FILE* stream, const std::string& name) {
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, got);
    if (std::ferror(stream)) input_error("cannot read " + name + ": " + std::strerror(errno));
    return text;
}

Input read_input(const Options& options) {
    if (options.input_path && *options.input_path == "-") return {"standard input", read_all(stdin, "standard input")};
    const std::string path = options.input_path ? *options.input_path : std::string(MOVLEX_SAMPLE_CSV);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        const std::string reason = std::strerror(errno);
        input_error(options.input_path ? "cannot open " + csv::printable(path) + ": " + reason
                                       : "cannot open the bundled sample " + path + ": " + reason);
    }
    std::string text;
    try {
        text = read_all(file, csv::printable(path));
    } catch (...) {
        std::fclose(file);
        throw;
    }
    std::fclose(file);
    return {csv::printable(path), std::move(text)};
}

// ---- Columns -----------------------------------------------------------

std::string header_summary(const csv::Table& table) {
    constexpr std::size_t SHOWN = 12;
    std::string names;
    const std::vector<std::string>& fields = table.header.fields;
    for (std::size_t c = 0; c < fields.size() && c < SHOWN; ++c) names += (c > 0 ? ", " : "") + csv::printable(fields[c]);
    if (fields.size() > SHOWN) names += ", ...";
    return names;
}

// The numbers of the columns the indicators read, each parsed once.
class PriceColumns {
public:
    PriceColumns(const Input& input, const csv::Table& table) : input_(input), table_(table) {}

    const std::vector<double>& values_for(const IndicatorRequest& request, int input_index) {
        const std::string& name = request.columns[input_index];
        const std::vector<std::size_t> matches = table_.columns_named(name);
        const std::string role = std::string("the input '") + request.info->inputs[input_index] + "' of " + request.label;
        if (matches.empty())
            input_error(input_.name + ": no column " + csv::quoted(name) + " for " + role +
                        "; the header has: " + header_summary(table_));
        if (matches.size() > 1)
            input_error(input_.name + ": column " + csv::quoted(name) + " for " + role + " appears " +
                        std::to_string(matches.size()) + " times in the header");
        auto found = parsed_.find(matches.front());
        if (found != parsed_.end()) return found->second;
        std::variant<std::vector<double>, csv::Error> values = csv::column_values(table_, matches.front());
        if (const csv::Error* error = std::get_if<csv::Error>(&values)) input_error(input_.name + ": " + error->describe());
        return parsed_.emplace(matches.front(), std::move(std::get<std::vector<double>>(values))).first->second;
    }

private:
    const Input& input_;
    const csv::Table& table_;
    std::map<std::size_t, std::vector<double>> parsed_;
};

// ---- Computing ---------------------------------------------------------

const char* code_name(RetCode code) {
    switch (code) {
        case RC_OK: return "RC_OK";
        case RC_NOT_INITIALIZED: return "RC_NOT_INITIALIZED";
        case RC_BAD_ARGUMENT: return "RC_BAD_ARGUMENT";
        case RC_NO_MEMORY: return "RC_NO_MEMORY";
        case RC_START_OUT_OF_RANGE: return "RC_START_OUT_OF_RANGE";
        case RC_END_OUT_OF_RANGE: return "RC_END_OUT_OF_RANGE";
        case RC_INTERNAL_ERROR: return "RC_INTERNAL_ERROR";
        default: return "an unknown code";
    }
}

// The values of one output column, for the rows begin .. begin + values - 1.
struct OutputColumn {
    std::string name;
    std::size_t begin = 0;
    std::vector<double> values;
};

void compute(const IndicatorRequest& request, PriceColumns& prices, std::size_t row_count,
             std::vector<OutputColumn>& columns) {
    const IndicatorInfo& info = *request.info;
    Request call;
    call.first_index = 0;
    call.last_index = static_cast<std::int32_t>(row_count - 1);
    for (int i = 0; i < info.input_count(); ++i) call.inputs[i] = prices.values_for(request, i).data();
    call.params = request.params;
    std::vector<std::vector<double>> outputs(info.output_count(), std::vector<double>(row_count));
    for (int o = 0; o < info.output_count(); ++o) call.outputs[o] = outputs[o].data();
    std::int32_t begin = 0, count = 0;
    call.out_begin = &begin;
    call.out_count = &count;
    const RetCode code = info.invoke(call);
    if (code != RC_OK)
        input_error(request.label + ": " + info.entry + " failed with " + code_name(code) + " (" + std::to_string(code) + ")");
    if (begin < 0 || count < 0 || std::size_t(begin) + std::size_t(count) > row_count)
        input_error(request.label + ": " + info.entry + " reported values outside the input rows");
    const std::vector<std::string> names = request.output_columns();
    for (int o = 0; o < info.output_count(); ++o) {
        outputs[o].resize(std::size_t(count));
        columns.push_back({names[o], std::size_t(begin), std::move(outputs[o])});
    }
}

// Every output column gets a name of its own (ignoring case, as columns are
// found), unlike any input column.
void check_column_names(const csv::Table& table, const std::vector<IndicatorRequest>& requests) {
    csv::Table columns;  // the header alone, growing by each output column
    columns.header = table.header;
    for (const IndicatorRequest& request : requests)
        for (const std::string& name : request.output_columns()) {
            if (!columns.columns_named(name).empty())
                command_line_error("output column '" + name + "' would appear twice in the header; name it with as=NAME");
            columns.header.fields.push_back(name);
        }
}

// ---- Output ------------------------------------------------------------

std::string render(const csv::Table& table, const std::vector<OutputColumn>& columns) {
    std::string text = table.header.text;
    for (const OutputColumn& column : columns) text += "," + column.name;
    text += "\n";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        text += table.rows[r].text;
        for (const OutputColumn& column : columns) {
            text += ',';
            if (r >= column.begin && r - column.begin < column.values.size())
                text += format_number(column.values[r - column.begin]);
        }
        text += '\n';
    }
    return text;
}

void write_output(const Options& options, const std::string& text) {
    if (!options.output_path) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
            input_error(std::string("cannot write standard output: ") + std::strerror(errno));
        return;
    }
    // Written beside the target and renamed over it once complete, so that
    // the target never holds a partial result.
    const std::string& path = *options.output_path;
    const std::string partial = path + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) input_error("cannot create " + csv::printable(partial) + ": " + std::strerror(errno));
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int saved_errno = errno;
    if (std::fclose(file) != 0 || !written || std::rename(partial.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(written ? errno : saved_errno);
        std::remove(partial.c_str());
        input_error("cannot write " + csv::printable(path) + ": " + reason);
    }
}

// Holds the library initialised for the lifetime of the computation.
class LibrarySession {
public:
    explicit LibrarySession(bool initialise) : initialised_(initialise) {
        if (initialised_) MOVLEX_INIT();
    }
    ~LibrarySession() {
        if (initialised_) MOVLEX_SHUTDOWN();
    }
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

private:
    bool initialised_;
};

int run(int argc, char** argv) {
    const Options options = parse_options(argc, argv);
    if (options.help) {
        std::fputs(HELP, stdout);
        return 0;
    }
    if (options.list) {
        std::fputs(describe_indicators().c_str(), stdout);
        return 0;
    }
    LibrarySession library(options.initialise);
    const Input input = read_input(options);
    std::variant<csv::Table, csv::Error> parsed = csv::parse_table(input.text);
    if (const csv::Error* error = std::get_if<csv::Error>(&parsed)) input_error(input.name + ": " + error->describe());
    const csv::Table& table = std::get<csv::Table>(parsed);
    if (table.rows.empty()) input_error(input.name + ": no data rows after the header");
    if (table.rows.size() > std::size_t(INT32_MAX)) input_error(input.name + ": more rows than an indicator can take");

    check_column_names(table, options.requests);

    PriceColumns prices(input, table);
    std::vector<OutputColumn> columns;
    for (const IndicatorRequest& request : options.requests) compute(request, prices, table.rows.size(), columns);
    write_output(options, render(table, columns));
    if (!options.input_path)
        std::fprintf(stderr, "movlex: no input file was given; read the bundled sample %s\n", MOVLEX_SAMPLE_CSV);
    return 0;
}

// The message on one line, whatever text it quotes.
std::string one_line(const std::string& message) {
    std::string line;
    for (char c : message) line += (c == '\n' || c == '\r') ? ' ' : c;
    return line;
}

}  // namespace
}  // namespace movlex::cli

int main(int argc, char** argv) {
    using namespace movlex::cli;
    try {
        return run(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "movlex: %s\n", one_line(failure.message).c_str());
        return failure.exit_code;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "movlex: out of memory\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "movlex: %s\n", one_line(error.what()).c_str());
    }
    return EXIT_BAD_INPUT;
}
