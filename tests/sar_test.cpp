// Parabolic stop and reverse: the worked sequence, the first direction, the
// acceleration factor's growth and ceiling, and the reversal tests.
#include "directional/sar.hpp"

#include <algorithm>
#include <vector>

#include "core_lookbacks.hpp"  // generated
#include "output_capture.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

using Result = Captured;

Result run_sar(const std::vector<double>& high, const std::vector<double>& low, double acceleration = DEFAULT_REAL,
               double maximum = DEFAULT_REAL, std::int32_t first = 0, std::int32_t last = -1) {
    if (last < 0) last = std::int32_t(high.size()) - 1;
    return capture(std::size_t(last - first + 1), [&](std::int32_t* begin, std::int32_t* count, double* out) {
        return MOVLEX_SAR(first, last, high.data(), low.data(), acceleration, maximum, begin, count, out);
    });
}

const std::vector<double> HIGH = {10, 11, 12, 11.5, 11, 12.5};
const std::vector<double> LOW = {9, 10, 11, 9, 8.5, 11};

TEST(Sar, WorkedSequence) {
    // Long from bar 1, a new high at bar 2 (factor 0.04), a reversal to short
    // at bar 3 reporting the extreme point 12, and back to long at bar 5
    // reporting the extreme point 8.5.
    const Result result = run_sar(HIGH, LOW);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 1);
    const double second = 9.0 + 0.02 * (11.0 - 9.0);
    EXPECT_TRUE(same_values({9.0, second, 12.0, 12.0, 8.5}, result.values.data(), result.values.size()));

    // The same with explicit defaults.
    const Result explicit_defaults = run_sar(HIGH, LOW, 0.02, 0.2);
    EXPECT_TRUE(same_values(result.values, explicit_defaults.values.data(), explicit_defaults.values.size()));
}

TEST(Sar, RequestsBelowBarOneStartThere) {
    const Result single = run_sar(HIGH, LOW, DEFAULT_REAL, DEFAULT_REAL, 0, 0);
    EXPECT_EQ(single.rc, RC_OK);
    EXPECT_EQ(single.begin, 0);
    EXPECT_EQ(single.count, 0);

    const Result later = run_sar(HIGH, LOW, DEFAULT_REAL, DEFAULT_REAL, 3, 5);
    ASSERT_EQ(later.rc, RC_OK);
    EXPECT_EQ(later.begin, 3);
    EXPECT_EQ(later.count, 3);
}

TEST(Sar, FirstDirectionFollowsTheDownMove) {
    // Bar 0 has high 10 and low 9. A long start puts the first stop at 9, a
    // short one at 10; an outside bar touches that stop at once, and the
    // reversal reports the bar's high (long start) or low (short start).
    struct Case {
        const char* what;
        double high1, low1;
        double expected;
    };
    const Case cases[] = {
        {"down move larger: short", 9.8, 8.5, 10.0},
        {"no down move: long", 10.5, 9.5, 9.0},
        {"outside bar, equal moves: long", 10.5, 8.5, 10.5},
        {"outside bar, larger down move: short", 10.5, 8.0, 8.0},
        {"outside bar, larger up move: long", 11.0, 8.5, 11.0},
    };
    for (const Case& c : cases) {
        const Result result = run_sar({10, c.high1}, {9, c.low1});
        ASSERT_EQ(result.count, 1) << c.what;
        EXPECT_EQ(result.values[0], c.expected) << c.what;
    }
}

// Strictly rising bars: a new high on every bar after the first, lows far
// enough above the stop that it is never pushed. The factor of each step is
// recovered from two successive stops and the extreme point.
std::vector<double> factors(double acceleration, double maximum) {
    std::vector<double> high, low;
    for (int i = 0; i < 40; ++i) {
        high.push_back(100.0 + i);
        low.push_back(99.5 + i);
    }
    const Result result = run_sar(high, low, acceleration, maximum);
    std::vector<double> found;
    for (std::size_t k = 1; k + 1 < result.values.size(); ++k) {
        const double extreme = high[k + 1];  // output k belongs to bar k + 1
        found.push_back((result.values[k + 1] - result.values[k]) / (extreme - result.values[k]));
    }
    return found;
}

TEST(Sar, FactorGrowsByOneStepPerNewHighUpToTheMaximum) {
    const std::vector<double> found = factors(DEFAULT_REAL, DEFAULT_REAL);
    ASSERT_GT(found.size(), 20u);
    for (std::size_t k = 0; k < found.size(); ++k)
        EXPECT_NEAR(found[k], std::min(0.04 + 0.02 * double(k), 0.2), 1e-9) << "step " << k;
}

TEST(Sar, StepAboveTheMaximumIsLoweredToIt) {
    for (double factor : factors(0.5, 0.2)) EXPECT_NEAR(factor, 0.2, 1e-9);
    const Bars bars = make_bars(500, 5);
    const Result lowered = run_sar(bars.high, bars.low, 0.5, 0.2);
    const Result direct = run_sar(bars.high, bars.low, 0.2, 0.2);
    EXPECT_TRUE(same_values(direct.values, lowered.values.data(), lowered.values.size()));
}

TEST(Sar, TouchingTheStopReverses) {
    // With acceleration 0 the stop stays where a position starts it: 9 while
    // long, then 12 after the reversal at bar 3. A reversal reports the
    // extreme point of the position that ends.
    struct Case {
        const char* what;
        std::vector<double> high, low, expected;
    };
    const Case cases[] = {
        {"low equal to the long stop", {10, 11, 12, 11.5, 11, 12.5}, {9, 10, 11, 9, 8.5, 11}, {9, 9, 12, 12, 8.5}},
        {"low just above the long stop", {10, 11, 12, 11.5}, {9, 10, 11, 9.001}, {9, 9, 9}},
        {"high equal to the short stop", {10, 11, 12, 11.5, 12}, {9, 10, 11, 9, 8.5}, {9, 9, 12, 8.5}},
        {"high just below the short stop", {10, 11, 12, 11.5, 11.999}, {9, 10, 11, 9, 8.5}, {9, 9, 12, 12}},
    };
    for (const Case& c : cases) {
        const Result result = run_sar(c.high, c.low, 0.0, 0.2);
        ASSERT_EQ(result.rc, RC_OK) << c.what;
        EXPECT_TRUE(same_values(c.expected, result.values.data(), result.values.size())) << c.what;
    }
}

TEST(Sar, LookbackAndParameterRange) {
    EXPECT_EQ(sar_lookback(DEFAULT_REAL, DEFAULT_REAL), 1);
    EXPECT_EQ(sar_lookback(0.0, 3e37), 1);
    EXPECT_EQ(sar_lookback(-0.01, DEFAULT_REAL), -1);
    EXPECT_EQ(sar_lookback(0.02, 3.1e37), -1);
    EXPECT_EQ(sar_lookback(0.02, -1.0), -1);
    std::int32_t begin = -5, count = -7;
    double out[5] = {};
    EXPECT_EQ(MOVLEX_SAR(0, 5, HIGH.data(), LOW.data(), -0.01, 0.2, &begin, &count, out), RC_BAD_ARGUMENT);
    EXPECT_EQ(MOVLEX_SAR(0, 5, HIGH.data(), LOW.data(), 0.02, 3.1e37, &begin, &count, out), RC_BAD_ARGUMENT);
    EXPECT_EQ(begin, -5);
    EXPECT_EQ(count, -7);
}

}  // namespace
}  // namespace movlex::test
