// movlex: computes indicators of the library over OHLCV data in CSV form and
// writes the input rows back with one column per indicator output. It acts as
// a host of the library: MOVLEX_INIT first (unless --no-init), the
// indicators through their exported entries, MOVLEX_SHUTDOWN last.
//
// Every failure ends the program with a one-line message on standard error
// and a non-zero status. By default nothing is written before then: the
// whole output is built in memory first. With --stream (or --by) each row is
// written once computed, so a failure can come after earlier rows.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <sys/stat.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv_reader.hpp"
#include "api/stream.hpp"
#include "indicator_request.hpp"
#include "movlex.h"

#if defined(_WIN32)
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace movlex::cli {
namespace {

using movlex::Stream;

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
An output is blank on the rows before its first computed value and wherever
a result is not a number (NaN).

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
      --stream          compute through streams, one row at a time: each row
                        is written as soon as it is read (the same output
                        as without --stream), so an unbounded standard input
                        works: tail -f prices.csv | movlex --stream -i rsi -
      --by COLUMN       compute every indicator separately for each value of
                        COLUMN (a symbol, say): rows of different values may
                        be interleaved and are kept apart; rows are written
                        back in their input order. Implies --stream. Memory
                        grows with the number of values and the periods, not
                        with the length of the input.
  -q, --quiet           no progress on standard error (shown with --stream
                        or --by on a terminal)
      --scan[=SETTINGS] every candlestick pattern in one pass, written as a
                        table of those that fired: row, date, pattern, signal
                        (SETTINGS: KEY=VALUE,... of the patterns' settings)
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
    bool stream = false;
    bool quiet = false;
    std::optional<std::string> by_column;
    std::optional<IndicatorRequest> scan;  // --scan: every candlestick pattern, with these settings
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
        } else if (std::optional<std::string> column = value_option(argc, argv, a, "--by", "--by")) {
            options.by_column = *column;
            options.stream = true;
        } else if (argument == "--stream") {
            options.stream = true;
        } else if (argument == "-q" || argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--no-init") {
            options.initialise = false;
        } else if (argument == "--scan" || argument.starts_with("--scan=")) {
            // The settings are every pattern's parameters; the first pattern's request reads them.
            const std::string settings = argument == "--scan" ? "" : argument.substr(7);
            options.scan = request_from(std::string(movlex_candle_pattern_name(0)).insert(0, "candle_") +
                                        (settings.empty() ? "" : ":" + settings));
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else {
            command_line_error("unknown option " + csv::quoted(argument) + " (movlex --help shows the options)");
        }
    }
    if (options.scan && (!options.requests.empty() || options.stream))
        command_line_error("--scan takes no --indicator, --stream or --by");
    if (!options.help && !options.list && !options.scan && options.requests.empty())
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

// The bundled sample lies at MOVLEX_SAMPLE_FROM_PROGRAM from the directory of
// this program, in the build tree as where it is installed.
std::string bundled_sample() {
    std::filesystem::path program;
#if defined(_WIN32)
    std::wstring name(32768, L'\0');
    name.resize(GetModuleFileNameW(nullptr, name.data(), DWORD(name.size())));
    program = name;
#else
    std::error_code ignored;
    program = std::filesystem::read_symlink("/proc/self/exe", ignored);
#endif
    return (program.parent_path() / MOVLEX_SAMPLE_FROM_PROGRAM).lexically_normal().string();
}

Input read_input(const Options& options) {
    if (options.input_path && *options.input_path == "-") return {"standard input", read_all(stdin, "standard input")};
    const std::string path = options.input_path ? *options.input_path : bundled_sample();
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

// The column an input of a request reads, found by name in the header.
std::size_t column_for(const Input& input, const csv::Table& table, const IndicatorRequest& request,
                       int input_index) {
    const std::string& name = request.columns[input_index];
    const std::vector<std::size_t> matches = table.columns_named(name);
    const std::string role = std::string("the input '") + request.info->inputs[input_index] + "' of " + request.label;
    if (matches.empty())
        input_error(input.name + ": no column " + csv::quoted(name) + " for " + role +
                    "; the header has: " + header_summary(table));
    if (matches.size() > 1)
        input_error(input.name + ": column " + csv::quoted(name) + " for " + role + " appears " +
                    std::to_string(matches.size()) + " times in the header");
    return matches.front();
}

// The numbers of the columns the indicators read, each parsed once.
class PriceColumns {
public:
    PriceColumns(const Input& input, const csv::Table& table) : input_(input), table_(table) {}

    const std::vector<double>& values_for(const IndicatorRequest& request, int input_index) {
        const std::size_t column = column_for(input_, table_, request, input_index);
        auto found = parsed_.find(column);
        if (found != parsed_.end()) return found->second;
        std::variant<std::vector<double>, csv::Error> values = csv::column_values(table_, column);
        if (const csv::Error* error = std::get_if<csv::Error>(&values)) input_error(input_.name + ": " + error->describe());
        return parsed_.emplace(column, std::move(std::get<std::vector<double>>(values))).first->second;
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

// ---- Streaming ---------------------------------------------------------
//
// With --stream or --by the rows are read, computed and written one at a time
// through the library's streams: the same output as the batch computation,
// row by row, in memory that does not grow with the input.

// Standard output, or a partial file renamed over the target once complete.
class RowWriter {
public:
    RowWriter(const Options& options, bool flush_every_row) : flush_every_row_(flush_every_row) {
        if (!options.output_path) {
            file_ = stdout;
            name_ = "standard output";
            return;
        }
        path_ = *options.output_path;
        partial_ = path_ + ".partial";
        name_ = csv::printable(path_);
        file_ = std::fopen(partial_.c_str(), "wb");
        if (file_ == nullptr) input_error("cannot create " + csv::printable(partial_) + ": " + std::strerror(errno));
    }
    ~RowWriter() {
        if (!partial_.empty() && file_ != nullptr) {
            std::fclose(file_);
            std::remove(partial_.c_str());
        }
    }
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void write(const std::string& line) {
        if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || (flush_every_row_ && std::fflush(file_) != 0))
            fail();
    }

    void finish() {
        if (std::fflush(file_) != 0) fail();
        if (partial_.empty()) return;
        std::FILE* file = file_;
        file_ = nullptr;
        if (std::fclose(file) != 0 || std::rename(partial_.c_str(), path_.c_str()) != 0) {
            const std::string reason = std::strerror(errno);
            std::remove(partial_.c_str());
            input_error("cannot write " + name_ + ": " + reason);
        }
    }

private:
    [[noreturn]] void fail() { input_error("cannot write " + name_ + ": " + std::strerror(errno)); }

    std::FILE* file_ = nullptr;
    std::string name_, path_, partial_;
    bool flush_every_row_;
};

// Bytes read, rows per second and groups seen, on standard error at most four
// times a second, when it is a terminal and --quiet is not given.
class Progress {
public:
    Progress(bool shown, std::uint64_t total_bytes) : shown_(shown), total_bytes_(total_bytes) {}
    ~Progress() {
        if (drawn_) std::fputs("\r\033[K", stderr);
    }

    void update(std::uint64_t bytes, std::uint64_t rows, std::size_t groups) {
        if (!shown_ || (rows & 1023) != 0) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(250)) return;
        last_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        std::string text = "\rmovlex: " + megabytes(bytes);
        if (total_bytes_ > 0) text += " of " + megabytes(total_bytes_);
        text += ", " + std::to_string(std::uint64_t(double(rows) / (seconds > 0 ? seconds : 1))) + " rows/s";
        if (groups > 1) text += ", " + std::to_string(groups) + " groups";
        std::fputs((text + "\033[K").c_str(), stderr);
        drawn_ = true;
    }

private:
    static std::string megabytes(std::uint64_t bytes) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / 1e6);
        return text;
    }

    bool shown_;
    std::uint64_t total_bytes_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_ = start_;
};

// The streams of one group: one per request, in request order.
using StreamSet = std::vector<std::unique_ptr<Stream>>;

StreamSet make_streams(const std::vector<IndicatorRequest>& requests) {
    StreamSet streams;
    for (const IndicatorRequest& request : requests) {
        const IndicatorInfo& info = *request.info;
        std::unique_ptr<Stream> stream;
        const RetCode code = make_stream(info, request.params.data(), info.param_count(), stream);
        if (code != RC_OK)
            input_error(request.label + ": " + info.entry + " failed with " + code_name(code) + " (" +
                        std::to_string(code) + ")");
        streams.push_back(std::move(stream));
    }
    return streams;
}

StreamSet copy_streams(const StreamSet& prototype) {
    StreamSet streams;
    for (const auto& stream : prototype) streams.push_back(stream->clone());
    return streams;
}

struct OpenedInput {
    std::FILE* file = nullptr;
    std::string name;
    bool regular = false;          // a regular file: its size is known
    std::uint64_t size = 0;
    ~OpenedInput() {
        if (file != nullptr && file != stdin) std::fclose(file);
    }
};

void open_input(const Options& options, OpenedInput& input) {
    if (options.input_path && *options.input_path == "-") {
        input.file = stdin;
        input.name = "standard input";
    } else {
        const std::string path = options.input_path ? *options.input_path : bundled_sample();
        input.file = std::fopen(path.c_str(), "rb");
        if (input.file == nullptr) {
            const std::string reason = std::strerror(errno);
            input_error(options.input_path ? "cannot open " + csv::printable(path) + ": " + reason
                                           : "cannot open the bundled sample " + path + ": " + reason);
        }
        input.name = csv::printable(path);
    }
    struct stat status {};
    if (fstat(fileno(input.file), &status) == 0 && S_ISREG(status.st_mode)) {
        input.regular = true;
        input.size = std::uint64_t(status.st_size);
    }
}

void run_streaming(const Options& options) {
    OpenedInput opened;
    open_input(options, opened);
    const Input input{opened.name, {}};
    csv::RecordStream records(opened.file);
    auto next_record = [&](csv::Record& record) {
        std::variant<bool, csv::Error> got = records.next(record);
        if (const csv::Error* error = std::get_if<csv::Error>(&got)) input_error(input.name + ": " + error->describe());
        return std::get<bool>(got);
    };

    csv::Table table;  // the header alone: columns are found in it
    if (!next_record(table.header)) input_error(input.name + ": the input is empty (no header line)");
    check_column_names(table, options.requests);

    std::vector<std::vector<std::size_t>> columns;  // per request, per input
    for (const IndicatorRequest& request : options.requests) {
        columns.emplace_back();
        for (int k = 0; k < request.info->input_count(); ++k)
            columns.back().push_back(column_for(input, table, request, k));
    }
    std::optional<std::size_t> by;
    if (options.by_column) {
        const std::vector<std::size_t> matches = table.columns_named(*options.by_column);
        if (matches.size() != 1)
            input_error(input.name + ": " +
                        (matches.empty() ? "no column " + csv::quoted(*options.by_column) + " for --by; the header has: " +
                                               header_summary(table)
                                         : "column " + csv::quoted(*options.by_column) + " for --by appears " +
                                               std::to_string(matches.size()) + " times in the header"));
        by = matches.front();
    }

    const StreamSet prototype = make_streams(options.requests);
    std::map<std::string, StreamSet, std::less<>> groups;
    StreamSet single = copy_streams(prototype);

    std::string header_line = table.header.text;
    for (const IndicatorRequest& request : options.requests)
        for (const std::string& name : request.output_columns()) header_line += "," + name;
    header_line += "\n";

    RowWriter writer(options, !opened.regular);
    Progress progress(!options.quiet && isatty(STDERR_FILENO), opened.size);
    csv::Record row;
    std::uint64_t rows = 0;
    std::string line;
    while (next_record(row)) {
        if (row.fields.size() != table.header.fields.size())
            input_error(input.name + ": " +
                        csv::Error{row.line, csv::field_count_mismatch(row.fields.size(), table.header.fields.size())}
                            .describe());
        if (rows++ == 0) writer.write(header_line);
        StreamSet* streams = &single;
        if (by) {
            auto found = groups.find(row.fields[*by]);
            if (found == groups.end()) found = groups.emplace(row.fields[*by], copy_streams(prototype)).first;
            streams = &found->second;
        }
        line = row.text;
        for (std::size_t r = 0; r < options.requests.size(); ++r) {
            double bar[MAX_INPUTS];
            for (std::size_t k = 0; k < columns[r].size(); ++k) {
                const std::size_t column = columns[r][k];
                std::variant<double, std::string> number = csv::parse_number(row.fields[column]);
                if (const std::string* problem = std::get_if<std::string>(&number))
                    input_error(input.name + ": " +
                                csv::Error{row.line, "column " + std::to_string(column + 1) + " (" +
                                                         csv::printable(table.header.fields[column]) + "): " + *problem}
                                    .describe());
                bar[k] = std::get<double>(number);
            }
            double out[MAX_OUTPUTS];
            const bool has_value = (*streams)[r]->update(bar, out);
            for (int o = 0; o < options.requests[r].info->output_count(); ++o) {
                line += ',';
                if (has_value) line += format_number(out[o]);
            }
        }
        line += '\n';
        writer.write(line);
        progress.update(records.bytes_read(), rows, by ? groups.size() : 1);
    }
    if (rows == 0) input_error(input.name + ": no data rows after the header");
    writer.finish();
}

// --scan: every candlestick pattern over the prices in one pass, written as
// a long table of the patterns that fired: the row (1 for the first data
// row), the row's date or time when the input has one, the pattern, its
// signal (docs/patterns.md).
void run_scan(const Options& options, const Input& input, const csv::Table& table) {
    const IndicatorRequest& request = *options.scan;
    PriceColumns prices(input, table);
    const std::vector<double>* ohlc[4];
    for (int k = 0; k < 4; ++k) ohlc[k] = &prices.values_for(request, k);
    const std::int32_t bars = std::int32_t(table.rows.size());
    const std::size_t patterns = std::size_t(movlex_candle_pattern_count());
    std::vector<std::int8_t> signals(std::size_t(bars) * patterns);
    const auto& p = request.params;
    const MovlexCandleSettings settings{std::int32_t(p[0]), p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]};
    std::int32_t begin = 0, count = 0;
    const RetCode code = movlex_candle_scan(0, bars - 1, ohlc[0]->data(), ohlc[1]->data(), ohlc[2]->data(),
                                            ohlc[3]->data(), &settings, &begin, &count, signals.data());
    if (code != RC_OK) throw Failure{EXIT_BAD_INPUT, std::string("the scan failed with ") + code_name(code)};
    std::optional<std::size_t> when;
    for (const char* name : {"date", "time"})
        if (!when && table.columns_named(name).size() == 1) when = table.columns_named(name).front();
    std::string text = std::string("row,") + (when ? table.header.fields[*when] + "," : "") + "pattern,signal\n";
    for (std::int32_t k = 0; k < count; ++k)
        for (std::size_t j = 0; j < patterns; ++j)
            if (const int signal = signals[std::size_t(k) * patterns + j]; signal != 0) {
                const std::size_t row = std::size_t(begin + k);
                text += std::to_string(row + 1) + "," + (when ? table.rows[row].fields[*when] + "," : "") +
                        movlex_candle_pattern_name(std::int32_t(j)) + "," + std::to_string(signal) + "\n";
            }
    write_output(options, text);
}

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
    if (options.stream) {
        run_streaming(options);
        if (!options.input_path)
            std::fprintf(stderr, "movlex: no input file was given; read the bundled sample %s\n",
                         bundled_sample().c_str());
        return 0;
    }
    const Input input = read_input(options);
    std::variant<csv::Table, csv::Error> parsed = csv::parse_table(input.text);
    if (const csv::Error* error = std::get_if<csv::Error>(&parsed)) input_error(input.name + ": " + error->describe());
    const csv::Table& table = std::get<csv::Table>(parsed);
    if (table.rows.empty()) input_error(input.name + ": no data rows after the header");
    if (table.rows.size() > std::size_t(INT32_MAX)) input_error(input.name + ": more rows than an indicator can take");

    if (options.scan) {
        run_scan(options, input, table);
        return 0;
    }
    check_column_names(table, options.requests);

    PriceColumns prices(input, table);
    std::vector<OutputColumn> columns;
    for (const IndicatorRequest& request : options.requests) compute(request, prices, table.rows.size(), columns);
    write_output(options, render(table, columns));
    if (!options.input_path)
        std::fprintf(stderr, "movlex: no input file was given; read the bundled sample %s\n", input.name.c_str());
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
