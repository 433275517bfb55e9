#include <algorithm>
#include <vector>

#include "averages/exponential.hpp"
#include "core_lookbacks.hpp"  // generated
#include "frame/library_state.hpp"
#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Series {
    int begin = 0;
    std::vector<double> values;
};

// The exponential average step by step as documented: the mean of the period
// values ending `unstable` values before the start, a run through those
// values, then one value per index.
Series reference_ema(const std::vector<double>& x, int first, int last, int period, int unstable) {
    const double k = 2.0 / double(period + 1);
    const int lookback = period - 1 + unstable;
    const int start = std::max(first, lookback);
    Series result;
    if (start > last) return result;
    result.begin = start;
    const int seed_start = start - lookback;
    double e = 0.0;
    for (int i = seed_start; i < seed_start + period; ++i) e = e + x[i];
    e = e / double(period);
    for (int i = seed_start + period; i <= start; ++i) e = e + (x[i] - e) * k;
    result.values.push_back(e);
    for (int i = start + 1; i <= last; ++i) {
        e = e + (x[i] - e) * k;
        result.values.push_back(e);
    }
    return result;
}

// Each stage of the chain seeds and warms up on its own series.
Series reference_dema(const std::vector<double>& x, int first, int last, int period, int unstable) {
    const int lookback = period - 1 + unstable;
    const int start = std::max(first, 2 * lookback);
    if (start > last) return {};
    const Series ema1 = reference_ema(x, start - lookback, last, period, unstable);
    const Series ema2 = reference_ema(ema1.values, 0, int(ema1.values.size()) - 1, period, unstable);
    Series result{start, {}};
    for (std::size_t j = 0; j < ema2.values.size(); ++j)
        result.values.push_back(ema1.values[ema2.begin + j] * 2.0 - ema2.values[j]);
    return result;
}

Series reference_tema(const std::vector<double>& x, int first, int last, int period, int unstable) {
    const int lookback = period - 1 + unstable;
    const int start = std::max(first, 3 * lookback);
    if (start > last) return {};
    const Series ema1 = reference_ema(x, start - 2 * lookback, last, period, unstable);
    const Series ema2 = reference_ema(ema1.values, 0, int(ema1.values.size()) - 1, period, unstable);
    const Series ema3 = reference_ema(ema2.values, 0, int(ema2.values.size()) - 1, period, unstable);
    Series result{start, {}};
    for (std::size_t j = 0; j < ema3.values.size(); ++j)
        result.values.push_back((ema1.values[ema2.begin + ema3.begin + j] * 3.0 -
                                 ema2.values[ema3.begin + j] * 3.0) +
                                ema3.values[j]);
    return result;
}

using Entry = RetCode(MOVLEX_CALL*)(std::int32_t, std::int32_t, const double*, std::int32_t, std::int32_t*,
                                    std::int32_t*, double*);
using Reference = Series (*)(const std::vector<double>&, int, int, int, int);

struct Average {
    const char* name;
    Entry entry;
    Reference reference;
    int stages;
};

const Average AVERAGES[] = {
    {"EMA", MOVLEX_EMA, reference_ema, 1},
    {"DEMA", MOVLEX_DEMA, reference_dema, 2},
    {"TEMA", MOVLEX_TEMA, reference_tema, 3},
};

// Makes one scratch allocation fail and turns failures off again afterwards.
struct FailingAllocation {
    explicit FailingAllocation(int index) { movlex::testing::fail_scratch_allocation(index); }
    ~FailingAllocation() { movlex::testing::fail_scratch_allocation(-1); }
};

TEST(ExponentialAverages, PeriodTwoOverThreeValues) {
    const std::vector<double> input = {1, 2, 3};
    std::vector<double> out(3, -1.0);
    std::int32_t begin = -1, count = -1;
    {
        LibraryStateGuard loaded(false);
        ASSERT_EQ(MOVLEX_EMA(0, 2, input.data(), 2, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, 1);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(out[0], 1.5);
        EXPECT_EQ(out[1], 2.5);
    }
    {
        LibraryStateGuard initialised(true);
        EXPECT_EQ(ema_lookback(2), 151);
        ASSERT_EQ(MOVLEX_EMA(0, 2, input.data(), 2, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, 0);
        EXPECT_EQ(count, 0);
    }
}

TEST(ExponentialAverages, LookbacksGrowWithEachStage) {
    struct Case {
        bool initialised;
        std::int32_t period, ema, dema, tema;
    };
    for (const Case& c : {Case{false, DEFAULT_INT, 29, 58, 87}, Case{true, DEFAULT_INT, 179, 358, 537},
                          Case{false, 2, 1, 2, 3}, Case{true, 100000, 100149, 200298, 300447},
                          Case{false, 1, -1, -1, -1}, Case{true, 100001, -1, -1, -1}, Case{true, -5, -1, -1, -1}}) {
        LibraryStateGuard state(c.initialised);
        EXPECT_EQ(ema_lookback(c.period), c.ema) << c.period;
        EXPECT_EQ(dema_lookback(c.period), c.dema) << c.period;
        EXPECT_EQ(tema_lookback(c.period), c.tema) << c.period;
    }
    // The default EMA over 200 values starts at 29, at 179 once initialised,
    // and at 29 again after shutdown.
    const std::vector<double> input = make_series(200);
    std::vector<double> out(200);
    std::int32_t begin = -1, count = -1;
    for (bool initialised : {false, true, false}) {
        LibraryStateGuard state(initialised);
        ASSERT_EQ(MOVLEX_EMA(0, 199, input.data(), DEFAULT_INT, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, initialised ? 179 : 29);
        EXPECT_EQ(count, 200 - begin);
    }
}

TEST(ExponentialAverages, EveryStageReadsTheExponentialSlot) {
    LibraryStateGuard initialised(true);
    library_state->unstable_periods[UNSTABLE_EMA] = 3;
    const std::vector<double> input = make_series(300);
    std::vector<double> out(300);
    for (const Average& average : AVERAGES) {
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(average.entry(0, 299, input.data(), 10, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, average.stages * 12) << average.name;
        EXPECT_TRUE(same_values(average.reference(input, 0, 299, 10, 3).values, out.data(), std::size_t(count)))
            << average.name;
    }
}

// Initialised, period 3, first_index 400: the seed is the mean of inputs
// 248..250 and the average then runs through 251..400. A value just before
// that window leaves no trace; one inside it does.
TEST(ExponentialAverages, SeedWindowEndsTheUnstablePeriodBeforeFirstIndex) {
    LibraryStateGuard initialised(true);
    for (int spike : {247, 248, 250}) {
        std::vector<double> input(420, 0.0);
        input[spike] = 1.0;
        double out[1] = {-1.0};
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(MOVLEX_EMA(400, 400, input.data(), 3, &begin, &count, out), RC_OK);
        EXPECT_EQ(begin, 400);
        ASSERT_EQ(count, 1);
        if (spike < 248)
            EXPECT_EQ(out[0], 0.0) << spike;
        else
            EXPECT_GT(out[0], 0.0) << spike;
    }
}

// Covers the seed placement: with first_index above the lookback, the seed
// window ends U values before first_index (before each stage's first value).
TEST(ExponentialAverages, AgreeBitForBitWithTheDocumentedSteps) {
    const std::vector<double> input = make_series(2500, 11);
    struct Window {
        int first, last, period;
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const int unstable = initialised ? 150 : 0;
        for (const Window& w : {Window{0, 2499, 2}, Window{0, 2499, 30}, Window{700, 2499, 30},
                                Window{1900, 1900, 17}, Window{1000, 1400, 365}, Window{0, 2499, 800}}) {
            for (const Average& average : AVERAGES) {
                const Series expected = average.reference(input, w.first, w.last, w.period, unstable);
                std::vector<double> out(std::size_t(w.last - w.first + 1));
                std::int32_t begin = -1, count = -1;
                ASSERT_EQ(average.entry(w.first, w.last, input.data(), w.period, &begin, &count, out.data()), RC_OK);
                EXPECT_EQ(begin, expected.begin) << average.name << " " << w.first << " " << w.period;
                EXPECT_TRUE(same_values(expected.values, out.data(), std::size_t(count)))
                    << average.name << " " << w.first << ".." << w.last << " period " << w.period
                    << (initialised ? " initialised" : "");
            }
        }
    }
}

TEST(ExponentialAverages, ConstantAndLinearInputs) {
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const std::vector<double> constant(1500, 42.5);
        std::vector<double> linear(1500);
        for (std::size_t i = 0; i < linear.size(); ++i) linear[i] = double(i);
        std::vector<double> out(1500);
        for (const Average& average : AVERAGES) {
            for (int period : {2, 9, 30}) {
                std::int32_t begin = -1, count = -1;
                ASSERT_EQ(average.entry(0, 1499, constant.data(), period, &begin, &count, out.data()), RC_OK);
                ASSERT_GT(count, 0);
                for (int k = 0; k < count; ++k) ASSERT_EQ(out[k], 42.5) << average.name << " period " << period;

                if (average.stages == 1) continue;  // the EMA itself lags a trend
                ASSERT_EQ(average.entry(0, 1499, linear.data(), period, &begin, &count, out.data()), RC_OK);
                ASSERT_GT(count, 0);
                for (int k = 0; k < count; ++k)
                    ASSERT_NEAR(out[k], double(begin + k), 1e-9) << average.name << " period " << period;
            }
        }
    }
}

// DEMA and TEMA carry their stages in one pass: no scratch array, so even a
// host whose allocations all fail gets its values, in place or not.
TEST(ExponentialAverages, DemaAndTemaNeedNoScratch) {
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const std::vector<double> input = make_series(1200, 5);
        for (Entry entry : {Entry(MOVLEX_DEMA), Entry(MOVLEX_TEMA)}) {
            std::vector<double> separate(1200 - 400);
            std::int32_t begin = -1, count = -1;
            const int before = movlex::testing::scratch_allocations_attempted();
            ASSERT_EQ(entry(400, 1199, input.data(), 20, &begin, &count, separate.data()), RC_OK);
            EXPECT_EQ(movlex::testing::scratch_allocations_attempted(), before);

            std::vector<double> shared = input;
            std::int32_t shared_begin = -1, shared_count = -1;
            FailingAllocation failing(0);
            ASSERT_EQ(entry(400, 1199, shared.data(), 20, &shared_begin, &shared_count, shared.data()), RC_OK);
            EXPECT_EQ(shared_begin, begin);
            ASSERT_EQ(shared_count, count);
            EXPECT_TRUE(same_values(separate.data(), shared.data(), std::size_t(count)));
        }
    }
}

TEST(ExponentialAverages, RangesBeforeTheLookbackAllocateNothing) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(100);
    std::vector<double> out(100, -1.0);
    for (const Average& average : AVERAGES) {
        std::int32_t begin = -1, count = -1;
        const int before = movlex::testing::scratch_allocations_attempted();
        ASSERT_EQ(average.entry(0, average.stages * 9 - 1, input.data(), 10, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(movlex::testing::scratch_allocations_attempted(), before) << average.name;
        EXPECT_EQ(begin, 0);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(out[0], -1.0);
    }
}

}  // namespace
}  // namespace movlex::test
