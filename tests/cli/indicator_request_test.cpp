// Indicator requests as the command line writes them, read against every row
// of the indicator table: defaults, each parameter's range, input columns,
// output names, and the one-line errors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "csv_reader.hpp"
#include "indicator_request.hpp"

namespace movlex::cli {
namespace {

IndicatorRequest accepted(const std::string& text) {
    std::variant<IndicatorRequest, std::string> result = parse_request(text);
    if (const std::string* problem = std::get_if<std::string>(&result))
        ADD_FAILURE() << text << " rejected: " << *problem;
    return std::holds_alternative<IndicatorRequest>(result) ? std::get<IndicatorRequest>(result) : IndicatorRequest{};
}

std::string rejected(const std::string& text) {
    std::variant<IndicatorRequest, std::string> result = parse_request(text);
    if (!std::holds_alternative<std::string>(result)) {
        ADD_FAILURE() << text << " accepted";
        return {};
    }
    const std::string problem = std::get<std::string>(result);
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    return problem;
}

std::string integer_text(double value) { return std::to_string(std::int64_t(value)); }

class EveryIndicator : public ::testing::TestWithParam<std::string> {
protected:
    const IndicatorInfo& info() const { return *find_indicator(GetParam()); }
    std::string name() const { return info().name; }
};

TEST_P(EveryIndicator, NameAloneTakesEveryDefault) {
    for (const std::string& text : {name(), std::string(info().entry).substr(7)}) {  // "sma" and "SMA"
        const IndicatorRequest request = accepted(text);
        ASSERT_EQ(request.info, &info()) << text;
        EXPECT_EQ(request.label, name());
        for (int p = 0; p < info().param_count(); ++p)
            EXPECT_EQ(request.params[p], info().params[p].default_value) << info().params[p].name;
        for (int i = 0; i < info().input_count(); ++i)
            EXPECT_EQ(request.columns[i], std::string(info().inputs[i]) == "input" ? "close" : info().inputs[i]);
    }
}

TEST_P(EveryIndicator, EachParameterTakesItsWholeRangeAndNothingElse) {
    for (int p = 0; p < info().param_count(); ++p) {
        const ParamInfo& param = info().params[p];
        const std::string prefix = name() + ":" + param.name + "=";
        SCOPED_TRACE(prefix);
        switch (param.kind) {
            case ParamKind::integer: {
                for (double value : {param.min, param.max}) {
                    const IndicatorRequest request = accepted(prefix + integer_text(value));
                    EXPECT_EQ(request.params[p], value);
                    EXPECT_EQ(request.label, name() + "_" + integer_text(value));
                }
                const std::string range = integer_text(param.min) + ".." + integer_text(param.max);
                for (double value : {param.min - 1, param.max + 1, -5.0, 1e12}) {
                    if (value >= param.min && value <= param.max) continue;
                    EXPECT_NE(rejected(prefix + integer_text(value)).find("is out of range " + range), std::string::npos);
                }
                for (const char* text : {"abc", "1.5", "", "+3", "12x", "0x10"})
                    EXPECT_NE(rejected(prefix + text).find("is not an integer"), std::string::npos) << text;
                break;
            }
            case ParamKind::real: {
                for (double value : {param.min, param.max, param.default_value}) {
                    const IndicatorRequest request = accepted(prefix + format_number(value));
                    EXPECT_EQ(request.params[p], value);
                }
                for (double value : {std::nextafter(param.min, -INFINITY), std::nextafter(param.max, INFINITY)})
                    EXPECT_NE(rejected(prefix + format_number(value)).find("is out of range"), std::string::npos);
                for (const char* text : {"abc", "nan", "inf", "", "1.5.2"})
                    EXPECT_NE(rejected(prefix + text).find("number"), std::string::npos) << text;
                break;
            }
            case ParamKind::ma_type: {
                for (int code = 0; code < MA_TYPE_COUNT; ++code) {
                    EXPECT_EQ(accepted(prefix + ma_type_name(code)).params[p], code);
                    EXPECT_EQ(accepted(prefix + std::to_string(code)).params[p], code);
                    EXPECT_EQ(accepted(prefix + std::to_string(code)).label, name() + "_" + ma_type_name(code));
                }
                for (const char* text : {"9", "-1", "foo", "", "1.0"})
                    EXPECT_NE(rejected(prefix + text).find("is not a moving-average type"), std::string::npos) << text;
                break;
            }
        }
    }
}

TEST_P(EveryIndicator, EachInputCanReadAnotherColumn) {
    for (int i = 0; i < info().input_count(); ++i) {
        const IndicatorRequest request = accepted(name() + ":" + info().inputs[i] + "=Other Column");
        EXPECT_EQ(request.columns[i], "Other Column");
        EXPECT_EQ(request.label, name() + "_Other Column");
        for (int j = 0; j < info().input_count(); ++j)
            if (j != i) {
                EXPECT_EQ(request.columns[j], default_column(info().inputs[j]));
            }
    }
}

TEST_P(EveryIndicator, OutputColumnsAreDistinctAndFollowTheLabel) {
    const IndicatorRequest request = accepted(name() + ":as=mine");
    EXPECT_EQ(request.label, "mine");
    const std::vector<std::string> columns = request.output_columns();
    ASSERT_EQ(int(columns.size()), info().output_count());
    EXPECT_EQ(std::set<std::string>(columns.begin(), columns.end()).size(), columns.size());
    for (const std::string& column : columns) {
        EXPECT_TRUE(column == "mine" || column.starts_with("mine_")) << column;
        EXPECT_EQ(column.find_first_of(",\"\r\n"), std::string::npos) << column;
    }
    if (columns.size() == 1) {
        EXPECT_EQ(columns[0], "mine");
    }
}

TEST_P(EveryIndicator, IsListedWithEveryParameter) {
    const std::string list = describe_indicators();
    const std::string marker = info().set == IndicatorSet::extended ? " [extended set]" : "";
    EXPECT_NE(list.find(name() + " - " + info().summary + marker + "\n"), std::string::npos);
    for (int p = 0; p < info().param_count(); ++p) {
        const ParamInfo& param = info().params[p];
        const std::string default_text = param.kind == ParamKind::integer ? integer_text(param.default_value)
                                         : param.kind == ParamKind::real ? format_number(param.default_value)
                                                                         : std::string(ma_type_name(int(param.default_value)));
        EXPECT_NE(list.find("  " + std::string(param.name) + " "), std::string::npos) << param.name;
        EXPECT_NE(list.find("default " + default_text), std::string::npos) << param.name;
    }
    // The entry ends with where a chart draws the indicator.
    const std::size_t entry = list.find(name() + " - " + info().summary + marker + "\n");
    const std::string_view block = std::string_view(list).substr(entry, list.find("\n\n", entry) - entry);
    EXPECT_NE(block.find("\n  drawn "), std::string_view::npos) << block;
    const Placement last = info().placement_of(info().output_count() - 1);
    EXPECT_TRUE(block.ends_with(last == Placement::overlay  ? " over the price"
                                : last == Placement::panel ? " in a panel of its own"
                                                           : " as markers on the candles"))
        << block;
}

std::string indicator_name(const ::testing::TestParamInfo<std::string>& param) { return param.param; }

std::vector<std::string> all_indicators() {
    std::vector<std::string> all;
    for (const IndicatorInfo& info : indicator_table()) all.push_back(info.name);
    return all;
}

INSTANTIATE_TEST_SUITE_P(Table, EveryIndicator, ::testing::ValuesIn(all_indicators()), indicator_name);

TEST(IndicatorRequest, MalformedRequestsAreRejectedWithAReason) {
    struct Case {
        const char* text;
        const char* reason;
    };
    for (const Case& c : {Case{"", "needs a name"}, Case{":period=3", "needs a name"},
                          Case{"nosuch", "unknown indicator 'nosuch'"}, Case{"sma:", "is not of the form KEY=VALUE"},
                          Case{"sma:period", "'period' is not of the form KEY=VALUE"},
                          Case{"sma:period=5,", "'' is not of the form KEY=VALUE"},
                          Case{"sma:period=5,period=6", "'period' is given twice"},
                          Case{"sma:perod=5", "unknown parameter 'perod' (keys: period, input=COLUMN, as=NAME)"},
                          Case{"sma:input=", "input='' is not a usable column name"},
                          Case{"sma:input=a\"b", "is not a usable column name"},
                          Case{"sma:as=", "as='' is not a usable column name"},
                          Case{"sma:as=x\ny", "as='x\\ny' is not a usable column name"}}) {
        const std::string problem = rejected(c.text);
        EXPECT_NE(problem.find(c.reason), std::string::npos) << c.text << ": " << problem;
    }
}

TEST(IndicatorRequest, LabelCarriesTheValuesGivenInTheirOrder) {
    EXPECT_EQ(accepted("sma:period=20").label, "sma_20");
    EXPECT_EQ(accepted("SMA:Input=open,PERIOD=007").label, "sma_open_7");
    EXPECT_EQ(accepted("wma:period=5,as=fast").label, "fast");
    EXPECT_EQ(accepted("wma:as=fast,period=5").label, "fast");
}

TEST(MaTypes, NamesAndCodes) {
    const char* names[] = {"sma", "ema", "wma", "dema", "tema", "trima", "kama", "mama", "t3"};
    for (int code = 0; code < MA_TYPE_COUNT; ++code) {
        EXPECT_STREQ(ma_type_name(code), names[code]);
        EXPECT_EQ(parse_ma_type(names[code]), code);
        EXPECT_EQ(parse_ma_type(std::to_string(code)), code);
    }
    EXPECT_EQ(parse_ma_type("EMA"), 1);
    for (const char* text : {"9", "-1", "", "sma ", "01", "ma"}) EXPECT_EQ(parse_ma_type(text), std::nullopt) << text;
}

TEST(NumberText, ShortestTextThatReadsBack) {
    EXPECT_EQ(format_number(0.0), "0");
    EXPECT_EQ(format_number(2.0), "2");
    EXPECT_EQ(format_number(100000.0), "100000");
    EXPECT_EQ(format_number(0.02), "0.02");
    EXPECT_EQ(format_number(-1.5), "-1.5");
    EXPECT_EQ(format_number(3e37), "3e+37");
    EXPECT_EQ(format_number(1e-7), "1e-07");
    EXPECT_EQ(format_number(10.000000000000009), "10.000000000000009");
    EXPECT_EQ(format_number(std::nan("")), "");
    EXPECT_EQ(format_number(-std::nan("")), "");
    std::uint64_t state = 99;
    for (int i = 0; i < 100000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        double value;
        std::uint64_t bits = state;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) continue;
        const std::string text = format_number(value);
        std::variant<double, std::string> back = csv::parse_number(text);
        ASSERT_TRUE(std::holds_alternative<double>(back)) << text;
        EXPECT_EQ(std::memcmp(&std::get<double>(back), &value, sizeof value), 0) << text;
    }
}

}  // namespace
}  // namespace movlex::cli
