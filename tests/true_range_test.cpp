#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core_lookbacks.hpp"  // generated
#include "directional/true_range.hpp"
#include "frame/library_state.hpp"
#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Series {
    int begin = 0;
    std::vector<double> values;
};

double reference_true_range(const Bars& bars, int i) {
    const double h = bars.high[i], l = bars.low[i], pc = bars.close[i - 1];
    double m = h - l;
    if (std::fabs(h - pc) > m) m = std::fabs(h - pc);
    if (std::fabs(l - pc) > m) m = std::fabs(l - pc);
    return m;
}

double percent_of_close(double value, double close) {
    if (-1e-8 < close && close < 1e-8) return 0.0;
    return (value / close) * 100.0;
}

// ATR (and NATR) step by step as documented: the true ranges from
// start - lookback + 1, their first period averaged, Wilder steps through the
// unstable stretch and the request.
Series reference_average(const Bars& bars, int first, int last, int period, int unstable, bool normalised) {
    const int lookback = period + unstable;
    const int start = std::max(first, lookback);
    Series result;
    if (start > last) return result;
    result.begin = start;
    auto emit = [&](double value, int bar) {
        result.values.push_back(normalised ? percent_of_close(value, bars.close[bar]) : value);
    };
    if (period == 1) {
        for (int i = start; i <= last; ++i) emit(reference_true_range(bars, i), i);
        return result;
    }
    std::vector<double> ranges;
    for (int i = start - lookback + 1; i <= last; ++i) ranges.push_back(reference_true_range(bars, i));
    double atr = 0.0;
    for (int k = 0; k < period; ++k) atr = atr + ranges[k];
    atr = atr / double(period);
    std::size_t k = std::size_t(period);
    for (; k < std::size_t(period + unstable); ++k) atr = ((period - 1) * atr + ranges[k]) / period;
    emit(atr, start);
    for (int i = start + 1; i <= last; ++i, ++k) {
        atr = ((period - 1) * atr + ranges[k]) / period;
        emit(atr, i);
    }
    return result;
}

using Entry = RetCode(MOVLEX_CALL*)(std::int32_t, std::int32_t, const double*, const double*, const double*,
                                    std::int32_t, std::int32_t*, std::int32_t*, double*);

struct Average {
    const char* name;
    Entry entry;
    bool normalised;
    UnstableSlot slot;
};

const Average AVERAGES[] = {
    {"ATR", MOVLEX_ATR, false, UNSTABLE_ATR},
    {"NATR", MOVLEX_NATR, true, UNSTABLE_NATR},
};

struct FailingAllocation {
    explicit FailingAllocation(int index) { movlex::testing::fail_scratch_allocation(index); }
    ~FailingAllocation() { movlex::testing::fail_scratch_allocation(-1); }
};

Bars five_bars() {
    Bars bars;
    bars.high = {10, 11, 10.5, 12, 11};
    bars.low = {9, 9.5, 9, 10.5, 10};
    bars.close = {9.5, 10.5, 9.5, 11.5, 10};
    return bars;
}

TEST(TrueRange, FiveBarExample) {
    LibraryStateGuard loaded(false);
    const Bars bars = five_bars();
    std::vector<double> out(5, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_TRANGE(0, 4, bars.high.data(), bars.low.data(), bars.close.data(), &begin, &count, out.data()),
              RC_OK);
    EXPECT_EQ(begin, 1);
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(same_values({1.5, 1.5, 2.5, 1.5}, out.data(), 4));

    ASSERT_EQ(MOVLEX_ATR(0, 4, bars.high.data(), bars.low.data(), bars.close.data(), 3, &begin, &count, out.data()),
              RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 2);
    EXPECT_NEAR(out[0], 1.8333, 5e-5);
    EXPECT_NEAR(out[1], 1.7222, 5e-5);

    ASSERT_EQ(MOVLEX_NATR(0, 4, bars.high.data(), bars.low.data(), bars.close.data(), 3, &begin, &count, out.data()),
              RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 2);
    EXPECT_NEAR(out[0], 15.9420, 5e-5);
    EXPECT_NEAR(out[1], 17.2222, 5e-5);
}

TEST(TrueRange, BarZeroHasNoTrueRange) {
    LibraryStateGuard initialised(true);  // the true range has no unstable period
    const Bars bars = five_bars();
    double out[1] = {-1.0};
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_TRANGE(0, 0, bars.high.data(), bars.low.data(), bars.close.data(), &begin, &count, out), RC_OK);
    EXPECT_EQ(begin, 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(out[0], -1.0);
    EXPECT_EQ(trange_lookback(), 1);
}

TEST(TrueRange, LargestCandidateWins) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double previous_close, high, low, expected;
    };
    for (const Case& c : {Case{"all equal", 5, 5, 5, 0}, Case{"inside", 10, 11, 9, 2}, Case{"gap up", 10, 13, 12, 3},
                          Case{"gap down", 10, 8, 7, 3}, Case{"high below low", 9.5, 9, 10, 0.5},
                          Case{"previous close NaN", nan, 12, 11, 1}}) {
        const std::vector<double> high = {0, c.high}, low = {0, c.low}, close = {c.previous_close, 0};
        double out[1];
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(MOVLEX_TRANGE(1, 1, high.data(), low.data(), close.data(), &begin, &count, out), RC_OK);
        ASSERT_EQ(count, 1);
        EXPECT_EQ(out[0], c.expected) << c.name;
    }
}

TEST(TrueRange, AveragesAgreeBitForBitWithTheDocumentedSteps) {
    const Bars bars = make_bars(1500, 13);
    in_both_states(
        {{0, 1499, 14}, {0, 1499, 1}, {0, 1499, 2}, {500, 1499, 14}, {900, 900, 30}, {700, 1200, 1}, {0, 1499, 1349}},
        [&](const PeriodWindow& w, int unstable) {
            for (const Average& average : AVERAGES) {
                const Series expected =
                    reference_average(bars, w.first, w.last, w.period, unstable, average.normalised);
                std::vector<double> out(std::size_t(w.last - w.first + 1));
                std::int32_t begin = -1, count = -1;
                ASSERT_EQ(average.entry(w.first, w.last, bars.high.data(), bars.low.data(), bars.close.data(),
                                        w.period, &begin, &count, out.data()),
                          RC_OK);
                EXPECT_EQ(begin, expected.begin);
                EXPECT_TRUE(same_values(expected.values, out.data(), std::size_t(count)))
                    << average.name << " " << w.first << ".." << w.last << " period " << w.period;
            }
        });
}

TEST(TrueRange, InitialisedDefaultCarriesTheSeedThroughOneHundredFiftySteps) {
    LibraryStateGuard initialised(true);
    const Bars bars = make_bars(165, 3);
    double sum = 0.0;
    for (int i = 1; i <= 14; ++i) sum += reference_true_range(bars, i);
    double expected = sum / 14;
    for (int i = 15; i <= 164; ++i) expected = (13 * expected + reference_true_range(bars, i)) / 14;

    std::vector<double> out(165, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_ATR(0, 163, bars.high.data(), bars.low.data(), bars.close.data(), DEFAULT_INT, &begin, &count,
                         out.data()),
              RC_OK);
    EXPECT_EQ(begin, 0);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(MOVLEX_ATR(0, 164, bars.high.data(), bars.low.data(), bars.close.data(), DEFAULT_INT, &begin, &count,
                         out.data()),
              RC_OK);
    EXPECT_EQ(begin, 164);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(out[0], expected);
}

TEST(TrueRange, PeriodOneIsTheTrueRangeFromOnePlusTheUnstablePeriod) {
    const Bars bars = make_bars(400, 17);
    std::vector<double> ranges(400), atr(400), natr(400);
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const int first_output = initialised ? 151 : 1;
        std::int32_t begin = -1, count = -1, atr_begin = -1, atr_count = -1, natr_begin = -1, natr_count = -1;
        ASSERT_EQ(MOVLEX_TRANGE(0, 399, bars.high.data(), bars.low.data(), bars.close.data(), &begin, &count,
                                ranges.data()),
                  RC_OK);
        const int before = movlex::testing::scratch_allocations_attempted();
        ASSERT_EQ(MOVLEX_ATR(0, 399, bars.high.data(), bars.low.data(), bars.close.data(), 1, &atr_begin, &atr_count,
                             atr.data()),
                  RC_OK);
        ASSERT_EQ(MOVLEX_NATR(0, 399, bars.high.data(), bars.low.data(), bars.close.data(), 1, &natr_begin,
                              &natr_count, natr.data()),
                  RC_OK);
        EXPECT_EQ(movlex::testing::scratch_allocations_attempted(), before);
        EXPECT_EQ(atr_begin, first_output);
        EXPECT_EQ(natr_begin, first_output);
        ASSERT_EQ(atr_count, 400 - first_output);
        ASSERT_EQ(natr_count, 400 - first_output);
        const double* shifted = ranges.data() + (first_output - begin);
        EXPECT_TRUE(same_values(shifted, atr.data(), std::size_t(atr_count)));
        for (int k = 0; k < natr_count; ++k)
            ASSERT_EQ(natr[k], (shifted[k] / bars.close[first_output + k]) * 100.0) << k;
    }
}

// NATR is the ATR of the same bars in percent of each output's own close,
// with closes strictly within 1e-8 of zero giving 0.
TEST(TrueRange, NormalisedByTheCloseOfEachOutputsBar) {
    LibraryStateGuard loaded(false);
    const std::vector<double> closes = {5, 0, 0.5e-8, -0.5e-8, 1e-8, -1e-8, 3, -0.0, 7, 2, 1e-8, 4};
    Bars bars;
    for (std::size_t i = 0; i < 60; ++i) {
        const double close = closes[i % closes.size()];
        bars.close.push_back(close);
        bars.high.push_back(close + 1.0 + double(i % 3));
        bars.low.push_back(close - 1.0);
    }
    for (int period : {1, 2, 3, 14}) {
        std::vector<double> atr(60), natr(60);
        std::int32_t atr_begin = -1, atr_count = -1, natr_begin = -1, natr_count = -1;
        ASSERT_EQ(MOVLEX_ATR(0, 59, bars.high.data(), bars.low.data(), bars.close.data(), period, &atr_begin,
                             &atr_count, atr.data()),
                  RC_OK);
        ASSERT_EQ(MOVLEX_NATR(0, 59, bars.high.data(), bars.low.data(), bars.close.data(), period, &natr_begin,
                              &natr_count, natr.data()),
                  RC_OK);
        ASSERT_EQ(natr_begin, atr_begin);
        ASSERT_EQ(natr_count, atr_count);
        for (int k = 0; k < natr_count; ++k) {
            const double close = bars.close[natr_begin + k];
            const double expected = std::fabs(close) < 1e-8 ? 0.0 : (atr[k] / close) * 100.0;
            ASSERT_EQ(natr[k], expected) << "period " << period << " bar " << natr_begin + k;
            if (std::fabs(close) == 1e-8) {
                ASSERT_GT(std::fabs(natr[k]), 1e8) << "bar " << natr_begin + k;
            }
        }
    }
}

TEST(TrueRange, ConstantPricesHaveNoRange) {
    LibraryStateGuard loaded(false);
    const std::vector<double> constant(100, 50.0);
    for (const Average& average : AVERAGES) {
        for (int period : {1, 5, 14}) {
            std::vector<double> out(100, -1.0);
            std::int32_t begin = -1, count = -1;
            ASSERT_EQ(average.entry(0, 99, constant.data(), constant.data(), constant.data(), period, &begin, &count,
                                    out.data()),
                      RC_OK);
            ASSERT_GT(count, 0);
            for (int k = 0; k < count; ++k) ASSERT_EQ(out[k], 0.0) << average.name << " period " << period;
        }
    }
}

TEST(TrueRange, EachAverageReadsItsOwnSlot) {
    LibraryStateGuard initialised(true);
    const Bars bars = make_bars(400, 19);
    std::vector<double> out(400);
    for (const Average& average : AVERAGES) {
        library_state->unstable_periods[UNSTABLE_ATR] = 150;
        library_state->unstable_periods[UNSTABLE_NATR] = 150;
        library_state->unstable_periods[average.slot] = 4;
        EXPECT_EQ(atr_lookback(14), average.slot == UNSTABLE_ATR ? 18 : 164);
        EXPECT_EQ(natr_lookback(14), average.slot == UNSTABLE_NATR ? 18 : 164);
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(average.entry(0, 399, bars.high.data(), bars.low.data(), bars.close.data(), 14, &begin, &count,
                                out.data()),
                  RC_OK);
        EXPECT_EQ(begin, 18) << average.name;
        EXPECT_TRUE(same_values(reference_average(bars, 0, 399, 14, 4, average.normalised).values, out.data(),
                                std::size_t(count)));
    }
}

// The averages carry their state from bar to bar and take no scratch array:
// with the next allocation set to fail, they allocate nothing and give what
// they give otherwise.
TEST(TrueRange, AveragesSucceedUnderAFailingAllocator) {
    const Bars bars = make_bars(100, 23);
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (const Average& average : AVERAGES) {
            for (std::int32_t period : {1, 14}) {
                std::vector<double> expected(100), out(100, -1.0);
                std::int32_t expected_begin = -1, expected_count = -1, begin = -1, count = -1;
                ASSERT_EQ(average.entry(0, 99, bars.high.data(), bars.low.data(), bars.close.data(), period,
                                        &expected_begin, &expected_count, expected.data()),
                          RC_OK);
                const int before = movlex::testing::scratch_allocations_attempted();
                {
                    FailingAllocation failing(0);
                    EXPECT_EQ(average.entry(0, 99, bars.high.data(), bars.low.data(), bars.close.data(), period,
                                            &begin, &count, out.data()),
                              RC_OK)
                        << average.name << " period " << period;
                }
                EXPECT_EQ(movlex::testing::scratch_allocations_attempted(), before) << average.name;
                EXPECT_EQ(begin, expected_begin);
                ASSERT_EQ(count, expected_count);
                EXPECT_TRUE(same_values(expected.data(), out.data(), std::size_t(count))) << average.name;
            }
        }
    }
}

}  // namespace
}  // namespace movlex::test
