// Each scratch allocation of the composite indicators and of the window
// extremes failing in turn: the code and the out-parameters are those the
// indicator documents, and no output is reported. The storage a kernel keeps
// for itself (an average's ring of the values it is fed, a long window's
// block arrays) is scratch too.
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
    auto stoch = [](std::int32_t fast_k, MaType k_type, MaType d_type) {
        return [=](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_STOCH(0, 199, b.high.data(), b.low.data(), b.close.data(), fast_k, 3, k_type, 3, d_type,
                                begin, count, o1, o2);
        };
    };
    auto stochf = [](MaType type) {
        return [type](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_STOCHF(0, 199, b.high.data(), b.low.data(), b.close.data(), 5, 3, type, begin, count, o1,
                                 o2);
        };
    };
    auto stochrsi = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
        return MOVLEX_STOCHRSI(0, 199, b.close.data(), 14, 5, 3, MA_SMA, begin, count, o1, o2);
    };
    auto bbands = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double* o3) {
        return MOVLEX_BBANDS(0, 199, b.close.data(), 20, 2.0, 2.0, MA_MAMA, begin, count, o1, o2, o3);
    };
    auto max = [](std::int32_t period) {
        return [period](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
            return MOVLEX_MAX(0, 199, b.close.data(), period, begin, count, o);
        };
    };
    auto min = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
        return MOVLEX_MIN(0, 199, b.close.data(), 30, begin, count, o);
    };
    auto willr = [](std::int32_t period) {
        return [period](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
            return MOVLEX_WILLR(0, 199, b.high.data(), b.low.data(), b.close.data(), period, begin, count, o);
        };
    };
    auto aroon = [](std::int32_t period) {
        return [period](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_AROON(0, 199, b.high.data(), b.low.data(), period, begin, count, o1, o2);
        };
    };
    // A signal, %K or %D average that reads back the values it is fed keeps
    // them in a ring (STOCHRSI keeps its RSI values too); a window extreme
    // over more than 16 bars keeps two block arrays, of which the lowest's
    // come first. Either failing gives RC_NO_MEMORY with both out-parameters 0.
    const auto no_memory = [](std::string name, int failing, Call call) {
        return FailureCase{std::move(name), failing, RC_NO_MEMORY, true, std::move(call)};
    };
    Calls calls;
    calls.failing = {
        no_memory("macd signal ring", 0, macd(MA_SMA)),
        no_memory("macd mama signal ring", 0, macd(MA_MAMA)),
        no_memory("mac2 signal ring", 0, mac2),
        no_memory("stoch slow %K ring", 0, stoch(5, MA_SMA, MA_EMA)),
        no_memory("stoch slow %D ring", 0, stoch(5, MA_EMA, MA_SMA)),
        no_memory("stochf %D ring", 0, stochf(MA_SMA)),
        no_memory("stochrsi RSI ring", 0, stochrsi),
        no_memory("stochrsi %D ring", 1, stochrsi),
        no_memory("stoch lowest blocks", 0, stoch(17, MA_EMA, MA_EMA)),
        no_memory("stoch highest blocks", 3, stoch(17, MA_EMA, MA_EMA)),
        no_memory("max blocks", 0, max(30)),
        no_memory("max block bars", 1, max(30)),
        no_memory("min blocks", 0, min),
        no_memory("willr highest blocks", 2, willr(17)),
        no_memory("aroon lowest blocks", 0, aroon(16)),
        no_memory("aroon highest blocks", 3, aroon(16)),
    };
    // The price oscillators run their averages in one pass over the input,
    // the selector's MAMA keeps no FAMA array, the stochastics feed their
    // averages one value per bar, with no %K or RSI array (an exponential
    // average keeps no ring), and a window of up to 16 bars keeps no blocks.
    calls.free = {
        {"apo", apo(MA_SMA)},   {"apo mama", apo(MA_MAMA)},   {"ppo", ppo},   {"bbands mama", bbands},
        {"stoch ema", stoch(5, MA_EMA, MA_EMA)}, {"stochf ema", stochf(MA_EMA)},
        {"max 16", max(16)}, {"willr 16", willr(16)}, {"aroon 15", aroon(15)},
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
