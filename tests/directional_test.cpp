// Directional movement, directional indicators, DX, ADX and ADXR: worked
// examples, bit-exact agreement with plain reference loops, tie rules, the
// near-zero paths and the lookbacks in both library states.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core_lookbacks.hpp"  // generated
#include "directional/movement.hpp"
#include "directional/trend_strength.hpp"
#include "frame/library_state.hpp"
#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Prices {
    std::vector<double> high, low, close;
    std::int32_t last() const { return std::int32_t(high.size()) - 1; }
};

const Prices FIVE_BARS = {{10, 11, 10.5, 12, 11}, {9, 9.5, 9, 10.5, 10}, {9.5, 10.5, 9.5, 11.5, 10}};
const Prices NINE_BARS = {{10, 11, 10.5, 12, 11, 11.5, 12.5, 12, 13},
                          {9, 9.5, 9, 10.5, 10, 10.5, 11, 11, 12},
                          {9.5, 10.5, 9.5, 11.5, 10, 11, 12, 11.5, 12.5}};

struct Result {
    RetCode rc = RC_BAD_ARGUMENT;
    std::int32_t begin = -1;
    std::int32_t count = -1;
    std::vector<double> values;
};

using Runner = Result (*)(const Prices&, std::int32_t first, std::int32_t last, std::int32_t period);

template <auto entry>
Result run_high_low(const Prices& prices, std::int32_t first, std::int32_t last, std::int32_t period) {
    Result result;
    result.values.assign(std::size_t(last - first + 1), -1.0);
    result.rc = entry(first, last, prices.high.data(), prices.low.data(), period, &result.begin, &result.count,
                      result.values.data());
    result.values.resize(result.rc == RC_OK ? std::size_t(result.count) : 0);
    return result;
}

template <auto entry>
Result run_high_low_close(const Prices& prices, std::int32_t first, std::int32_t last, std::int32_t period) {
    Result result;
    result.values.assign(std::size_t(last - first + 1), -1.0);
    result.rc = entry(first, last, prices.high.data(), prices.low.data(), prices.close.data(), period, &result.begin,
                      &result.count, result.values.data());
    result.values.resize(result.rc == RC_OK ? std::size_t(result.count) : 0);
    return result;
}

const Runner PLUS_DM = run_high_low<&MOVLEX_PLUS_DM>;
const Runner MINUS_DM = run_high_low<&MOVLEX_MINUS_DM>;
const Runner PLUS_DI = run_high_low_close<&MOVLEX_PLUS_DI>;
const Runner MINUS_DI = run_high_low_close<&MOVLEX_MINUS_DI>;
const Runner DX = run_high_low_close<&MOVLEX_DX>;
const Runner ADX = run_high_low_close<&MOVLEX_ADX>;
const Runner ADXR = run_high_low_close<&MOVLEX_ADXR>;

struct Named {
    const char* name;
    Runner run;
    int min_period;
};
const Named ALL[] = {
    {"PLUS_DM", PLUS_DM, 1}, {"MINUS_DM", MINUS_DM, 1}, {"PLUS_DI", PLUS_DI, 1}, {"MINUS_DI", MINUS_DI, 1},
    {"DX", DX, 2},           {"ADX", ADX, 2},           {"ADXR", ADXR, 2}};

struct Example {
    const char* name;
    Runner run;
    const Prices* prices;
    std::int32_t expected_begin;
    std::vector<double> expected;  // to four decimals
};

TEST(Directional, WorkedExamples) {
    LibraryStateGuard loaded(false);
    const Example examples[] = {
        {"MINUS_DM", MINUS_DM, &FIVE_BARS, 2, {0.5, 0.3333, 0.7222}},
        {"PLUS_DM", PLUS_DM, &FIVE_BARS, 2, {1.0, 2.1667, 1.4444}},
        {"PLUS_DI", PLUS_DI, &FIVE_BARS, 3, {48.1481, 32.0988}},
        {"MINUS_DI", MINUS_DI, &FIVE_BARS, 3, {7.4074, 16.0494}},
        {"DX", DX, &FIVE_BARS, 3, {73.3333, 33.3333}},
        {"ADX", ADX, &NINE_BARS, 5, {52.3810, 58.9350, 63.3043, 70.8293}},
        {"ADXR", ADXR, &NINE_BARS, 7, {57.8426, 64.8821}},
    };
    for (const Example& example : examples) {
        const Result result = example.run(*example.prices, 0, example.prices->last(), 3);
        ASSERT_EQ(result.rc, RC_OK) << example.name;
        EXPECT_EQ(result.begin, example.expected_begin) << example.name;
        ASSERT_EQ(result.values.size(), example.expected.size()) << example.name;
        for (std::size_t k = 0; k < example.expected.size(); ++k)
            EXPECT_NEAR(result.values[k], example.expected[k], 5e-5) << example.name << " element " << k;
    }

    // ADX of period 3 needs six bars.
    const Result short_adx = ADX(FIVE_BARS, 0, 4, 3);
    EXPECT_EQ(short_adx.rc, RC_OK);
    EXPECT_EQ(short_adx.begin, 0);
    EXPECT_EQ(short_adx.count, 0);
}

TEST(Directional, AdxrAveragesAdxValuesPeriodMinusOneApart) {
    LibraryStateGuard loaded(false);
    const Result adx = ADX(NINE_BARS, 0, 8, 3);
    const Result adxr = ADXR(NINE_BARS, 0, 8, 3);
    ASSERT_EQ(adx.values.size(), 4u);
    ASSERT_EQ(adxr.values.size(), 2u);
    EXPECT_EQ(adxr.values[0], (adx.values[0] + adx.values[2]) * 0.5);
    EXPECT_EQ(adxr.values[1], (adx.values[1] + adx.values[3]) * 0.5);

    // A one-value request at the lookback.
    const Result single = ADXR(NINE_BARS, 7, 7, 3);
    ASSERT_EQ(single.rc, RC_OK);
    EXPECT_EQ(single.begin, 7);
    ASSERT_EQ(single.count, 1);
    EXPECT_EQ(single.values[0], adxr.values[0]);
}

// ADXR keeps only the last period ADX values, in one ring: inside the kernel
// for a short period (no allocation at all), from the heap for a long one,
// where a failure gives RC_NO_MEMORY with the out-parameters and the output
// untouched; a range too short for the lookback takes none.
TEST(Directional, AdxrTakesOneRingAndReportsItsFailure) {
    LibraryStateGuard loaded(false);
    const Result expected = ADXR(NINE_BARS, 0, 8, 3);
    ASSERT_EQ(expected.count, 2);
    std::int32_t begin = -5, count = -7;
    double out[2] = {-1.0, -1.0};
    int before = testing::scratch_allocations_attempted();
    EXPECT_EQ(MOVLEX_ADXR(0, 8, NINE_BARS.high.data(), NINE_BARS.low.data(), NINE_BARS.close.data(), 3, &begin,
                          &count, out),
              RC_OK);
    EXPECT_EQ(testing::scratch_allocations_attempted(), before);

    const Bars bars = make_bars(400, 5);
    std::vector<double> long_out(400, -1.0);
    begin = -5, count = -7;
    before = testing::scratch_allocations_attempted();
    ASSERT_EQ(MOVLEX_ADXR(0, 399, bars.high.data(), bars.low.data(), bars.close.data(), 70, &begin, &count,
                          long_out.data()),
              RC_OK);
    const int allocations = testing::scratch_allocations_attempted() - before;
    EXPECT_GE(allocations, 1);
    for (int failing = 0; failing < allocations; ++failing) {
        begin = -5, count = -7;
        std::fill(long_out.begin(), long_out.end(), -1.0);
        testing::fail_scratch_allocation(failing);
        const RetCode rc = MOVLEX_ADXR(0, 399, bars.high.data(), bars.low.data(), bars.close.data(), 70, &begin,
                                       &count, long_out.data());
        testing::fail_scratch_allocation(-1);
        EXPECT_EQ(rc, RC_NO_MEMORY);
        EXPECT_EQ(begin, -5);
        EXPECT_EQ(count, -7);
        EXPECT_EQ(long_out, std::vector<double>(400, -1.0));
    }

    testing::fail_scratch_allocation(0);
    EXPECT_EQ(MOVLEX_ADXR(0, 100, bars.high.data(), bars.low.data(), bars.close.data(), 70, &begin, &count,
                          long_out.data()),
              RC_OK);
    testing::fail_scratch_allocation(-1);
    EXPECT_EQ(count, 0);
}

struct LookbackCase {
    const char* name;
    std::int32_t (*lookback)(std::int32_t);
    std::int32_t period;
    std::int32_t loaded;       // unstable periods 0
    std::int32_t initialised;  // unstable periods 150
};

TEST(Directional, Lookbacks) {
    const LookbackCase cases[] = {
        {"plus_dm", plus_dm_lookback, DEFAULT_INT, 13, 163},
        {"minus_dm", minus_dm_lookback, DEFAULT_INT, 13, 163},
        {"plus_dm", plus_dm_lookback, 1, 1, 1},
        {"minus_dm", minus_dm_lookback, 2, 1, 151},
        {"plus_di", plus_di_lookback, DEFAULT_INT, 14, 164},
        {"minus_di", minus_di_lookback, DEFAULT_INT, 14, 164},
        {"plus_di", plus_di_lookback, 1, 1, 1},
        {"minus_di", minus_di_lookback, 2, 2, 152},
        {"dx", dx_lookback, DEFAULT_INT, 14, 164},
        {"adx", adx_lookback, DEFAULT_INT, 27, 177},
        {"adxr", adxr_lookback, DEFAULT_INT, 40, 190},
        {"adxr", adxr_lookback, 3, 7, 157},
        {"dx", dx_lookback, 1, -1, -1},
        {"adx", adx_lookback, 1, -1, -1},
        {"adxr", adxr_lookback, 1, -1, -1},
        {"plus_dm", plus_dm_lookback, 0, -1, -1},
        {"minus_di", minus_di_lookback, 100001, -1, -1},
        {"adx", adx_lookback, -5, -1, -1},
        {"plus_di", plus_di_lookback, 100000, 100000, 100150},
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (const LookbackCase& c : cases)
            EXPECT_EQ(c.lookback(c.period), initialised ? c.initialised : c.loaded)
                << c.name << "(" << c.period << "), initialised " << initialised;
    }
}

// ---- Reference loops, written straight from the definitions ----

double plus_move(const Prices& p, Index i) {
    const double up = p.high[i] - p.high[i - 1], down = p.low[i - 1] - p.low[i];
    return (up > 0 && up > down) ? up : 0.0;
}
double minus_move(const Prices& p, Index i) {
    const double up = p.high[i] - p.high[i - 1], down = p.low[i - 1] - p.low[i];
    return (down > 0 && down > up) ? down : 0.0;
}
double range_of(const Prices& p, Index i) {
    double m = p.high[i] - p.low[i];
    const double a = std::fabs(p.high[i] - p.close[i - 1]);
    if (a > m) m = a;
    const double b = std::fabs(p.low[i] - p.close[i - 1]);
    if (b > m) m = b;
    return m;
}
bool near_zero(double v) { return -1e-8 < v && v < 1e-8; }

// Sums after the seed and each smoothing step, for bars r + 1 .. last.
struct Smoothed {
    std::vector<double> plus, minus, range;  // indexed by bar; valid from r + period - 1
};
Smoothed smooth(const Prices& p, Index r, Index last, int period) {
    Smoothed s{std::vector<double>(std::size_t(last + 1)), std::vector<double>(std::size_t(last + 1)),
               std::vector<double>(std::size_t(last + 1))};
    double pdm = 0, mdm = 0, tr = 0;
    for (Index i = r + 1; i <= last; ++i) {
        if (i < r + period) {
            pdm = pdm + plus_move(p, i);
            mdm = mdm + minus_move(p, i);
            tr = tr + range_of(p, i);
        } else {
            pdm = (pdm - pdm / period) + plus_move(p, i);
            mdm = (mdm - mdm / period) + minus_move(p, i);
            tr = (tr - tr / period) + range_of(p, i);
        }
        s.plus[i] = pdm;
        s.minus[i] = mdm;
        s.range[i] = tr;
    }
    return s;
}

bool dx_of(const Smoothed& s, Index i, double& dx) {
    if (near_zero(s.range[i])) return false;
    const double mdi = (s.minus[i] / s.range[i]) * 100, pdi = (s.plus[i] / s.range[i]) * 100;
    if (near_zero(mdi + pdi)) return false;
    dx = (std::fabs(mdi - pdi) / (mdi + pdi)) * 100;
    return true;
}

std::vector<double> reference(const char* name, const Prices& p, int first, int last, int period) {
    const std::string which = name;
    const bool plus = which.rfind("PLUS", 0) == 0;
    std::vector<double> out;
    if (which.ends_with("_DM") || which.ends_with("_DI")) {
        const bool is_dm = which.ends_with("_DM");
        const int u = period == 1 ? 0
                                  : unstable_period(is_dm ? (plus ? UNSTABLE_PLUS_DM : UNSTABLE_MINUS_DM)
                                                          : (plus ? UNSTABLE_PLUS_DI : UNSTABLE_MINUS_DI));
        const int lookback = period == 1 ? 1 : (is_dm ? period - 1 : period) + u;
        const int start = std::max(first, lookback);
        if (period == 1) {
            for (int i = start; i <= last; ++i) {
                const double m = plus ? plus_move(p, i) : minus_move(p, i);
                out.push_back(is_dm ? m
                                    : (m == 0 ? 0.0 : (near_zero(range_of(p, i)) ? 0.0 : (m / range_of(p, i)) * 100)));
            }
            return out;
        }
        const Smoothed s = smooth(p, start - lookback, last, period);
        for (int i = start; i <= last; ++i) {
            const double m = plus ? s.plus[i] : s.minus[i];
            out.push_back(is_dm ? m : (near_zero(s.range[i]) ? 0.0 : (m / s.range[i]) * 100));
        }
        return out;
    }
    if (which == "DX") {
        const int lookback = period + unstable_period(UNSTABLE_DX);
        const int start = std::max(first, lookback);
        const Smoothed s = smooth(p, start - lookback, last, period);
        double dx = 0;
        for (int i = start; i <= last; ++i) {
            dx_of(s, i, dx);
            out.push_back(dx);
        }
        return out;
    }
    if (which == "ADX") {
        const int u = unstable_period(UNSTABLE_ADX);
        const int lookback = 2 * period - 1 + u;
        const int start = std::max(first, lookback);
        const int r = start - lookback;
        const Smoothed s = smooth(p, r, last, period);
        double sum = 0, dx = 0;
        for (int i = r + period; i <= r + 2 * period - 1; ++i)
            if (dx_of(s, i, dx)) sum = sum + dx;
        double adx = sum / period;  // the ADX of bar r + 2 * period - 1
        for (int i = r + 2 * period - 1; i <= last; ++i) {
            if (i > r + 2 * period - 1 && dx_of(s, i, dx)) adx = (dx + (period - 1) * adx) / period;
            if (i >= start) out.push_back(adx);
        }
        return out;
    }
    // ADXR
    const int lookback = 3 * period - 2 + unstable_period(UNSTABLE_ADX);
    const int start = std::max(first, lookback);
    const std::vector<double> adx = reference("ADX", p, start - (period - 1), last, period);
    for (int j = 0; j <= last - start; ++j) out.push_back((adx[j] + adx[j + period - 1]) * 0.5);
    return out;
}

// Random bars with a flat stretch long enough for the short-period ranges to
// decay into the near-zero band, and an outside bar with equal moves.
Prices test_prices() {
    const Bars bars = make_bars(1400, 11);
    Prices p{bars.high, bars.low, bars.close};
    for (std::size_t i = 500; i < 640; ++i) p.high[i] = p.low[i] = p.close[i] = p.close[499];
    p.high[800] = p.high[799] + 1.5;
    p.low[800] = p.low[799] - 1.5;
    return p;
}

struct Window {
    int first, last, period;
};

TEST(Directional, AgreeBitForBitWithReferenceLoops) {
    const Prices prices = test_prices();
    const int last = prices.last();
    const Window windows[] = {{0, last, 2},   {0, last, 3},   {0, last, 14},    {300, 900, 14},
                              {41, 41, 14},   {560, 700, 5},  {0, last, 1},     {1399, 1399, 1},
                              {0, last, 250}, {640, last, 2}, {1000, 1399, 100}};
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (const Named& indicator : ALL) {
            for (const Window& r : windows) {
                const Result result = indicator.run(prices, r.first, r.last, r.period);
                if (r.period < indicator.min_period) {
                    EXPECT_EQ(result.rc, RC_BAD_ARGUMENT) << indicator.name;
                    continue;
                }
                ASSERT_EQ(result.rc, RC_OK) << indicator.name;
                const std::vector<double> expected = reference(indicator.name, prices, r.first, r.last, r.period);
                EXPECT_TRUE(same_values(expected, result.values.data(), result.values.size()))
                    << indicator.name << " " << r.first << ".." << r.last << " period " << r.period
                    << (initialised ? " initialised" : " loaded");
                if (!expected.empty()) {
                    EXPECT_EQ(result.begin, r.last - int(expected.size()) + 1);
                }
            }
        }
    }
}

TEST(Directional, SeedMovesWithTheRequest) {
    LibraryStateGuard loaded(false);
    const Prices prices = test_prices();
    for (const Named& indicator : ALL) {
        const Result whole = indicator.run(prices, 0, 400, 14);
        const Result later = indicator.run(prices, 300, 400, 14);
        ASSERT_EQ(later.begin, 300) << indicator.name;
        ASSERT_EQ(later.count, 101) << indicator.name;
        const std::size_t offset = std::size_t(300 - whole.begin);
        EXPECT_NE(later.values[0], whole.values[offset]) << indicator.name;
    }
}

TEST(Directional, ConstantPricesGiveZeroEverywhere) {
    const Prices flat{std::vector<double>(400, 50.0), std::vector<double>(400, 50.0), std::vector<double>(400, 50.0)};
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (const Named& indicator : ALL) {
            for (int period : {1, 2, 14}) {
                if (period < indicator.min_period) continue;
                const Result result = indicator.run(flat, 0, 399, period);
                ASSERT_EQ(result.rc, RC_OK) << indicator.name;
                ASSERT_GT(result.count, 0) << indicator.name;
                for (double value : result.values) ASSERT_EQ(value, 0.0) << indicator.name << " period " << period;
            }
        }
    }
}

// Bar 1 against bar 0 (high 10, low 8, close 9).
struct BarCase {
    const char* what;
    double high, low, close;
    double plus_dm, minus_dm, plus_di, minus_di;
};

TEST(Directional, OneBarMovementAndItsTieRules) {
    LibraryStateGuard initialised(true);  // period 1 ignores the unstable periods
    const BarCase cases[] = {
        {"equal up and down moves", 12, 6, 9, 0, 0, 0, 0},
        {"inside bar", 9.5, 8.5, 9, 0, 0, 0, 0},
        {"outside bar, larger up move", 13, 7, 9, 3, 0, 50, 0},
        {"outside bar, larger down move", 11, 5, 9, 0, 3, 0, 50},
        {"up bar, gap above the close", 11, 10, 10.5, 1, 0, 50, 0},
        {"down bar", 9, 7, 8, 0, 1, 0, 50},
    };
    for (const BarCase& c : cases) {
        const Prices bars{{10, c.high}, {8, c.low}, {9, c.close}};
        const double expected[] = {c.plus_dm, c.minus_dm, c.plus_di, c.minus_di};
        for (int k = 0; k < 4; ++k) {
            const Result result = ALL[k].run(bars, 0, 1, 1);
            ASSERT_EQ(result.rc, RC_OK);
            EXPECT_EQ(result.begin, 1) << c.what << " " << ALL[k].name;
            ASSERT_EQ(result.count, 1) << c.what << " " << ALL[k].name;
            EXPECT_EQ(result.values[0], expected[k]) << c.what << " " << ALL[k].name;
        }
    }
}

TEST(Directional, DxOfEqualSidesIsZeroAndOfOneSideIsHundred) {
    LibraryStateGuard loaded(false);
    // Bar 1 moves up by 1, bar 2 down by 1, bar 3 is an inside bar.
    const Prices balanced{{10, 11, 10, 9.8}, {9, 10, 9, 9.2}, {9.5, 10.5, 9.5, 9.5}};
    const Result dx = DX(balanced, 0, 3, 3);
    ASSERT_EQ(dx.count, 1);
    EXPECT_EQ(dx.values[0], 0.0);

    Prices rising;
    for (int i = 0; i < 60; ++i) {
        rising.high.push_back(100.0 + i);
        rising.low.push_back(99.0 + i);
        rising.close.push_back(99.5 + i);
    }
    for (Runner run : {DX, ADX, ADXR}) {
        const Result result = run(rising, 0, 59, 5);
        ASSERT_GT(result.count, 0);
        for (double value : result.values) EXPECT_EQ(value, 100.0);
    }
}

TEST(Directional, DxRepeatsAndAdxHoldsOnceTheRangeVanishes) {
    LibraryStateGuard loaded(false);
    const Prices prices = test_prices();  // flat from bar 500 to 639
    const Result dx = DX(prices, 0, 639, 2);
    const Result adx = ADX(prices, 0, 639, 2);
    ASSERT_EQ(dx.begin, 2);
    ASSERT_EQ(adx.begin, 3);
    // With period 2 the smoothed range halves on every flat bar; well before
    // bar 600 it lies inside the near-zero band.
    const double held_dx = dx.values[600 - 2];
    const double held_adx = adx.values[600 - 3];
    EXPECT_NE(held_dx, 0.0);
    for (int bar = 600; bar <= 639; ++bar) {
        EXPECT_EQ(dx.values[std::size_t(bar - 2)], held_dx) << bar;
        EXPECT_EQ(adx.values[std::size_t(bar - 3)], held_adx) << bar;
    }
    // Before that the ADX was still moving towards the DX.
    EXPECT_NE(adx.values[520 - 3], held_adx);
}

}  // namespace
}  // namespace movlex::test
