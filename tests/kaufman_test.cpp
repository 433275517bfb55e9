#include <algorithm>
#include <cmath>
#include <vector>

#include "averages/kaufman.hpp"
#include "core_lookbacks.hpp"  // generated
#include "output_capture.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr double SLOW = 0.06451612903225806;
constexpr double FAST_MINUS_SLOW = 0.6021505376344085;

Captured run_kama(const std::vector<double>& input, int first, int last, int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_KAMA(first, last, input.data(), period, b, c, out);
    });
}

double ratio_of(double roc, double sum) {
    if (sum <= roc || (-1e-8 < sum && sum < 1e-8)) return 1.0;
    return std::fabs(roc / sum);
}

// Straight from the documented steps. With resum set the window sum is
// recomputed from the window at every bar instead of being carried.
std::vector<double> reference_kama(const std::vector<double>& x, int first, int last, int period, int unstable,
                                   bool resum = false) {
    std::vector<double> out;
    const std::int64_t lb = std::int64_t(period) + unstable;
    const std::int64_t start = std::max<std::int64_t>(first, lb);
    std::int64_t today = start - lb, trailing = today;
    double sum = 0.0;
    for (int n = 0; n < period; ++n, ++today) sum += std::fabs(x[today] - x[today + 1]);
    double kama = x[today - 1];
    double previous_trailing = 0.0;
    bool first_step = true;
    while (today <= last) {
        const double value = x[today];
        const double t = x[trailing];
        if (!first_step) {
            if (resum) {
                sum = 0.0;
                for (std::int64_t i = trailing; i < today; ++i) sum += std::fabs(x[i] - x[i + 1]);
            } else {
                sum = (sum - std::fabs(previous_trailing - t)) + std::fabs(value - x[today - 1]);
            }
        }
        first_step = false;
        ++trailing;
        const double sc = ratio_of(value - t, sum) * FAST_MINUS_SLOW + SLOW;
        kama = kama + (value - kama) * (sc * sc);
        previous_trailing = t;
        if (today >= start) out.push_back(kama);
        ++today;
    }
    return out;
}

TEST(Kaufman, PeriodTwoFirstOutput) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = {10, 12, 11, 15};
    const Captured result = run_kama(input, 0, 3, 2);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 2);
    ASSERT_EQ(result.count, 2);
    // sum = |10 - 12| + |12 - 11| = 3, roc = 11 - 10 = 1, seed 12.
    const double sc = (1.0 / 3.0) * FAST_MINUS_SLOW + SLOW;
    EXPECT_EQ(result.values[0], 12.0 + (11.0 - 12.0) * (sc * sc));
}

TEST(Kaufman, TrendingAndFlatSeriesUseTheFastestConstant) {
    LibraryStateGuard loaded(false);
    const double fastest = FAST_MINUS_SLOW + SLOW;
    struct Case {
        const char* name;
        std::vector<double> input;
    };
    std::vector<double> rising(40), falling(40), flat(40, 3.5), tiny_chop(40);
    for (int i = 0; i < 40; ++i) {
        rising[i] = 100.0 + 0.5 * i;
        falling[i] = 100.0 - 0.5 * i;
        tiny_chop[i] = i % 2 == 0 ? 1.0 : 1.0 + 1e-10;  // no net change, window sum below 1e-8
    }
    for (const Case& c : {Case{"rising", rising}, Case{"falling", falling}, Case{"flat", flat},
                          Case{"tiny chop", tiny_chop}}) {
        const Captured result = run_kama(c.input, 0, 39, 4);
        ASSERT_EQ(result.begin, 4) << c.name;
        double kama = c.input[3];
        for (int k = 0; k < result.count; ++k) {
            kama = kama + (c.input[4 + k] - kama) * (fastest * fastest);
            ASSERT_EQ(result.values[k], kama) << c.name << " element " << k;
        }
    }
    EXPECT_EQ(run_kama(flat, 0, 39, 4).values, std::vector<double>(36, 3.5));
}

TEST(Kaufman, AgreesBitForBitWithTheStepsInBothLibraryStates) {
    const std::vector<double> input = make_series(2500, 21);
    in_both_states({{0, 2499, 2}, {0, 2499, 10}, {0, 2499, 30}, {400, 2499, 30}, {2000, 2010, 1500}, {2499, 2499, 7}},
                   [&](const PeriodWindow& w, int unstable) {
                       const Captured result = run_kama(input, w.first, w.last, w.period);
                       ASSERT_EQ(result.rc, RC_OK);
                       EXPECT_EQ(result.begin, std::max(w.first, w.period + unstable));
                       EXPECT_EQ(kama_lookback(w.period), w.period + unstable);
                       EXPECT_TRUE(same_values(reference_kama(input, w.first, w.last, w.period, unstable),
                                               result.values.data(), result.values.size()))
                           << w.first << ".." << w.last << " period " << w.period;
                   });
}

// A spike leaves a rounding residue in the carried window sum that a sum
// recomputed from the window would not have; the output keeps it.
TEST(Kaufman, WindowSumIsCarriedNotRecomputed) {
    LibraryStateGuard loaded(false);
    std::vector<double> input = make_series(200, 5);
    input[50] = 1e17;
    const std::vector<double> carried = reference_kama(input, 0, 199, 3, 0);
    const std::vector<double> recomputed = reference_kama(input, 0, 199, 3, 0, true);
    ASSERT_FALSE(same_values(recomputed, carried.data(), carried.size()));  // the case shows the difference
    const Captured result = run_kama(input, 0, 199, 3);
    EXPECT_TRUE(same_values(carried, result.values.data(), result.values.size()));
}

TEST(Kaufman, ShortRangeAndOutputAsInputFromIndexZero) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(100, 2);
    const Captured empty = run_kama(input, 0, 29, 30);
    ASSERT_EQ(empty.rc, RC_OK);
    EXPECT_EQ(empty.begin, 0);
    EXPECT_EQ(empty.count, 0);

    for (int period : {2, 5}) {
        std::vector<double> in_place = input;
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(MOVLEX_KAMA(0, 99, in_place.data(), period, &begin, &count, in_place.data()), RC_OK);
        EXPECT_TRUE(same_values(reference_kama(input, 0, 99, period, 0), in_place.data(), std::size_t(count)));
    }
}

}  // namespace
}  // namespace movlex::test
