// Momentum, rate of change, balance of power, Williams %R, Aroon, the
// ultimate oscillator and the commodity channel index.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core_lookbacks.hpp"  // generated
#include "frame/scratch.hpp"
#include "oscillators/balance_of_power.hpp"
#include "oscillators/commodity_channel.hpp"
#include "oscillators/momentum.hpp"
#include "oscillators/range_position.hpp"
#include "oscillators/ultimate.hpp"
#include "output_capture.hpp"
#include "test_support.hpp"
#include "volume/accumulation.hpp"
#include "volume/money_flow.hpp"
#include "volume/on_balance.hpp"

namespace movlex::test {
namespace {

using Result = Captured;

Result run_point_to_point(decltype(&MOVLEX_MOM) entry, const std::vector<double>& input, int first, int last,
                          int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* begin, std::int32_t* count, double* out) {
        return entry(first, last, input.data(), period, begin, count, out);
    });
}

Result willr(const Bars& b, int first, int last, int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* begin, std::int32_t* count, double* out) {
        return MOVLEX_WILLR(first, last, b.high.data(), b.low.data(), b.close.data(), period, begin, count, out);
    });
}

// values: Aroon down, second: Aroon up.
Result aroon(const Bars& b, int first, int last, int period) {
    return capture_pair(std::size_t(last - first + 1),
                        [&](std::int32_t* begin, std::int32_t* count, double* down, double* up) {
                            return MOVLEX_AROON(first, last, b.high.data(), b.low.data(), period, begin, count, down,
                                                up);
                        });
}

Result ultosc(const Bars& b, int first, int last, int p1, int p2, int p3) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* begin, std::int32_t* count, double* out) {
        return MOVLEX_ULTOSC(first, last, b.high.data(), b.low.data(), b.close.data(), p1, p2, p3, begin, count, out);
    });
}

Result cci(const Bars& b, int first, int last, int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* begin, std::int32_t* count, double* out) {
        return MOVLEX_CCI(first, last, b.high.data(), b.low.data(), b.close.data(), period, begin, count, out);
    });
}

// Bars from high, low and close columns (open = close).
Bars bars_of(const std::vector<double>& high, const std::vector<double>& low, const std::vector<double>& close) {
    Bars b;
    b.high = high;
    b.low = low;
    b.close = close;
    b.open = close;
    b.volume.assign(close.size(), 1.0);
    return b;
}

// Prices on a coarse grid so that equal highs and lows are common.
Bars bars_with_ties(std::size_t count, std::uint64_t seed) {
    Bars b = make_bars(count, seed);
    for (std::vector<double>* column : {&b.open, &b.high, &b.low, &b.close})
        for (double& v : *column) v = std::round(v);
    return b;
}

TEST(Lookbacks, DefaultsInBothStates) {
    struct Case {
        std::int32_t (*lookback)();
        std::int32_t loaded, initialised;
    };
    const Case cases[] = {
        {[] { return ad_lookback(); }, 0, 0},
        {[] { return adosc_lookback(DEFAULT_INT, DEFAULT_INT); }, 9, 159},
        {[] { return obv_lookback(); }, 0, 0},
        {[] { return mfi_lookback(DEFAULT_INT); }, 14, 164},
        {[] { return mom_lookback(DEFAULT_INT); }, 10, 10},
        {[] { return roc_lookback(DEFAULT_INT); }, 10, 10},
        {[] { return willr_lookback(DEFAULT_INT); }, 13, 13},
        {[] { return aroon_lookback(DEFAULT_INT); }, 14, 14},
        {[] { return ultosc_lookback(DEFAULT_INT, DEFAULT_INT, DEFAULT_INT); }, 28, 28},
        {[] { return ultosc_lookback(3, DEFAULT_INT, 5); }, 14, 14},
        {[] { return cci_lookback(DEFAULT_INT); }, 13, 13},
        {[] { return bop_lookback(); }, 0, 0},
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (std::size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ(cases[i].lookback(), initialised ? cases[i].initialised : cases[i].loaded) << "case " << i;
    }
}

TEST(Momentum, DifferenceAndFirstOutput) {
    const std::vector<double> input = {1, 4, 9, 16, 25, 36, 49, 64, 81, 100, 121, 144};
    const Result one = run_point_to_point(MOVLEX_MOM, input, 0, 4, 1);
    ASSERT_EQ(one.rc, RC_OK);
    EXPECT_EQ(one.begin, 1);
    EXPECT_TRUE(same_values({3, 5, 7, 9}, one.values.data(), one.values.size()));

    const Result too_short = run_point_to_point(MOVLEX_MOM, input, 0, 9, DEFAULT_INT);
    EXPECT_EQ(too_short.rc, RC_OK);
    EXPECT_EQ(too_short.count, 0);
    const Result first = run_point_to_point(MOVLEX_MOM, input, 0, 10, DEFAULT_INT);
    ASSERT_EQ(first.count, 1);
    EXPECT_EQ(first.begin, 10);
    EXPECT_EQ(first.values[0], 120);
}

TEST(RateOfChange, PercentChangeAgainstTheReference) {
    struct Case {
        double reference, current, expected;
    };
    for (const Case& c : {Case{100, 150, 50}, Case{100, 200, 100}, Case{100, 110, 10.000000000000009},
                          Case{100, 100, 0}, Case{0, 5, 0}, Case{-0.0, 5, 0}, Case{-100, 50, -150},
                          Case{-100, -150, 50}}) {
        const Result r = run_point_to_point(MOVLEX_ROC, {c.reference, c.current}, 1, 1, 1);
        ASSERT_EQ(r.rc, RC_OK);
        ASSERT_EQ(r.count, 1);
        EXPECT_TRUE(same_bits(r.values[0], c.expected)) << c.current << " against " << c.reference << ": "
                                                        << r.values[0];
    }
}

TEST(BalanceOfPower, OneSidedRangeGuard) {
    struct Case {
        double open, high, low, close, expected;
    };
    for (const Case& c : {Case{10, 12, 10, 12, 1}, Case{12, 12, 10, 10, -1}, Case{11, 12, 10, 11, 0},
                          Case{10, 12, 10, 11, 0.5}, Case{9, 10, 10, 11, 0}, Case{11, 10, 12, 9, 0},
                          Case{0, 1e-8, 0, 1e-8, 1}, Case{0, 5e-9, 0, 5e-9, 0}}) {
        const std::vector<double> open = {c.open}, high = {c.high}, low = {c.low}, close = {c.close};
        std::int32_t begin = -1, count = -1;
        double out = NAN;
        ASSERT_EQ(MOVLEX_BOP(0, 0, open.data(), high.data(), low.data(), close.data(), &begin, &count, &out), RC_OK);
        EXPECT_EQ(begin, 0);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(out, c.expected) << c.open << " " << c.high << " " << c.low << " " << c.close;
    }
}

TEST(WilliamsR, PositionOfTheCloseInTheWindow) {
    // Window of 3 bars ending at index 2: highest high 12, lowest low 8.
    const Bars at_high = bars_of({10, 12, 11}, {9, 8, 10}, {9, 9, 12});
    const Bars at_low = bars_of({10, 12, 11}, {9, 8, 10}, {9, 9, 8});
    const Bars middle = bars_of({10, 12, 11}, {9, 8, 10}, {9, 9, 11});
    const Bars flat = bars_of({10, 10, 10}, {10, 10, 10}, {10, 10, 10});
    struct Case {
        const Bars* bars;
        double expected;
    };
    for (const Case& c : {Case{&at_high, 0}, Case{&at_low, -100}, Case{&middle, -25}, Case{&flat, 0}}) {
        const Result r = willr(*c.bars, 0, 2, 3);
        ASSERT_EQ(r.rc, RC_OK);
        EXPECT_EQ(r.begin, 2);
        ASSERT_EQ(r.count, 1);
        EXPECT_EQ(r.values[0], c.expected);
    }
}

// Extremes searched afresh for every bar, newest or oldest winning ties.
struct Extreme {
    double value;
    int index;
};

Extreme brute_extreme(const std::vector<double>& series, int trailing, int today, bool highest, bool newest_wins) {
    Extreme e{series[trailing], trailing};
    for (int j = trailing + 1; j <= today; ++j) {
        const bool better = highest ? series[j] > e.value : series[j] < e.value;
        if (better || (newest_wins && series[j] == e.value)) e = {series[j], j};
    }
    return e;
}

TEST(WilliamsR, AgreesWithRescanningEveryWindow) {
    const Bars b = bars_with_ties(600, 3);
    for (int period : {2, 5, 14, 60}) {
        const Result r = willr(b, 0, 599, period);
        ASSERT_EQ(r.rc, RC_OK);
        for (int today = period - 1; today <= 599; ++today) {
            const double hh = brute_extreme(b.high, today - period + 1, today, true, false).value;
            const double ll = brute_extreme(b.low, today - period + 1, today, false, false).value;
            const double scaled = (hh - ll) / -100;
            const double expected = scaled == 0 ? 0 : (hh - b.close[today]) / scaled;
            ASSERT_TRUE(same_bits(r.values[today - (period - 1)], expected)) << "period " << period << " bar " << today;
        }
    }
}

TEST(Aroon, NewestBarWinsEveryTie) {
    const Bars flat = bars_of(std::vector<double>(10, 5.0), std::vector<double>(10, 4.0), std::vector<double>(10, 4.5));
    const Result r = aroon(flat, 0, 9, 4);
    ASSERT_EQ(r.rc, RC_OK);
    EXPECT_EQ(r.begin, 4);
    for (int k = 0; k < r.count; ++k) {
        EXPECT_EQ(r.values[k], 100);
        EXPECT_EQ(r.second[k], 100);
    }

    // Period 3, window of 4 bars ending at index 3: the high is 9 at indices
    // 0 and 2 (index 2 counts), the low at index 0 only.
    const Bars ties = bars_of({9, 7, 9, 8}, {1, 3, 2, 2}, {5, 5, 5, 5});
    const Result t = aroon(ties, 3, 3, 3);
    ASSERT_EQ(t.count, 1);
    EXPECT_EQ(t.second[0], 2 * (100.0 / 3));
    EXPECT_EQ(t.values[0], 0.0);
}

TEST(Aroon, AgreesWithRescanningEveryWindow) {
    const Bars b = bars_with_ties(600, 5);
    for (int period : {2, 3, 14, 60}) {
        const Result r = aroon(b, 0, 599, period);
        ASSERT_EQ(r.rc, RC_OK);
        ASSERT_EQ(r.begin, period);
        const double factor = 100.0 / period;
        for (int today = period; today <= 599; ++today) {
            const int up = brute_extreme(b.high, today - period, today, true, true).index;
            const int down = brute_extreme(b.low, today - period, today, false, true).index;
            ASSERT_EQ(r.second[today - period], double(up - today + period) * factor) << "bar " << today;
            ASSERT_EQ(r.values[today - period], double(down - today + period) * factor) << "bar " << today;
        }
    }
    const Result three = aroon(b, 0, 599, 3);
    for (double v : three.values) {
        const double steps = v / 33.333333333333336;
        EXPECT_TRUE(v == 0 || v == 33.333333333333336 || v == 2 * 33.333333333333336 || v == 100) << v << " " << steps;
    }
}

// The ultimate oscillator from its definition, every window summed afresh.
std::vector<double> windowed_ultosc(const Bars& b, int first, int last, std::array<int, 3> periods) {
    std::sort(periods.begin(), periods.end());
    auto pressure = [&](int i) { return b.close[i] - std::min(b.low[i], b.close[i - 1]); };
    auto range = [&](int i) {
        return std::max({b.high[i] - b.low[i], std::fabs(b.high[i] - b.close[i - 1]),
                         std::fabs(b.low[i] - b.close[i - 1])});
    };
    std::vector<double> out;
    for (int today = std::max(first, periods[2]); today <= last; ++today) {
        double sum = 0;
        const double weights[3] = {4, 2, 1};
        for (int w = 0; w < 3; ++w) {
            double bp = 0, tr = 0;
            for (int i = today - periods[w] + 1; i <= today; ++i) {
                bp += pressure(i);
                tr += range(i);
            }
            if (std::fabs(tr) >= 1e-8) sum += weights[w] * bp / tr;
        }
        out.push_back(sum / 7 * 100);
    }
    return out;
}

TEST(UltimateOscillator, AgreesWithItsDefinitionInAnyPeriodOrder) {
    const Bars b = make_bars(500, 11);
    for (std::array<int, 3> periods : {std::array{7, 14, 28}, std::array{28, 7, 14}, std::array{14, 28, 7},
                                       std::array{5, 5, 40}, std::array{1, 2, 3}}) {
        const Result r = ultosc(b, 0, 499, periods[0], periods[1], periods[2]);
        ASSERT_EQ(r.rc, RC_OK);
        const std::vector<double> expected = windowed_ultosc(b, 0, 499, periods);
        ASSERT_EQ(r.begin, std::max({periods[0], periods[1], periods[2]}));
        ASSERT_EQ(r.values.size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k)
            ASSERT_NEAR(r.values[k], expected[k], 1e-9) << periods[0] << "/" << periods[1] << "/" << periods[2];
    }
    const Result sorted = ultosc(b, 0, 499, 7, 14, 28);
    for (auto [p1, p2, p3] : {std::array{28, 7, 14}, std::array{14, 28, 7}, std::array{28, 14, 7}}) {
        const Result r = ultosc(b, 0, 499, p1, p2, p3);
        EXPECT_TRUE(same_values(sorted.values, r.values.data(), r.values.size()));
    }
}

TEST(UltimateOscillator, SingleBarWindowsAndSkippedTerms) {
    // Periods 1: 100 * bp / tr of each bar alone, 0 on a bar without range.
    const Bars b = bars_of({12, 11, 10, 10}, {8, 9, 10, 10}, {10, 10.5, 10, 10});
    const Result single = ultosc(b, 0, 3, 1, 1, 1);
    ASSERT_EQ(single.rc, RC_OK);
    EXPECT_EQ(single.begin, 1);
    ASSERT_EQ(single.count, 3);
    EXPECT_NEAR(single.values[0], 100 * 1.5 / 2, 1e-12);  // bp 10.5 - 9, tr 11 - 9
    EXPECT_EQ(single.values[1], 0.0);                      // bp 0, tr 0.5 (close 10.5 before)
    EXPECT_EQ(single.values[2], 0.0);                      // no range at all

    // Only the longest window has range; its ratio is still divided by 7.
    const Bars gap = bars_of({10, 12, 11, 11, 11}, {10, 8, 11, 11, 11}, {10, 11, 11, 11, 11});
    const Result skipped = ultosc(gap, 3, 4, 1, 2, 3);
    ASSERT_EQ(skipped.rc, RC_OK);
    ASSERT_EQ(skipped.count, 2);
    EXPECT_EQ(skipped.values[0], (0.75 / 7) * 100);  // long window: bp 3 of tr 4
    EXPECT_EQ(skipped.values[1], 0.0);

    const Bars constant = bars_of(std::vector<double>(40, 3.0), std::vector<double>(40, 3.0),
                                  std::vector<double>(40, 3.0));
    const Result c = ultosc(constant, 0, 39, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT);
    ASSERT_EQ(c.count, 12);
    for (double v : c.values) EXPECT_EQ(v, 0.0);
}

// The commodity channel index as defined: a circular buffer summed in slot
// order, or (for comparison) the same window summed oldest first.
std::vector<double> reference_cci(const Bars& b, int first, int last, int period, bool slot_order) {
    auto typical = [&](int i) { return ((b.high[i] + b.low[i]) + b.close[i]) / 3; };
    std::vector<double> buffer(std::size_t(period), 0.0);
    std::vector<double> out;
    const int start = std::max(first, period - 1);
    int slot = 0;
    for (int i = start - period + 1; i < start; ++i) buffer[std::size_t(slot++ % period)] = typical(i);
    slot %= period;
    for (int today = start; today <= last; ++today) {
        buffer[std::size_t(slot)] = typical(today);
        std::vector<double> ordered;
        for (int j = 0; j < period; ++j)
            ordered.push_back(buffer[std::size_t(slot_order ? j : (slot + 1 + j) % period)]);
        double sum = 0, deviation = 0;
        for (double v : ordered) sum += v;
        const double mean = sum / period;
        for (double v : ordered) deviation += std::fabs(v - mean);
        const double d = typical(today) - mean;
        out.push_back(d == 0 || deviation == 0 ? 0.0 : d / ((deviation / period) * 0.015));
        slot = (slot + 1) % period;
    }
    return out;
}

TEST(CommodityChannel, SumsTheBufferInSlotOrder) {
    const Bars b = make_bars(800, 12);
    bool time_order_differs = false;
    for (int period : {2, 14, 30, 31, 97}) {
        for (int first : {0, 333}) {
            const Result r = cci(b, first, 799, period);
            ASSERT_EQ(r.rc, RC_OK);
            EXPECT_EQ(r.begin, std::max(first, period - 1));
            EXPECT_TRUE(same_values(reference_cci(b, first, 799, period, true), r.values.data(), r.values.size()))
                << "period " << period << " from " << first;
            const std::vector<double> time_order = reference_cci(b, first, 799, period, false);
            time_order_differs |= !same_values(time_order, r.values.data(), r.values.size());
        }
    }
    EXPECT_TRUE(time_order_differs) << "the data never tells slot order from time order";
}

TEST(CommodityChannel, SmallCases) {
    const Bars constant = bars_of(std::vector<double>(20, 7.0), std::vector<double>(20, 6.0),
                                  std::vector<double>(20, 6.5));
    const Result flat = cci(constant, 0, 19, DEFAULT_INT);
    ASSERT_EQ(flat.rc, RC_OK);
    EXPECT_EQ(flat.begin, 13);
    for (double v : flat.values) EXPECT_EQ(v, 0.0);

    // Period 2 on distinct typical prices: +-1 / 0.015, the sign of the move.
    const Bars moves = bars_of({3, 6, 4}, {3, 6, 4}, {3, 6, 4});
    const Result two = cci(moves, 0, 2, 2);
    ASSERT_EQ(two.count, 2);
    EXPECT_NEAR(two.values[0], 1 / 0.015, 1e-9);
    EXPECT_NEAR(two.values[1], -1 / 0.015, 1e-9);

    // Today's typical price equal to the window mean: 0 despite the deviation.
    const Bars centred = bars_of({1, 3, 2}, {1, 3, 2}, {1, 3, 2});
    const Result mean = cci(centred, 2, 2, 3);
    ASSERT_EQ(mean.count, 1);
    EXPECT_EQ(mean.values[0], 0.0);
}

TEST(CommodityChannel, LongPeriodsComeFromTheHeap) {
    const Bars b = make_bars(100, 13);
    const int before = testing::scratch_allocations_attempted();
    EXPECT_EQ(cci(b, 0, 99, 30).rc, RC_OK);
    EXPECT_EQ(testing::scratch_allocations_attempted(), before);
    EXPECT_EQ(cci(b, 0, 99, 31).rc, RC_OK);
    EXPECT_EQ(testing::scratch_allocations_attempted(), before + 1);

    std::int32_t begin = -5, count = -6;
    std::vector<double> out(100, -7.0);
    testing::fail_scratch_allocation(0);
    const RetCode code =
        MOVLEX_CCI(0, 99, b.high.data(), b.low.data(), b.close.data(), 31, &begin, &count, out.data());
    testing::fail_scratch_allocation(-1);
    EXPECT_EQ(code, RC_NO_MEMORY);
    EXPECT_EQ(begin, -5);
    EXPECT_EQ(count, -6);
    for (double v : out) ASSERT_EQ(v, -7.0);

    // A range too short for the period returns before the buffer is taken.
    testing::fail_scratch_allocation(0);
    EXPECT_EQ(MOVLEX_CCI(0, 20, b.high.data(), b.low.data(), b.close.data(), 31, &begin, &count, out.data()), RC_OK);
    testing::fail_scratch_allocation(-1);
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace movlex::test
