#include <algorithm>
#include <cmath>
#include <vector>

#include "averages/arc_tangent.hpp"
#include "averages/mesa.hpp"
#include "core_lookbacks.hpp"  // generated
#include "movlex_extended.h"
#include "output_capture.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

Captured run_mama(const std::vector<double>& input, int first, int last, double fast, double slow) {
    return capture_pair(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* m, double* f) {
        return MOVLEX_MAMA(first, last, input.data(), fast, slow, b, c, m, f);
    });
}

struct MamaSeries {
    std::vector<double> mama, fama;
};

// One flat loop in the documented order. Delay lines are indexed
// [transform][parity]; transform 0 detrender, 1 Q1, 2 jI, 3 jQ.
MamaSeries reference_mama(const std::vector<double>& x, int first, int last, double fast, double slow, int unstable) {
    const double A = 0.0962, B = 0.5769;
    const double rad2deg = 180.0 / (arc_tangent(1.0) * 4.0);
    const std::int64_t lb = 32 + unstable;
    const std::int64_t start = std::max<std::int64_t>(first, lb);
    const std::int64_t t = start - lb;

    double sub = (x[t] + x[t + 1]) + x[t + 2];
    double wsum = x[t] + 2 * x[t + 1] + 3 * x[t + 2];
    double trailing_value = 0.0;
    std::int64_t trailing_index = t;
    auto smooth = [&](double value) {
        sub = (sub + value) - trailing_value;
        trailing_value = x[trailing_index++];
        wsum = wsum + value * 4;
        const double smoothed = wsum * 0.1;
        wsum = wsum - sub;
        return smoothed;
    };
    for (std::int64_t i = t + 3; i <= t + 11; ++i) smooth(x[i]);

    double store[4][2][3] = {}, p2[4][2] = {}, b_p4[4][2] = {};
    int slot = 0;
    double detrender_history[3] = {};  // [0] is the oldest
    double prev_q2 = 0, prev_i2 = 0, re = 0, im = 0, period = 0, prev_phase = 0, mama = 0, fama = 0;
    MamaSeries out;
    for (std::int64_t today = t + 12; today <= last; ++today) {
        const double price = x[today];
        const double adj = 0.075 * period + 0.54;
        const double smoothed = smooth(price);
        const int parity = today % 2 == 0 ? 0 : 1;
        auto hilbert = [&](int transform, double v) {
            const double result =
                (((A * v - store[transform][parity][slot]) - b_p4[transform][parity]) + B * p2[transform][parity]) *
                adj;
            store[transform][parity][slot] = A * v;
            b_p4[transform][parity] = B * p2[transform][parity];
            p2[transform][parity] = v;
            return result;
        };
        const double detrender = hilbert(0, smoothed);
        const double q1 = hilbert(1, detrender);
        const double i1 = detrender_history[0];
        const double ji = hilbert(2, i1);
        const double jq = hilbert(3, q1);
        if (parity == 0) slot = slot == 2 ? 0 : slot + 1;

        const double q2 = (ji + q1) * 0.2 + 0.8 * prev_q2;
        const double i2 = (i1 - jq) * 0.2 + 0.8 * prev_i2;
        detrender_history[0] = detrender_history[1];
        detrender_history[1] = detrender_history[2];
        detrender_history[2] = detrender;

        const double phase = i1 != 0 ? arc_tangent(q1 / i1) * rad2deg : 0.0;
        const double delta = prev_phase - phase;
        prev_phase = phase;
        double alpha = fast;
        if (delta > 1) {
            alpha = fast / delta;
            if (alpha < slow) alpha = slow;
        }
        mama = (1 - alpha) * mama + alpha * price;
        fama = (1 - 0.5 * alpha) * fama + 0.5 * alpha * mama;
        if (today >= start) {
            out.mama.push_back(mama);
            out.fama.push_back(fama);
        }

        re = 0.2 * (i2 * prev_i2 + q2 * prev_q2) + 0.8 * re;
        im = 0.2 * (i2 * prev_q2 - q2 * prev_i2) + 0.8 * im;
        prev_q2 = q2;
        prev_i2 = i2;
        double next = (im != 0 && re != 0) ? 360 / (arc_tangent(im / re) * rad2deg) : period;
        if (next > 1.5 * period) next = 1.5 * period;
        if (next < 0.67 * period) next = 0.67 * period;
        if (next < 6)
            next = 6;
        else if (next > 50)
            next = 50;
        period = 0.2 * next + 0.8 * period;
    }
    return out;
}

::testing::AssertionResult same_series(const MamaSeries& expected, const Captured& actual) {
    if (actual.rc != RC_OK) return ::testing::AssertionFailure() << "code " << actual.rc;
    ::testing::AssertionResult mama = same_values(expected.mama, actual.values.data(), actual.values.size());
    if (!mama) return mama << " (MAMA)";
    ::testing::AssertionResult fama = same_values(expected.fama, actual.second.data(), actual.second.size());
    if (!fama) return fama << " (FAMA)";
    return ::testing::AssertionSuccess();
}

TEST(Mesa, FirstOutputAtThirtyTwo) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(100, 3);
    const Captured result = run_mama(input, 0, 99, DEFAULT_REAL, DEFAULT_REAL);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 32);
    EXPECT_EQ(result.count, 68);
    EXPECT_TRUE(same_series(reference_mama(input, 0, 99, 0.5, 0.05, 0), result));

    const Captured empty = run_mama(input, 0, 31, DEFAULT_REAL, DEFAULT_REAL);
    ASSERT_EQ(empty.rc, RC_OK);
    EXPECT_EQ(empty.begin, 0);
    EXPECT_EQ(empty.count, 0);
}

// With both limits 0.3 every bar's factor is 0.3, whatever the phase: MAMA
// is an exponential average of the price from 0 at the first bar of the
// loop, FAMA one of MAMA with half the factor.
TEST(Mesa, EqualLimitsGiveAPlainExponentialAverage) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(200, 8);
    const Captured result = run_mama(input, 40, 199, 0.3, 0.3);
    ASSERT_EQ(result.begin, 40);
    double mama = 0, fama = 0;
    std::vector<double> expected_mama, expected_fama;
    for (int today = 40 - 32 + 12; today <= 199; ++today) {
        mama = (1 - 0.3) * mama + 0.3 * input[today];
        fama = (1 - 0.5 * 0.3) * fama + 0.5 * 0.3 * mama;
        if (today >= 40) expected_mama.push_back(mama), expected_fama.push_back(fama);
    }
    EXPECT_TRUE(same_series({expected_mama, expected_fama}, result));
}

TEST(Mesa, CyclePeriodStepAndItsBounds) {
    const double rad2deg = 180.0 / (arc_tangent(1.0) * 4.0);
    // First bar: no phasor yet, the old period 0 is raised to 6 and smoothed.
    EXPECT_EQ(mama_next_cycle_period(0.0, 0.0, 0.0, rad2deg), 0.2 * 6.0);
    EXPECT_DOUBLE_EQ(mama_next_cycle_period(0.0, 0.0, 0.0, rad2deg), 1.2);
    // A zero part keeps the old period.
    EXPECT_EQ(mama_next_cycle_period(20.0, 0.0, 1.0, rad2deg), 0.2 * 20.0 + 0.8 * 20.0);
    // atan(1) = 45 degrees: 8 bars, within 0.67..1.5 times 10 and within 6..50.
    EXPECT_EQ(mama_next_cycle_period(10.0, 1.0, 1.0, rad2deg), 0.2 * (360.0 / (arc_tangent(1.0) * rad2deg)) + 0.8 * 10.0);
    // A tiny angle asks for a long period: limited to 1.5 times the old one.
    EXPECT_EQ(mama_next_cycle_period(10.0, 1.0, 1e-3, rad2deg), 0.2 * (1.5 * 10.0) + 0.8 * 10.0);
    // ... and to 50 overall.
    EXPECT_EQ(mama_next_cycle_period(40.0, 1.0, 1e-3, rad2deg), 0.2 * 50.0 + 0.8 * 40.0);
    // A wide angle asks for a short period: limited to 0.67 times the old one.
    EXPECT_EQ(mama_next_cycle_period(30.0, 1.0, 1e3, rad2deg), 0.2 * (0.67 * 30.0) + 0.8 * 30.0);
    // ... and to 6 overall.
    EXPECT_EQ(mama_next_cycle_period(7.0, 1.0, 1e3, rad2deg), 0.2 * 6.0 + 0.8 * 7.0);
}

TEST(Mesa, LimitsAreCheckedButNotOrdered) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(120, 5);
    struct Limits {
        double fast, slow;
        RetCode expected;
    };
    for (const Limits& l : {Limits{0.01, 0.01, RC_OK}, Limits{0.99, 0.99, RC_OK}, Limits{0.5, 0.9, RC_OK},
                            Limits{0.0099, 0.05, RC_BAD_ARGUMENT}, Limits{0.991, 0.05, RC_BAD_ARGUMENT},
                            Limits{0.0, 0.05, RC_BAD_ARGUMENT}, Limits{0.5, 0.0099, RC_BAD_ARGUMENT},
                            Limits{0.5, 0.991, RC_BAD_ARGUMENT}, Limits{0.5, 0.0, RC_BAD_ARGUMENT}}) {
        const Captured result = run_mama(input, 0, 119, l.fast, l.slow);
        EXPECT_EQ(result.rc, l.expected) << l.fast << " " << l.slow;
        EXPECT_EQ(mama_lookback(l.fast, l.slow), l.expected == RC_OK ? 32 : -1) << l.fast << " " << l.slow;
        if (l.expected == RC_OK) {
            EXPECT_TRUE(same_series(reference_mama(input, 0, 119, l.fast, l.slow, 0), result));
        }
    }
    // A slow limit above the fast one: every factor is 0.5 (phase change at
    // most 1 degree) or 0.9 (any other), as the steps of MAMA show.
    const Captured inverted = run_mama(input, 0, 119, 0.5, 0.9);
    ASSERT_EQ(inverted.rc, RC_OK);
    int fast_bars = 0, slow_bars = 0;
    for (int k = 1; k < inverted.count; ++k) {
        const double previous = inverted.values[k - 1];
        const double alpha = (inverted.values[k] - previous) / (input[32 + k] - previous);
        if (std::fabs(alpha - 0.5) < 1e-6)
            ++fast_bars;
        else if (std::fabs(alpha - 0.9) < 1e-6)
            ++slow_bars;
        else
            ADD_FAILURE() << "factor " << alpha << " at element " << k;
    }
    EXPECT_GT(fast_bars, 0);
    EXPECT_GT(slow_bars, 0);
    EXPECT_EQ(run_mama(input, 0, 119, DEFAULT_REAL, DEFAULT_REAL).values,
              run_mama(input, 0, 119, 0.5, 0.05).values);
}

TEST(Mesa, AgreesBitForBitWithTheStepsInBothLibraryStates) {
    const std::vector<double> input = make_series(3000, 29);
    struct Window {
        int first, last;
        double fast, slow;
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const int unstable = initialised ? 150 : 0;
        EXPECT_EQ(mama_lookback(DEFAULT_REAL, DEFAULT_REAL), 32 + unstable);
        // Odd and even first indices start the loop on either parity.
        for (const Window& w : {Window{0, 2999, 0.5, 0.05}, Window{1001, 2999, 0.5, 0.05},
                                Window{1000, 2999, 0.5, 0.05}, Window{0, 2999, 0.8, 0.02},
                                Window{2500, 2600, 0.2, 0.6}, Window{2999, 2999, 0.5, 0.05}}) {
            const Captured result = run_mama(input, w.first, w.last, w.fast, w.slow);
            EXPECT_EQ(result.begin, std::max(w.first, 32 + unstable));
            EXPECT_TRUE(same_series(reference_mama(input, w.first, w.last, w.fast, w.slow, unstable), result))
                << w.first << ".." << w.last << (initialised ? " initialised" : "");
        }
    }
}

// Every call starts its filters from zero at first_index - lookback, so the
// same index has another value when the request starts earlier.
TEST(Mesa, RunInStartsAtTheRequest) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(400, 31);
    const Captured early = run_mama(input, 100, 399, 0.5, 0.05);
    const Captured late = run_mama(input, 101, 399, 0.5, 0.05);
    ASSERT_EQ(early.begin, 100);
    ASSERT_EQ(late.begin, 101);
    EXPECT_NE(early.values[1], late.values[0]);
}

TEST(Mesa, EitherOutputMayBeTheInputFromIndexZero) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(150, 12);
    const MamaSeries expected = reference_mama(input, 0, 149, 0.5, 0.05, 0);
    std::int32_t begin = -1, count = -1;
    std::vector<double> in_place = input, other(150);
    ASSERT_EQ(MOVLEX_MAMA(0, 149, in_place.data(), 0.5, 0.05, &begin, &count, in_place.data(), other.data()), RC_OK);
    EXPECT_TRUE(same_values(expected.mama, in_place.data(), std::size_t(count)));
    EXPECT_TRUE(same_values(expected.fama, other.data(), std::size_t(count)));
    in_place = input;
    ASSERT_EQ(MOVLEX_MAMA(0, 149, in_place.data(), 0.5, 0.05, &begin, &count, other.data(), in_place.data()), RC_OK);
    EXPECT_TRUE(same_values(expected.mama, other.data(), std::size_t(count)));
    EXPECT_TRUE(same_values(expected.fama, in_place.data(), std::size_t(count)));
}

}  // namespace
}  // namespace movlex::test

namespace movlex::test {
namespace {

// Prices that are not numbers make the period estimate not a number; the
// phase then reads one bar rather than converting that period to a count.
TEST(CyclePhase, PricesThatAreNotNumbersAreReadWithoutAnUndefinedConversion) {
    std::vector<double> prices(300);
    for (std::size_t i = 0; i < prices.size(); ++i) prices[i] = 100.0 + double(i % 7);
    for (std::size_t i = 100; i < 140; ++i) prices[i] = i % 2 ? std::nan("") : HUGE_VAL;
    std::vector<double> out(prices.size());
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_cycle_phase(0, std::int32_t(prices.size()) - 1, prices.data(), &begin, &count, out.data()), RC_OK);
    EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace movlex::test
