// Each scratch allocation of the composite indicators failing in turn: the
// code and the out-parameters are those the indicator documents, and no
// output is reported.
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr std::int32_t UNTOUCHED = -999;

struct FailureCase {
    std::string name;
    int failing_allocation;
    RetCode expected;
    bool out_parameters_zeroed;  // otherwise untouched
    std::function<RetCode(const Bars&, std::int32_t*, std::int32_t*, double*, double*, double*)> call;
};

using Call = std::function<RetCode(const Bars&, std::int32_t*, std::int32_t*, double*, double*, double*)>;

struct Calls {
    std::vector<FailureCase> failing;           // calls that still allocate
    std::vector<std::pair<std::string, Call>> free;  // calls that allocate nothing
};

Calls composite_calls() {
    auto apo = [](MaType type) {
        return [type](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
            return MOVLEX_APO(0, 199, b.close.data(), 12, 26, type, begin, count, o);
        };
    };
    auto ppo = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
        return MOVLEX_PPO(0, 199, b.close.data(), 12, 26, MA_SMA, begin, count, o);
    };
    auto macd = [](MaType type) {
        return [type](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double* o3) {
            return MOVLEX_MACD(0, 199, b.close.data(), 12, type, 26, MA_SMA, 9, MA_SMA, begin, count, o1, o2, o3);
        };
    };
    auto mac2 = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
        return MOVLEX_MAC2(0, 199, b.close.data(), 12, MA_SMA, 26, MA_SMA, begin, count, o);
    };
    auto stoch = [](MaType type) {
        return [type](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_STOCH(0, 199, b.high.data(), b.low.data(), b.close.data(), 5, 3, type, 3, MA_SMA, begin,
                                count, o1, o2);
        };
    };
    auto stochf = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
        return MOVLEX_STOCHF(0, 199, b.high.data(), b.low.data(), b.close.data(), 5, 3, MA_SMA, begin, count, o1, o2);
    };
    auto stochrsi = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
        return MOVLEX_STOCHRSI(0, 199, b.close.data(), 14, 5, 3, MA_SMA, begin, count, o1, o2);
    };
    auto bbands = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double* o3) {
        return MOVLEX_BBANDS(0, 199, b.close.data(), 20, 2.0, 2.0, MA_MAMA, begin, count, o1, o2, o3);
    };
    Calls calls;
    calls.failing = {
        {"stoch k scratch", 0, RC_NO_MEMORY, true, stoch(MA_SMA)},
        {"stochf k scratch", 0, RC_NO_MEMORY, true, stochf},
        {"stochrsi rsi array", 0, RC_BAD_ARGUMENT, true, stochrsi},
        {"stochrsi k scratch", 1, RC_NO_MEMORY, true, stochrsi},
    };
    // The price oscillators run their averages in one pass, and the
    // selector's MAMA keeps no FAMA array.
    calls.free = {
        {"apo", apo(MA_SMA)},   {"apo mama", apo(MA_MAMA)},   {"ppo", ppo},   {"macd", macd(MA_SMA)},
        {"macd mama", macd(MA_MAMA)}, {"mac2", mac2}, {"bbands mama", bbands},
    };
    return calls;
}

TEST(CompositeAllocationFailures, ReportTheDocumentedCode) {
    const Bars bars = make_bars(200, 21);
    for (const FailureCase& c : composite_calls().failing) {
        std::vector<double> o1(200, 0.0), o2(200, 0.0), o3(200, 0.0);
        std::int32_t begin = UNTOUCHED, count = UNTOUCHED;
        testing::fail_scratch_allocation(c.failing_allocation);
        const RetCode rc = c.call(bars, &begin, &count, o1.data(), o2.data(), o3.data());
        testing::fail_scratch_allocation(-1);
        EXPECT_EQ(rc, c.expected) << c.name;
        if (c.out_parameters_zeroed) {
            EXPECT_EQ(begin, 0) << c.name;
            EXPECT_EQ(count, 0) << c.name;
        } else {
            EXPECT_EQ(begin, UNTOUCHED) << c.name;
            EXPECT_EQ(count, UNTOUCHED) << c.name;
        }

        // The same call with every allocation available succeeds.
        begin = count = UNTOUCHED;
        EXPECT_EQ(c.call(bars, &begin, &count, o1.data(), o2.data(), o3.data()), RC_OK) << c.name;
    }
}

// A failing allocation changes nothing where there is none: the call
// succeeds with the values it gives when allocations are available.
TEST(CompositeAllocationFailures, CallsWithoutScratchDoNotAllocate) {
    const Bars bars = make_bars(200, 21);
    for (const auto& [name, call] : composite_calls().free) {
        std::vector<double> want1(200, 0.0), want2(200, 0.0), want3(200, 0.0);
        std::int32_t want_begin = UNTOUCHED, want_count = UNTOUCHED;
        ASSERT_EQ(call(bars, &want_begin, &want_count, want1.data(), want2.data(), want3.data()), RC_OK) << name;

        std::vector<double> o1(200, 0.0), o2(200, 0.0), o3(200, 0.0);
        std::int32_t begin = UNTOUCHED, count = UNTOUCHED;
        const int attempted = testing::scratch_allocations_attempted();
        testing::fail_scratch_allocation(0);
        const RetCode rc = call(bars, &begin, &count, o1.data(), o2.data(), o3.data());
        testing::fail_scratch_allocation(-1);
        EXPECT_EQ(rc, RC_OK) << name;
        EXPECT_EQ(testing::scratch_allocations_attempted(), attempted) << name;
        EXPECT_EQ(begin, want_begin) << name;
        EXPECT_EQ(count, want_count) << name;
        EXPECT_EQ(o1, want1) << name;
        EXPECT_EQ(o2, want2) << name;
        EXPECT_EQ(o3, want3) << name;
    }
}

}  // namespace
}  // namespace movlex::test
