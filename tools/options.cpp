#include "options.hpp"

#include <CLI/CLI.hpp>

#include <string_view>

#include "csv_reader.hpp"
#include "run_failure.hpp"

namespace movlex::cli {

namespace {

constexpr std::size_t LINE_WIDTH = 79;
constexpr std::size_t DESCRIPTION_COLUMN = 24;  // where the options' descriptions start

// `text` broken into lines of at most LINE_WIDTH columns at spaces, every
// line indented by `indent` but the first, which follows `lead` (padded to
// `indent`, or on a line of its own when longer).
std::string wrapped(std::string_view text, std::size_t indent, std::string lead = {}) {
    std::string result;
    std::string line = lead;
    if (line.size() + 2 > indent && !line.empty()) {  // two blanks at least between the two
        result += line + "\n";
        line.clear();
    }
    line.resize(indent, ' ');
    std::size_t words = 0;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
        if (word.empty()) continue;
        if (words > 0 && line.size() + 1 + word.size() > LINE_WIDTH) {
            result += line + "\n";
            line.assign(indent, ' ');
            words = 0;
        }
        if (words++ > 0) line += ' ';
        line += word;
    }
    return result + line + "\n";
}

std::string paragraph(std::string_view text) { return wrapped(text, 0); }

std::string ma_type_choices() { return "(" + ma_type_name_list() + ") or code (" + ma_type_code_range() + ")"; }

const char* const USAGE =
    "Usage: movlex [OPTIONS] --indicator REQUEST [--indicator REQUEST ...] [FILE]\n"
    "  or:  movlex --list\n";

// Everything the help says before the options: what the tool does, its
// input, the requests, the CSV it reads and writes, and its exit status.
std::string description() {
    constexpr std::size_t KEY_COLUMN = 16;
    return paragraph("Computes technical-analysis indicators over OHLCV price data in CSV form and writes the input "
                     "rows back, each followed by one column per indicator output. An output is blank on the rows "
                     "before its first computed value and wherever a result is not a number (NaN).") +
           "\n" +
           paragraph("Input: FILE, or standard input when FILE is '-'. Without FILE, the bundled synthetic sample "
                     "(data/sample.csv, a few thousand daily bars) is used. The first line is the header. Columns are "
                     "found by header name, ignoring case: date or time (kept, not interpreted), open, high, low, "
                     "close, volume. Other columns are kept as they are. Only the columns the indicators read must "
                     "hold numbers.") +
           "\nRequests:\n" + wrapped("REQUEST is NAME or NAME:KEY=VALUE,KEY=VALUE,... where KEY is", 2) + "\n" +
           wrapped("its value; omitted parameters take their defaults. Moving-average types are given by name " +
                       ma_type_choices() + ".",
                   KEY_COLUMN, "  a parameter") +
           wrapped("the column that input reads. The input named 'input' reads the close unless given; high, low, "
                   "... read the column of their own name.",
                   KEY_COLUMN, "  an input") +
           wrapped("name of the output column (default: the indicator name followed by the values given, e.g. "
                   "sma_20_open).",
                   KEY_COLUMN, "  as") +
           "\n" + wrapped("An indicator with several outputs gets one column each: NAME_OUTPUT (macd_macd, macd_signal, "
                   "macd_hist, bbands_upper, ...).",
                   2) +
           "\nCSV:\n" +
           wrapped("comma-separated; LF, CRLF or lone CR line ends; blanks around fields are ignored; fields may be "
                   "quoted (\"...\" with \"\" for a quote, may hold commas and line breaks); empty lines are skipped; "
                   "every row has as many fields as the header. Numbers: decimal or exponent notation ('12.5', '-3', "
                   "'1e3'); a leading '+', hexadecimal, 'nan', 'inf' and any other text are rejected, and so is an "
                   "empty field in a column an indicator reads. Results are written in full: the shortest text that "
                   "reads back as the same double (plain decimals, the exponent form only for magnitudes below 1e-5 "
                   "or from 1e15).",
                   2) +
           "\n" + paragraph("Exit status: 0 success, 1 bad input data or failed computation, 2 bad command line.");
}

std::string footer() {
    return "Examples:\n"
           "  movlex --indicator sma:period=20 --indicator wma prices.csv\n"
           "\n"
           "  movlex -i sma:period=20,input=open,as=open_sma -i macd:slow_ma_type=ema -\n"
           "\n"
           "  movlex -i bbands:period=20 -o result.csv prices.csv\n";
}

// The help's layout: usage, description, one entry per option in the order
// declared ("  -i, --indicator REQUEST", its description wrapped beside or
// below), then the footer.
class HelpLayout : public CLI::FormatterBase {
public:
    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const override {
        std::string text = std::string(USAGE) + "\n" + app->get_description() + "\nOptions:\n";
        for (const CLI::Option* option : app->get_options()) {
            if (option->get_positional()) continue;
            const std::vector<std::string>& shorts = option->get_snames();
            std::string names = shorts.empty() ? "      " : "  -" + shorts.front() + ", ";
            names += "--" + option->get_lnames().front();
            const std::string value = option->get_type_name();
            if (option->get_expected_max() > 0)
                names += " " + value;
            else if (!value.empty())
                names += "[=" + value + "]";
            text += wrapped(option->get_description(), DESCRIPTION_COLUMN, names);
        }
        return text + "\n" + app->get_footer();
    }
};

struct Arguments {
    std::vector<std::string> requests;
    std::string output, by, scan, file;
};

// Every option with its help. `arguments` and `options` receive the values.
void declare(CLI::App& app, Arguments& arguments, Options& options) {
    app.formatter(std::make_shared<HelpLayout>());
    app.description(description());
    app.footer(footer());
    app.allow_extras();  // unknown options and surplus files are reported below, in this tool's words
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("-i,--indicator", arguments.requests, "compute an indicator (repeat for more)")
        ->type_name("REQUEST")
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("-o,--output", arguments.output,
                   "write to FILE, replaced only when the result is complete (default: standard output)")
        ->type_name("FILE")
        ->allow_extra_args(false);
    app.add_flag("!--no-init", options.initialise,
                 "skip MOVLEX_INIT: EMA, RSI, ADX and the other recursive indicators then start without their "
                 "unstable period of 150 bars");
    app.add_flag("--stream", options.stream,
                 "compute through streams, one row at a time: each row is written as soon as it is read (the same "
                 "output as without --stream), so an unbounded standard input works: tail -f prices.csv | movlex "
                 "--stream -i rsi -");
    app.add_option("--by", arguments.by,
                   "compute every indicator separately for each value of COLUMN (a symbol, say): rows of different "
                   "values may be interleaved and are kept apart; rows are written back in their input order. "
                   "Implies --stream. Memory grows with the number of values and the periods, not with the length "
                   "of the input.")
        ->type_name("COLUMN")
        ->allow_extra_args(false);
    app.add_flag("-q,--quiet", options.quiet,
                 "no progress on standard error (shown with --stream or --by on a terminal)");
    app.add_flag("--scan{}", arguments.scan,
                 "every candlestick pattern in one pass, written as a table of those that fired: row, date, "
                 "pattern, signal (SETTINGS: KEY=VALUE,... of the patterns' settings)")
        ->type_name("SETTINGS");  // a flag, whose value can only follow '='
    app.add_flag("--list", options.list,
                 "list every indicator: inputs, parameters with kind, default and range, output columns, and "
                 "whether a chart draws it over the price or in a panel");
    app.set_version_flag("--version", version_text(), "show the version");
    app.set_help_flag("-h,--help", "show this help");
    app.add_option("FILE", arguments.file)->allow_extra_args(false);
}

IndicatorRequest request_from(const std::string& request) {
    std::variant<IndicatorRequest, std::string> parsed = parse_request(request);
    if (const std::string* problem = std::get_if<std::string>(&parsed)) command_line_error(*problem);
    return std::get<IndicatorRequest>(parsed);
}

// "--output=" gives no value; the parser would take the next argument instead.
void refuse_empty_values(int argc, char** argv) {
    for (int a = 1; a < argc; ++a) {
        const std::string_view argument = argv[a];
        if (argument == "--") return;
        if (argument.starts_with("--") && argument.ends_with("=") && argument.find('=') == argument.size() - 1)
            command_line_error(std::string(argument.substr(0, argument.size() - 1)) + " needs a value");
    }
}

// The parser's own message, in this tool's words where it has them.
[[noreturn]] void parse_failure(const CLI::ParseError& error) {
    const std::string message = error.what();
    if (error.get_name() == "ArgumentMismatch" && message.starts_with("-") && message.find(':') != std::string::npos)
        command_line_error(message.substr(0, message.find(':')) + " needs a value");
    command_line_error(message + " (movlex --help shows the options)");
}

}  // namespace

Options parse_options(int argc, char** argv) {
    Options options;
    Arguments arguments;
    CLI::App app{"", "movlex"};
    declare(app, arguments, options);
    refuse_empty_values(argc, argv);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        options.shown = app.help();
        return options;
    } catch (const CLI::CallForVersion&) {
        options.shown = version_text() + "\n";
        return options;
    } catch (const CLI::ParseError& error) {
        parse_failure(error);
    }
    const auto given = [&](const char* name) { return app.get_option(name)->count() > 0; };
    bool only_files = false;
    for (const std::string& extra : app.remaining()) {
        if (extra == "--" && !only_files) {
            only_files = true;
        } else if (!only_files && extra.starts_with("-") && extra != "-") {
            command_line_error("unknown option " + csv::quoted(extra) + " (movlex --help shows the options)");
        } else {
            command_line_error("more than one input file: " + csv::quoted(extra));
        }
    }
    for (const std::string& request : arguments.requests) {
        if (request.empty()) command_line_error("--indicator needs a value");
        options.requests.push_back(request_from(request));
    }
    if (given("FILE")) options.input_path = arguments.file;
    if (given("--output") && arguments.output.empty()) command_line_error("--output needs a value");
    if (given("--by") && arguments.by.empty()) command_line_error("--by needs a value");
    if (given("--output")) options.output_path = arguments.output;
    if (given("--by")) {
        options.by_column = arguments.by;
        options.stream = true;
    }
    if (given("--scan"))  // the settings are every pattern's; the first pattern's request reads them
        options.scan = request_from(std::string("candle_") + movlex_candle_pattern_name(0) +
                                    (arguments.scan.empty() ? "" : ":" + arguments.scan));
    if (options.scan && (!options.requests.empty() || options.stream))
        command_line_error("--scan takes no --indicator, --stream or --by");
    if (!options.list && !options.scan && options.requests.empty())
        command_line_error("no indicator requested: add --indicator NAME (movlex --list shows them all)");
    return options;
}

std::string version_text() { return std::string("movlex ") + MOVLEX_VERSION_STRING; }

}  // namespace movlex::cli
