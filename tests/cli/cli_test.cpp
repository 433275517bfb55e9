// The movlex program run as a user runs it: a golden result on a small
// fixture, every indicator of the table against a direct call, and each kind
// of bad input (non-zero status, one line on standard error, nothing on
// standard output).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "csv_reader.hpp"
#include "indicator_request.hpp"
#include "process.hpp"
#include "sample_request.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

const std::string FIXTURES = MOVLEX_FIXTURES;
const std::string SAMPLE = MOVLEX_SAMPLE_CSV;
const std::string SMALL = FIXTURES + "/small.csv";

ProcessResult movlex(const std::vector<std::string>& arguments, const std::optional<std::string>& input = std::nullopt) {
    return run_program(MOVLEX_CLI, arguments, input);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string with_crlf(const std::string& text) {
    std::string result;
    for (char c : text) result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

// ---- Golden runs --------------------------------------------------------

const std::vector<std::string> GOLDEN_ARGUMENTS = {"--no-init", "--indicator", "sma:period=3", "-i",
                                                   "wma:period=4,input=open,as=wma4_open"};

TEST(Cli, GoldenRunOnTheSmallFixture) {
    std::vector<std::string> arguments = GOLDEN_ARGUMENTS;
    arguments.push_back(SMALL);
    const ProcessResult result = movlex(arguments);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, read_file(FIXTURES + "/small_expected.csv"));
}

TEST(Cli, CrlfInputFromStandardInputGivesTheSameResult) {
    std::vector<std::string> arguments = GOLDEN_ARGUMENTS;
    arguments.push_back("-");
    const ProcessResult result = movlex(arguments, with_crlf(read_file(SMALL)));
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, read_file(FIXTURES + "/small_expected.csv"));
}

// Alternating +-1e308 overflows the window sums: the first variance is
// inf, the later ones inf - inf, whose NaN is written blank in batch and in
// streams alike, never "-nan".
TEST(Cli, NanResultsAreBlank) {
    const std::string input = "date,open,high,low,close,volume\n1,1,1,1,1e308,1\n2,1,1,1,-1e308,1\n"
                              "3,1,1,1,1e308,1\n4,1,1,1,-1e308,1\n";
    const std::string expected = "date,open,high,low,close,volume,var_2\n1,1,1,1,1e308,1,\n2,1,1,1,-1e308,1,inf\n"
                                 "3,1,1,1,1e308,1,\n4,1,1,1,-1e308,1,\n";
    for (const bool stream : {false, true}) {
        std::vector<std::string> arguments = {"--no-init", "-q", "-i", "var:period=2", "-"};
        if (stream) arguments.insert(arguments.begin(), "--stream");
        const ProcessResult result = movlex(arguments, input);
        EXPECT_EQ(result.exit_code, 0) << stream;
        EXPECT_EQ(result.out, expected) << stream;
    }
}

TEST(Cli, OutputFileHoldsTheResult) {
    TemporaryDirectory directory;
    const std::string target = (directory / "result.csv").string();
    std::vector<std::string> arguments = GOLDEN_ARGUMENTS;
    arguments.insert(arguments.end(), {"--output=" + target, SMALL});
    const ProcessResult result = movlex(arguments);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(read_file(target), read_file(FIXTURES + "/small_expected.csv"));
    EXPECT_FALSE(std::filesystem::exists(target + ".partial"));
}

TEST(Cli, FailedRunLeavesTheOutputFileAlone) {
    TemporaryDirectory directory;
    const std::string target = (directory / "result.csv").string();
    write_file(target, "earlier result\n");
    const ProcessResult result = movlex({"-i", "sma:period=3", "-o", target, "-"}, "date,close\n1,2\n2,oops\n");
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(read_file(target), "earlier result\n");
    EXPECT_FALSE(std::filesystem::exists(target + ".partial"));
}

TEST(Cli, OptionForms) {
    const std::string input = "close\n1\n2\n4\n";
    const ProcessResult result = movlex({"--indicator=sma:period=2", "-i", "WMA:Period=2,As=W", "--", "-"}, input);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, "close,sma_2,W\n1,,\n2,1.5,1.6666666666666667\n4,3,3.3333333333333335\n");
}

TEST(Cli, ColumnsNoIndicatorReadsAreKeptAsTheyAre) {
    const std::string input = "when,close,volume,comment\n1,10,n/a,\"x, y\"\n2,11,,z\n3,13,?,\n";
    const ProcessResult result = movlex({"-i", "sma:period=2", "-"}, input);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, "when,close,volume,comment,sma_2\n1,10,n/a,\"x, y\",\n2,11,,z,10.5\n3,13,?,,12\n");
}

TEST(Cli, WithoutAFileItReadsTheBundledSample) {
    const ProcessResult implicit = movlex({"-i", "wma:period=10"});
    const ProcessResult explicit_file = movlex({"-i", "wma:period=10", SAMPLE});
    EXPECT_EQ(implicit.exit_code, 0);
    EXPECT_EQ(implicit.out, explicit_file.out);
    EXPECT_NE(implicit.err.find("bundled sample"), std::string::npos);
    EXPECT_GT(std::count(implicit.out.begin(), implicit.out.end(), '\n'), 2000);
}

TEST(Cli, HelpAndList) {
    const ProcessResult help = movlex({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: movlex")) << help.out;
    for (const char* topic : {"--indicator", "--no-init", "--list", "--output", "input=", "as", "nan", "Exit status"})
        EXPECT_NE(help.out.find(topic), std::string::npos) << topic;

    const ProcessResult list = movlex({"--list"});
    EXPECT_EQ(list.exit_code, 0);
    EXPECT_EQ(list.out, cli::describe_indicators());
}

// The generator kept in the repository writes exactly the bundled sample.
TEST(Sample, GeneratorReproducesTheBundledFile) {
    const ProcessResult generated = run_program(MOVLEX_MAKE_SAMPLE, {});
    EXPECT_EQ(generated.exit_code, 0);
    EXPECT_TRUE(generated.out == read_file(SAMPLE)) << "data/sample.csv differs from the generator's output";
}

// ---- Bad input ----------------------------------------------------------

struct BadInputCase {
    const char* what;
    std::vector<std::string> arguments;
    std::optional<std::string> input;  // standard input, read with the argument "-"
    int exit_code;
    std::string message_part;
};

std::vector<BadInputCase> bad_input_cases() {
    const std::string good = read_file(SMALL);
    return {
        {"unknown indicator", {"-i", "nosuch"}, {}, 2, "unknown indicator 'nosuch'"},
        {"unknown parameter", {"-i", "sma:perod=5"}, {}, 2, "sma: unknown parameter 'perod'"},
        {"value below its range", {"-i", "sma:period=1"}, {}, 2, "sma: period=1 is out of range 2..100000"},
        {"value above its range", {"-i", "wma:period=100001"}, {}, 2, "period=100001 is out of range 2..100000"},
        {"malformed parameter value", {"-i", "sma:period=2x"}, {}, 2, "sma: period='2x' is not an integer"},
        {"no indicator", {"-"}, good, 2, "no indicator requested"},
        {"unknown option", {"--frobnicate", "-i", "sma"}, {}, 2, "unknown option '--frobnicate'"},
        {"option without its value", {"-i"}, {}, 2, "--indicator needs a value"},
        {"option with an empty value", {"-i", "sma", "--output=", SMALL}, {}, 2, "--output needs a value"},
        {"two input files", {"-i", "sma", SMALL, SMALL}, {}, 2, "more than one input file"},
        {"same output column twice", {"-i", "sma:period=3", "-i", "sma:period=3", "-"}, good, 2,
         "output column 'sma_3' would appear twice"},
        {"output column named like an input column", {"-i", "sma:as=close", "-"}, good, 2, "output column 'close'"},
        {"output columns differing in case only", {"-i", "sma:as=avg", "-i", "wma:as=AVG", "-"}, good, 2,
         "output column 'AVG' would appear twice"},
        {"malformed number", {"-i", "sma:period=3", "-"}, replaced(good, "102.00,15000", "102.0x,15000"), 1,
         "standard input: line 3: column 5 (Close): '102.0x' is not a number"},
        {"trailing text after a number", {"-i", "sma:period=3", "-"}, replaced(good, "101.25,", "101.25 USD,"), 1,
         "line 4: column 5 (Close): '101.25 USD' is not a number"},
        {"nan", {"-i", "sma:period=3", "-"}, replaced(good, "101.25,", "nan,"), 1, "line 4: column 5 (Close): 'nan' is not a finite number"},
        {"empty field in a column read", {"-i", "sma:period=3", "-"}, replaced(good, "101.25,", ","), 1,
         "line 4: column 5 (Close): empty field"},
        {"malformed number in a chosen input", {"-i", "sma:period=3,input=volume", "-"}, replaced(good, "9000", "9k"), 1,
         "line 4: column 6 (Volume): '9k' is not a number"},
        {"missing column", {"-i", "sma", "-"}, "date,open\n2024-01-02,1\n", 1,
         "no column 'close' for the input 'input' of sma; the header has: date, open"},
        {"missing chosen column", {"-i", "sma:input=adj_close", "-"}, good, 1, "no column 'adj_close'"},
        {"column twice", {"-i", "sma", "-"}, "close,Close\n1,2\n", 1, "column 'close' for the input 'input' of sma appears 2 times"},
        {"empty file", {"-i", "sma", "-"}, "", 1, "standard input: the input is empty"},
        {"blank file", {"-i", "sma", "-"}, "\r\n  \n", 1, "the input is empty"},
        {"header only", {"-i", "sma", "-"}, "date,close\r\n", 1, "no data rows after the header"},
        {"short row", {"-i", "sma:period=3", "-"}, replaced(good, "101.25,9000,", "101.25,9000"), 1,
         "line 4: 6 fields, but the header has 7"},
        {"long row", {"-i", "sma:period=3", "-"}, replaced(good, "101.25,9000,", "101.25,9000,,"), 1,
         "line 4: 8 fields, but the header has 7"},
        {"unclosed quote", {"-i", "sma:period=3", "-"}, replaced(good, "12500,", "12500,\"open"), 1,
         "line 13: a quoted field is not closed"},
        {"quote closed lines later", {"-i", "sma:period=3", "-"}, replaced(good, "\"gap, then rally\"", "\"gap, then rally"), 1,
         "line 5: text after the closing quote of a field (the field opened on line 3)"},
        {"quote inside a field", {"-i", "sma:period=3", "-"}, replaced(good, "101.25,", "101\"25,"), 1,
         "line 4: a quote inside an unquoted field"},
        {"missing file", {"-i", "sma", FIXTURES + "/no-such-file.csv"}, {}, 1, "cannot open"},
        {"directory", {"-i", "sma", FIXTURES}, {}, 1, "cannot read"},
    };
}

void PrintTo(const BadInputCase& c, std::ostream* stream) { *stream << c.what; }

class BadInput : public ::testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, OneLineErrorAndNoOutput) {
    const BadInputCase& c = GetParam();
    const ProcessResult result = movlex(c.arguments, c.input);
    EXPECT_EQ(result.exit_code, c.exit_code) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("movlex: ")) << result.err;
    EXPECT_NE(result.err.find(c.message_part), std::string::npos) << result.err;
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "not one line: " << result.err;
}

std::string case_name(const ::testing::TestParamInfo<BadInputCase>& param) {
    std::string name;
    for (const char* c = param.param.what; *c != '\0'; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInput, ::testing::ValuesIn(bad_input_cases()), case_name);

// ---- Every indicator of the table ---------------------------------------

struct Columns {
    csv::Table table;
    std::map<std::string, std::vector<double>> values;  // the numeric columns, by name

    explicit Columns(const std::string& text) : table(std::get<csv::Table>(csv::parse_table(text))) {
        for (std::size_t c = 0; c < table.header.fields.size(); ++c) {
            std::variant<std::vector<double>, csv::Error> numbers = csv::column_values(table, c);
            if (auto* column = std::get_if<std::vector<double>>(&numbers)) values[table.header.fields[c]] = *column;
        }
    }
};

const Columns& sample_columns() {
    static const Columns columns(read_file(SAMPLE));
    return columns;
}

class EveryIndicatorThroughTheCli : public ::testing::TestWithParam<std::tuple<std::string, bool>> {
protected:
    const IndicatorInfo& info() const { return *find_indicator(std::get<0>(GetParam())); }
    bool initialised() const { return std::get<1>(GetParam()); }

    std::vector<std::string> arguments(const std::string& request, const std::string& file) const {
        std::vector<std::string> result = {"-i", request, file};
        if (!initialised()) result.insert(result.begin(), "--no-init");
        return result;
    }
};

// With defaults, the CLI writes exactly what the entry computes: blank
// before out_begin, then every value to the last bit.
TEST_P(EveryIndicatorThroughTheCli, WritesWhatTheEntryComputes) {
    const Columns& sample = sample_columns();
    const std::size_t rows = sample.table.rows.size();
    Request request;
    request.first_index = 0;
    request.last_index = std::int32_t(rows - 1);
    for (int i = 0; i < info().input_count(); ++i)
        request.inputs[i] = sample.values.at(sample_column(info().inputs[i])).data();
    for (int p = 0; p < info().param_count(); ++p) request.params[p] = info().params[p].default_value;
    std::vector<std::vector<double>> outputs(info().output_count(), std::vector<double>(rows));
    for (int o = 0; o < info().output_count(); ++o) request.outputs[o] = outputs[o].data();
    std::int32_t begin = -1, count = -1;
    request.out_begin = &begin;
    request.out_count = &count;
    {
        LibraryStateGuard state(initialised());
        ASSERT_EQ(info().invoke(request), RC_OK);
    }
    ASSERT_GT(count, 0) << "the sample is too short to show this indicator";

    const ProcessResult result = movlex(arguments(sample_request(info()), SAMPLE));
    ASSERT_EQ(result.exit_code, 0) << result.err;
    const csv::Table written = std::get<csv::Table>(csv::parse_table(result.out));
    const std::size_t first_output = sample.table.header.fields.size();
    ASSERT_EQ(written.header.fields.size(), first_output + info().output_count());
    ASSERT_EQ(written.rows.size(), rows);
    cli::IndicatorRequest defaults;
    defaults.info = &info();
    defaults.label = info().name;
    for (int o = 0; o < info().output_count(); ++o) {
        EXPECT_EQ(written.header.fields[first_output + o], defaults.output_columns()[o]);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::string& field = written.rows[r].fields[first_output + o];
            if (r < std::size_t(begin) || r >= std::size_t(begin) + std::size_t(count)) {
                ASSERT_EQ(field, "") << "row " << r;
                continue;
            }
            // A NaN result (a bar where an indicator has nothing to report,
            // such as a zigzag between its turning points) is written blank.
            if (std::isnan(outputs[o][r - begin])) {
                ASSERT_EQ(field, "") << "row " << r;
                continue;
            }
            const std::variant<double, std::string> value = csv::parse_number(field);
            ASSERT_TRUE(std::holds_alternative<double>(value)) << "row " << r << ": " << field;
            ASSERT_TRUE(same_bits(std::get<double>(value), outputs[o][r - begin])) << "row " << r << ": " << field;
        }
    }
}

// Every input can be read from a column of another name.
TEST_P(EveryIndicatorThroughTheCli, InputsReadFromRenamedColumns) {
    const std::map<std::string, std::string> renamed = {
        {"open", "first trade"}, {"high", "top"}, {"low", "bottom"}, {"close", "last trade"}, {"volume", "shares"}};
    std::string text = read_file(SAMPLE);
    const std::size_t header_end = text.find('\n');
    text.replace(0, header_end, "date,first trade,top,bottom,last trade,shares");
    std::string request = std::string(info().name) + ":as=" + info().name;
    for (int i = 0; i < info().input_count(); ++i)
        request += std::string(",") + info().inputs[i] + "=" + renamed.at(sample_column(info().inputs[i]));

    const ProcessResult moved = movlex(arguments(request, "-"), text);
    const ProcessResult plain = movlex(arguments(sample_request(info()), SAMPLE));
    ASSERT_EQ(moved.exit_code, 0) << moved.err;
    EXPECT_TRUE(moved.out.substr(moved.out.find('\n')) == plain.out.substr(plain.out.find('\n')));
}

// A second series is read from the column the request names for "other", or
// else from a column of that name; with neither the run fails in one line.
TEST(Cli, TheOtherSeriesComesFromTheNamedColumn) {
    std::string text = read_file(SAMPLE);
    const ProcessResult named = movlex({"--no-init", "-i", "correl:other=open", "-"}, text);
    ASSERT_EQ(named.exit_code, 0) << named.err;
    text.replace(0, text.find('\n'), "date,other,high,low,close,volume");
    const ProcessResult found = movlex({"--no-init", "-i", "correl", "-"}, text);
    ASSERT_EQ(found.exit_code, 0) << found.err;
    EXPECT_EQ(named.out.substr(named.out.find('\n')), found.out.substr(found.out.find('\n')));

    const ProcessResult missing = movlex({"--no-init", "-i", "beta", SAMPLE});
    EXPECT_NE(missing.exit_code, 0);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("other"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find('\n'), missing.err.size() - 1) << "not one line: " << missing.err;
}

std::string indicator_case_name(const ::testing::TestParamInfo<std::tuple<std::string, bool>>& param) {
    return std::get<0>(param.param) + (std::get<1>(param.param) ? "_initialised" : "_not_initialised");
}

std::vector<std::string> all_indicators() {
    std::vector<std::string> all;
    for (const IndicatorInfo& info : indicator_table()) all.push_back(info.name);
    return all;
}

INSTANTIATE_TEST_SUITE_P(Table, EveryIndicatorThroughTheCli,
                         ::testing::Combine(::testing::ValuesIn(all_indicators()), ::testing::Bool()),
                         indicator_case_name);

}  // namespace
}  // namespace movlex::test
