// Each scratch allocation of the composite indicators and of the window
// extremes failing in turn: the code and the out-parameters are those the
// indicator documents, and no output is reported. The storage a kernel keeps
// for itself (an average's ring of the values it is fed, a long window's
// block arrays) is scratch too.
#include <functional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
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
    auto macd = [](MaType type, std::int32_t signal) {
        return [=](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double* o3) {
            return MOVLEX_MACD(0, 199, b.close.data(), 12, type, 26, MA_SMA, signal, MA_SMA, begin, count, o1, o2,
                               o3);
        };
    };
    auto mac2 = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
        return MOVLEX_MAC2(0, 199, b.close.data(), 12, MA_SMA, 26, MA_SMA, begin, count, o);
    };
    auto stoch = [](std::int32_t fast_k, std::int32_t slow, MaType k_type, MaType d_type) {
        return [=](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_STOCH(0, 199, b.high.data(), b.low.data(), b.close.data(), fast_k, slow, k_type, slow,
                                d_type, begin, count, o1, o2);
        };
    };
    auto stochf = [](std::int32_t fast_d, MaType type) {
        return [=](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_STOCHF(0, 199, b.high.data(), b.low.data(), b.close.data(), 5, fast_d, type, begin, count,
                                 o1, o2);
        };
    };
    auto stochrsi = [](std::int32_t fast_k, std::int32_t fast_d) {
        return [=](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double*) {
            return MOVLEX_STOCHRSI(0, 199, b.close.data(), 14, fast_k, fast_d, MA_SMA, begin, count, o1, o2);
        };
    };
    auto bbands = [](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o1, double* o2, double* o3) {
        return MOVLEX_BBANDS(0, 199, b.close.data(), 20, 2.0, 2.0, MA_MAMA, begin, count, o1, o2, o3);
    };
    auto max = [](std::int32_t period) {
        return [period](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
            return MOVLEX_MAX(0, 199, b.close.data(), period, begin, count, o);
        };
    };
    auto min = [](std::int32_t period) {
        return [period](const Bars& b, std::int32_t* begin, std::int32_t* count, double* o, double*, double*) {
            return MOVLEX_MIN(0, 199, b.close.data(), period, begin, count, o);
        };
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
    // them in a ring (STOCHRSI keeps its RSI values too), inside the kernel up
    // to 64 values and on the heap beyond. The heap failing gives RC_NO_MEMORY
    // with both out-parameters 0.
    const auto no_memory = [](std::string name, int failing, Call call) {
        return FailureCase{std::move(name), failing, RC_NO_MEMORY, true, std::move(call)};
    };
    Calls calls;
    calls.failing = {
        no_memory("macd signal ring", 0, macd(MA_SMA, 65)),
        no_memory("macd mama signal ring", 0, macd(MA_MAMA, 65)),
        no_memory("stoch slow %K ring", 0, stoch(5, 65, MA_SMA, MA_EMA)),
        no_memory("stoch slow %D ring", 0, stoch(5, 65, MA_EMA, MA_SMA)),
        no_memory("stochf %D ring", 0, stochf(65, MA_SMA)),
        // STOCHRSI's ring of RSI values stands where its RSI array stands, and
        // fails as that array does: RC_BAD_ARGUMENT, both out-parameters 0.
        FailureCase{"stochrsi RSI ring", 0, RC_BAD_ARGUMENT, true, stochrsi(65, 1)},
        no_memory("stochrsi %D ring", 0, stochrsi(5, 65)),
    };
    // The price oscillators run their averages in one pass over the input,
    // the selector's MAMA keeps no FAMA array, the stochastics feed their
    // averages one value per bar, with no %K or RSI array (an exponential
    // average keeps no ring, a short ring lives in the kernel), and a window
    // extreme keeps its block state in its own bytes, whatever its length.
    calls.free = {
        {"apo", apo(MA_SMA)},   {"apo mama", apo(MA_MAMA)},   {"ppo", ppo},   {"bbands mama", bbands},
        {"macd", macd(MA_SMA, 9)}, {"macd mama", macd(MA_MAMA, 64)}, {"mac2", mac2},
        {"stoch", stoch(5, 3, MA_SMA, MA_SMA)}, {"stoch long %K", stoch(17, 64, MA_SMA, MA_SMA)},
        {"stoch ema", stoch(5, 3, MA_EMA, MA_EMA)}, {"stochf", stochf(64, MA_SMA)}, {"stochf ema", stochf(3, MA_EMA)},
        {"stochrsi", stochrsi(64, 64)},
        {"max 16", max(16)}, {"max 30", max(30)}, {"max 150", max(150)}, {"min 30", min(30)},
        {"willr 16", willr(16)}, {"willr 17", willr(17)}, {"aroon 15", aroon(15)}, {"aroon 140", aroon(140)},
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

// The scratch allocations each core indicator's definition lists, on a range
// that gives no output and on one that does (n: as many as the request range;
// FAMA: the selector's array for a MESA average), and the code it gives when
// one of them fails. An indicator may allocate fewer (its stages share one
// pass, its rings and window blocks live in its own bytes), never more, and
// each allocation it does make fails with that code.
struct DefinedAllocations {
    const char* name;
    std::vector<std::pair<std::string, double>> params;  // the rest at their defaults
    int empty;
    int normal;
    RetCode failure;
};

const std::vector<DefinedAllocations>& defined_allocations() {
    static const std::vector<DefinedAllocations> table = {
        // No scratch at all.
        {"sma", {}, 0, 0, RC_OK}, {"ema", {}, 0, 0, RC_OK}, {"wma", {}, 0, 0, RC_OK},
        {"trima", {}, 0, 0, RC_OK}, {"kama", {}, 0, 0, RC_OK}, {"mama", {}, 0, 0, RC_OK},
        {"t3", {}, 0, 0, RC_OK}, {"mom", {}, 0, 0, RC_OK}, {"roc", {}, 0, 0, RC_OK},
        {"rsi", {}, 0, 0, RC_OK}, {"cmo", {}, 0, 0, RC_OK}, {"ultosc", {}, 0, 0, RC_OK},
        {"bop", {}, 0, 0, RC_OK}, {"plus_dm", {}, 0, 0, RC_OK}, {"minus_dm", {}, 0, 0, RC_OK},
        {"plus_di", {}, 0, 0, RC_OK}, {"minus_di", {}, 0, 0, RC_OK}, {"dx", {}, 0, 0, RC_OK},
        {"adx", {}, 0, 0, RC_OK}, {"trange", {}, 0, 0, RC_OK}, {"sar", {}, 0, 0, RC_OK},
        {"var", {}, 0, 0, RC_OK}, {"stddev", {}, 0, 0, RC_OK}, {"ad", {}, 0, 0, RC_OK},
        {"adosc", {}, 0, 0, RC_OK}, {"obv", {}, 0, 0, RC_OK}, {"bbands", {}, 0, 0, RC_OK},
        // The window extremes carry their extreme and never allocate, at any period.
        {"max", {}, 0, 0, RC_OK}, {"min", {}, 0, 0, RC_OK}, {"willr", {}, 0, 0, RC_OK},
        {"aroon", {}, 0, 0, RC_OK}, {"max", {{"period", 1000}}, 0, 0, RC_OK},
        {"min", {{"period", 17}}, 0, 0, RC_OK}, {"willr", {{"period", 600}}, 0, 0, RC_OK},
        {"aroon", {{"period", 1000}}, 0, 0, RC_OK},
        // A window of up to 30 (CCI) or 50 (MFI) values in the frame; MFI takes
        // its heap array before it looks at the range.
        {"cci", {}, 0, 0, RC_OK}, {"cci", {{"period", 31}}, 0, 1, RC_NO_MEMORY},
        {"mfi", {}, 0, 0, RC_OK}, {"mfi", {{"period", 51}}, 1, 1, RC_NO_MEMORY},
        // Two chained exponential averages (DEMA, TEMA); the true range (ATR,
        // NATR, handed to the true range as a null output); ADX (ADXR).
        {"dema", {}, 0, 2, RC_NO_MEMORY}, {"tema", {}, 0, 2, RC_NO_MEMORY},
        {"atr", {}, 0, 1, RC_BAD_ARGUMENT}, {"natr", {}, 0, 1, RC_BAD_ARGUMENT},
        {"adxr", {}, 0, 1, RC_NO_MEMORY}, {"adxr", {{"period", 60}}, 0, 1, RC_NO_MEMORY},
        {"adxr", {{"period", 65}}, 0, 1, RC_NO_MEMORY}, {"adxr", {{"period", 300}}, 0, 1, RC_NO_MEMORY},
        // The shorter average (APO, PPO, taken before the range is looked at);
        // the two averages (MACD); MACD's signal line (MAC2, handed to MACD as
        // a null output).
        {"apo", {}, 1, 1, RC_NO_MEMORY}, {"ppo", {}, 1, 1, RC_NO_MEMORY},
        {"apo", {{"ma_type", MA_MAMA}}, 3, 3, RC_NO_MEMORY},
        {"macd", {}, 0, 2, RC_NO_MEMORY}, {"macd", {{"signal_period", 51}}, 0, 2, RC_NO_MEMORY},
        {"macd", {{"fast_ma_type", MA_MAMA}, {"signal_ma_type", MA_MAMA}}, 0, 4, RC_NO_MEMORY},
        {"mac2", {}, 1, 3, RC_BAD_ARGUMENT}, {"mac2", {{"slow_ma_type", MA_MAMA}}, 1, 4, RC_BAD_ARGUMENT},
        // The %K array, unless an output is an input (STOCH, STOCHF); the RSI
        // array and STOCHF's %K array (STOCHRSI, the RSI array handed to RSI
        // as a null output).
        {"stoch", {}, 0, 1, RC_NO_MEMORY}, {"stoch", {{"fast_k_period", 51}, {"slow_k_period", 40}}, 0, 1, RC_NO_MEMORY},
        {"stoch", {{"slow_k_ma_type", MA_MAMA}, {"slow_d_ma_type", MA_MAMA}}, 0, 3, RC_NO_MEMORY},
        {"stochf", {}, 0, 1, RC_NO_MEMORY}, {"stochf", {{"fast_k_period", 51}, {"fast_d_period", 60}}, 0, 1, RC_NO_MEMORY},
        {"stochf", {{"fast_d_ma_type", MA_MAMA}}, 0, 2, RC_NO_MEMORY},
        {"stochrsi", {}, 0, 2, RC_BAD_ARGUMENT}, {"stochrsi", {{"fast_k_period", 51}}, 0, 2, RC_BAD_ARGUMENT},
        {"stochrsi", {{"fast_d_ma_type", MA_MAMA}}, 0, 3, RC_BAD_ARGUMENT},
        // Rings longer than a kernel keeps in its own bytes come from the heap,
        // once each: a kernel is moved into its run, never copied.
        {"stoch", {{"fast_k_period", 70}, {"slow_k_period", 70}}, 0, 1, RC_NO_MEMORY},
        {"stoch", {{"fast_k_period", 70}, {"slow_d_period", 70}}, 0, 1, RC_NO_MEMORY},
        {"stochf", {{"fast_k_period", 70}, {"fast_d_period", 70}}, 0, 1, RC_NO_MEMORY},
        {"stochrsi", {{"fast_k_period", 70}}, 0, 2, RC_BAD_ARGUMENT},
        {"macd", {{"signal_period", 70}}, 0, 2, RC_NO_MEMORY},
        {"mac2", {{"fast_period", 70}, {"slow_period", 80}}, 1, 3, RC_BAD_ARGUMENT},
        {"apo", {{"fast_period", 70}, {"slow_period", 80}}, 1, 1, RC_NO_MEMORY},
        {"bbands", {{"period", 70}}, 0, 0, RC_OK},
    };
    return table;
}

// The row's parameters, the rest at their defaults; false for a name the
// indicator does not have.
bool set_row_params(const DefinedAllocations& row, const IndicatorInfo& info, Request& request) {
    for (int p = 0; p < info.param_count(); ++p) request.params[p] = info.params[p].default_value;
    for (const auto& [name, value] : row.params) {
        int p = 0;
        while (p < info.param_count() && name != info.params[p].name) ++p;
        if (p == info.param_count()) return false;
        request.params[p] = value;
    }
    return true;
}

// A lookback is arithmetic on the parameters: it takes no storage, even for
// the periods whose rings a computation takes from the heap.
TEST(CoreAllocations, LookbacksTakeNoStorage) {
    for (const DefinedAllocations& row : defined_allocations()) {
        const IndicatorInfo* info = find_indicator(row.name);
        ASSERT_NE(info, nullptr) << row.name;
        Request request;
        ASSERT_TRUE(set_row_params(row, *info, request)) << row.name;
        const std::int32_t want = info->lookback(request.params.data());
        const int attempted = testing::scratch_allocations_attempted();
        testing::fail_scratch_allocation(0);
        const std::int32_t got = info->lookback(request.params.data());
        testing::fail_scratch_allocation(-1);
        EXPECT_EQ(got, want) << row.name;
        EXPECT_EQ(testing::scratch_allocations_attempted(), attempted) << row.name;
    }
}

TEST(CoreAllocations, NeverMoreThanTheDefinitionListsAndEachFailsWithItsCode) {
    constexpr std::size_t BARS = 1200;
    const Bars bars = make_bars(BARS, 33);
    std::set<std::string> covered;
    for (const DefinedAllocations& row : defined_allocations()) {
        const IndicatorInfo* info = find_indicator(row.name);
        ASSERT_NE(info, nullptr) << row.name;
        covered.insert(row.name);
        Request request;
        ASSERT_TRUE(set_row_params(row, *info, request)) << row.name;
        std::vector<std::vector<double>> outputs(std::size_t(info->output_count()), std::vector<double>(BARS));
        for (int i = 0; i < info->input_count(); ++i) {
            request.inputs[i] = named_series(bars, info->inputs[i]).data();
        }
        for (int o = 0; o < info->output_count(); ++o) request.outputs[o] = outputs[std::size_t(o)].data();
        std::int32_t begin = UNTOUCHED, count = UNTOUCHED;
        request.out_begin = &begin;
        request.out_count = &count;

        const std::int32_t lookback = info->lookback(request.params.data());
        ASSERT_GE(lookback, 0) << row.name;
        ASSERT_LT(lookback, std::int32_t(BARS) - 100) << row.name;
        struct Range {
            const char* label;
            std::int32_t first, last;
            int limit;
        };
        std::vector<Range> ranges = {{"normal", 0, std::int32_t(BARS - 1), row.normal}};
        if (lookback > 0) ranges.push_back({"empty", 0, lookback - 1, row.empty});
        for (const Range& range : ranges) {
            const std::string where = std::string(row.name) + " " + range.label + " (row " +
                                      std::to_string(&row - defined_allocations().data()) + ")";
            request.first_index = range.first;
            request.last_index = range.last;
            const int before = testing::scratch_allocations_attempted();
            ASSERT_EQ(info->invoke(request), RC_OK) << where;
            const int allocations = testing::scratch_allocations_attempted() - before;
            EXPECT_LE(allocations, range.limit) << where;
            for (int failing = 0; failing < allocations; ++failing) {
                testing::fail_scratch_allocation(failing);
                const RetCode rc = info->invoke(request);
                testing::fail_scratch_allocation(-1);
                EXPECT_EQ(rc, row.failure) << where << ", allocation " << failing << " failing";
            }
        }
    }
    for (const IndicatorInfo& info : indicator_table()) {
        if (info.set == IndicatorSet::core) {
            EXPECT_TRUE(covered.count(info.name)) << info.name;
        }
    }
}

}  // namespace
}  // namespace movlex::test
