// The calling contract, checked for every indicator of the table: validation
// order, untouched outputs on rejection, defaults, lookback, the empty
// result, and aliasing where an output may be an input.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr double UNTOUCHED = -777.25;
constexpr std::int32_t UNTOUCHED_INT = -999;
constexpr std::size_t BAR_COUNT = 1200;

const Bars& shared_bars() {
    static const Bars bars = make_bars(BAR_COUNT, 7);
    return bars;
}

const std::vector<double>& series_for(const char* input_name) { return named_series(shared_bars(), input_name); }

std::array<double, MAX_PARAMS> default_values(const IndicatorInfo& info) {
    std::array<double, MAX_PARAMS> values{};
    for (int p = 0; p < info.param_count(); ++p) values[p] = info.params[p].default_value;
    return values;
}

std::array<double, MAX_PARAMS> sentinels(const IndicatorInfo& info) {
    std::array<double, MAX_PARAMS> values{};
    for (int p = 0; p < info.param_count(); ++p)
        values[p] = info.params[p].kind == ParamKind::real ? DEFAULT_REAL : double(DEFAULT_INT);
    return values;
}

// One call with its own arrays: inputs of exactly last_index + 1 values and
// outputs of exactly last_index - first_index + 1, so that any access outside
// the contract shows under AddressSanitizer.
struct Call {
    const IndicatorInfo& info;
    std::vector<std::vector<double>> inputs;
    std::vector<std::vector<double>> outputs;
    std::int32_t begin = UNTOUCHED_INT;
    std::int32_t count = UNTOUCHED_INT;
    Request request;

    Call(const IndicatorInfo& indicator, std::int32_t first_index, std::int32_t last_index,
         const std::array<double, MAX_PARAMS>& params)
        : info(indicator) {
        const std::size_t input_length = std::size_t(std::max(last_index, 0)) + 1;
        const std::size_t output_length = std::size_t(std::max(last_index - first_index + 1, 1));
        for (int i = 0; i < info.input_count(); ++i) {
            const std::vector<double>& series = series_for(info.inputs[i]);
            inputs.emplace_back(series.begin(), series.begin() + std::ptrdiff_t(std::min(input_length, series.size())));
        }
        for (int o = 0; o < info.output_count(); ++o) outputs.emplace_back(output_length, UNTOUCHED);
        request.first_index = first_index;
        request.last_index = last_index;
        request.params = params;
        bind();
    }

    void bind() {
        for (std::size_t i = 0; i < inputs.size(); ++i) request.inputs[i] = inputs[i].data();
        for (std::size_t o = 0; o < outputs.size(); ++o) request.outputs[o] = outputs[o].data();
        request.out_begin = &begin;
        request.out_count = &count;
    }

    RetCode run() { return info.invoke(request); }

    ::testing::AssertionResult untouched() const {
        if (begin != UNTOUCHED_INT || count != UNTOUCHED_INT)
            return ::testing::AssertionFailure() << "out_begin/out_count written: " << begin << ", " << count;
        for (std::size_t o = 0; o < outputs.size(); ++o)
            for (std::size_t k = 0; k < outputs[o].size(); ++k)
                if (outputs[o][k] != UNTOUCHED)
                    return ::testing::AssertionFailure() << "output " << o << " element " << k << " written";
        return ::testing::AssertionSuccess();
    }
};

struct Case {
    const IndicatorInfo* info;
    bool initialised;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.info->name << (c.initialised ? " initialised" : " loaded"); }

class Contract : public ::testing::TestWithParam<Case> {
protected:
    const IndicatorInfo& info() const { return *GetParam().info; }
    LibraryStateGuard state{GetParam().initialised};
};

std::vector<double> invalid_values(const ParamInfo& param) {
    switch (param.kind) {
        case ParamKind::ma_type:
            return {-1.0, double(MA_TYPE_COUNT), double(std::numeric_limits<std::int32_t>::max())};
        case ParamKind::integer: {
            std::vector<double> values = {param.min - 1, param.max + 1, -5.0,
                                          double(std::numeric_limits<std::int32_t>::max())};
            std::erase_if(values, [&](double v) { return v >= param.min && v <= param.max; });
            return values;
        }
        case ParamKind::real:
            return {std::nextafter(param.min, -INFINITY), std::nextafter(param.max, INFINITY),
                    std::numeric_limits<double>::quiet_NaN()};
    }
    return {};
}

TEST_P(Contract, RangeErrorsWinOverEveryOtherError) {
    std::array<double, MAX_PARAMS> bad_params{};
    for (int p = 0; p < info().param_count(); ++p) bad_params[p] = invalid_values(info().params[p]).front();
    struct RangeCase {
        std::int32_t first, last;
        RetCode expected;
    };
    for (const RangeCase& range : {RangeCase{-1, 10, RC_START_OUT_OF_RANGE}, RangeCase{-1, -5, RC_START_OUT_OF_RANGE},
                                   RangeCase{5, 4, RC_END_OUT_OF_RANGE}, RangeCase{0, -1, RC_END_OUT_OF_RANGE}}) {
        Call call(info(), range.first, range.last, bad_params);
        call.request.inputs = {};
        call.request.outputs = {};
        EXPECT_EQ(call.run(), range.expected) << range.first << ".." << range.last;
        EXPECT_EQ(call.begin, UNTOUCHED_INT);
        EXPECT_EQ(call.count, UNTOUCHED_INT);
    }
}

TEST_P(Contract, EachBadArgumentIsRejectedWithNothingWritten) {
    const std::int32_t last = BAR_COUNT - 1;
    for (int i = 0; i < info().input_count(); ++i) {
        Call call(info(), 0, last, default_values(info()));
        call.request.inputs[i] = nullptr;
        EXPECT_EQ(call.run(), RC_BAD_ARGUMENT) << "null input " << info().inputs[i];
        EXPECT_TRUE(call.untouched());
    }
    for (int p = 0; p < info().param_count(); ++p) {
        for (double value : invalid_values(info().params[p])) {
            Call call(info(), 0, last, default_values(info()));
            call.request.params[p] = value;
            EXPECT_EQ(call.run(), RC_BAD_ARGUMENT) << info().params[p].name << " = " << value;
            EXPECT_TRUE(call.untouched());
        }
    }
    for (int o = 0; o < info().output_count(); ++o) {
        Call call(info(), 0, last, default_values(info()));
        call.request.outputs[o] = nullptr;
        EXPECT_EQ(call.run(), RC_BAD_ARGUMENT) << "null output " << info().outputs[o];
        EXPECT_TRUE(call.untouched());
    }
}

TEST_P(Contract, ParameterBoundsAreAccepted) {
    for (int p = 0; p < info().param_count(); ++p) {
        for (double value : {info().params[p].min, info().params[p].max}) {
            Call call(info(), 0, BAR_COUNT - 1, default_values(info()));
            call.request.params[p] = value;
            EXPECT_EQ(call.run(), RC_OK) << info().params[p].name << " = " << value;
        }
    }
}

TEST_P(Contract, SentinelsSelectTheDefaults) {
    Call explicit_defaults(info(), 0, BAR_COUNT - 1, default_values(info()));
    Call sentinel_defaults(info(), 0, BAR_COUNT - 1, sentinels(info()));
    ASSERT_EQ(explicit_defaults.run(), RC_OK);
    ASSERT_EQ(sentinel_defaults.run(), RC_OK);
    EXPECT_EQ(sentinel_defaults.begin, explicit_defaults.begin);
    ASSERT_EQ(sentinel_defaults.count, explicit_defaults.count);
    for (int o = 0; o < info().output_count(); ++o)
        EXPECT_TRUE(same_values(explicit_defaults.outputs[o].data(), sentinel_defaults.outputs[o].data(),
                                std::size_t(explicit_defaults.count)));
    EXPECT_EQ(info().lookback(sentinels(info()).data()), info().lookback(default_values(info()).data()));
}

TEST_P(Contract, OutputStartsAtTheLookback) {
    const std::int32_t lookback = info().lookback(default_values(info()).data());
    ASSERT_GE(lookback, 0);
    ASSERT_LT(lookback, std::int32_t(BAR_COUNT) - 100);

    Call whole(info(), 0, BAR_COUNT - 1, default_values(info()));
    ASSERT_EQ(whole.run(), RC_OK);
    EXPECT_EQ(whole.begin, lookback);
    EXPECT_EQ(whole.count, std::int32_t(BAR_COUNT) - lookback);

    Call later(info(), lookback + 17, lookback + 80, default_values(info()));
    ASSERT_EQ(later.run(), RC_OK);
    EXPECT_EQ(later.begin, lookback + 17);
    EXPECT_EQ(later.count, 64);

    Call single(info(), lookback + 5, lookback + 5, default_values(info()));
    ASSERT_EQ(single.run(), RC_OK);
    EXPECT_EQ(single.begin, lookback + 5);
    EXPECT_EQ(single.count, 1);

    if (lookback > 0) {
        Call too_short(info(), 0, lookback - 1, default_values(info()));
        ASSERT_EQ(too_short.run(), RC_OK);
        EXPECT_EQ(too_short.begin, 0);
        EXPECT_EQ(too_short.count, 0);
        too_short.begin = too_short.count = UNTOUCHED_INT;
        EXPECT_TRUE(too_short.untouched());
    }
}

TEST_P(Contract, OutputMayBeAnInputWhereAllowed) {
    if (info().aliasing != Aliasing::output_may_be_input) GTEST_SKIP() << "outputs must be separate arrays";
    const std::int32_t first = 40, last = BAR_COUNT - 1;
    Call reference(info(), first, last, default_values(info()));
    ASSERT_EQ(reference.run(), RC_OK);

    for (int o = 0; o < info().output_count(); ++o) {
        for (int i = 0; i < info().input_count(); ++i) {
            Call aliased(info(), first, last, default_values(info()));
            aliased.request.outputs[o] = aliased.inputs[i].data();
            ASSERT_EQ(aliased.run(), RC_OK) << info().outputs[o] << " as " << info().inputs[i];
            EXPECT_EQ(aliased.begin, reference.begin);
            ASSERT_EQ(aliased.count, reference.count);
            for (int other = 0; other < info().output_count(); ++other)
                EXPECT_TRUE(same_values(reference.outputs[other].data(), aliased.request.outputs[other],
                                        std::size_t(reference.count)))
                    << info().outputs[o] << " as " << info().inputs[i] << ", output " << info().outputs[other];
        }
    }
}

std::vector<Case> all_cases() {
    std::vector<Case> cases;
    for (const IndicatorInfo& info : indicator_table())
        for (bool initialised : {false, true}) cases.push_back({&info, initialised});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, Contract, ::testing::ValuesIn(all_cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.info->name) +
                                    (param.param.initialised ? "_initialised" : "_loaded");
                         });

}  // namespace
}  // namespace movlex::test
