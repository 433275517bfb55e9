// Worked examples of the extended set's volume and statistics indicators, each
// on a small fixture whose values follow by hand (or with exact fractions)
// from the definitions in docs/indicators.md, with the guards each defines.
// The table-driven tests (contract, streams, Python) cover every row besides.
#include <cmath>
#include <vector>

#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

using Series = std::vector<double>;

// ---- Volume ----------------------------------------------------------------

// Bar 1: rise, true low min(9, 9) -> +1.5; bar 2: fall, true high 10.5 -> -0.5;
// bar 3: unchanged close -> 0; bar 4: gap up, true low is the previous close
// 10 -> +1.5; bar 5: gap down, true high is the previous close 11.5 -> -3.
TEST(ExtendedVolume, WilliamsLineTakesTheTrueHighAndLowFromThePreviousClose) {
    const Series high{10, 11, 10.5, 10.5, 12, 9}, low{8, 9, 9.5, 10, 11, 8}, close{9, 10.5, 10, 10, 11.5, 8.5};
    Series out(6, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_wad(0, 5, high.data(), low.data(), close.data(), &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 1);
    ASSERT_EQ(count, 5);
    EXPECT_TRUE(same_values(Series{1.5, 1.0, 1.0, 2.5, -0.5}, out.data(), 5));
    // A later start begins the line afresh from its own first bar.
    ASSERT_EQ(movlex_wad(4, 5, high.data(), low.data(), close.data(), &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 4);
    EXPECT_TRUE(same_values(Series{1.5, -1.5}, out.data(), 2));
}

// Force 200, -100, 100, 0 from bar 1; EMA(2) seeded with (200 - 100) / 2 = 50
// at bar 2, then 50 + (100 - 50) * 2/3 = 250/3 and 250/3 - 250/3 * 2/3 = 250/9.
// The EMA's unstable period delays the first value.
TEST(ExtendedVolume, ForceIndexIsTheAverageOfPriceChangeTimesVolume) {
    const Series close{10, 11, 10, 12, 12}, volume{100, 200, 100, 50, 80};
    Series out(5, -1.0);
    std::int32_t begin = -1, count = -1;
    LibraryStateGuard loaded(false);
    ASSERT_EQ(movlex_force(0, 4, close.data(), volume.data(), 2, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    ASSERT_EQ(count, 3);
    expect_near_values(out.data(), {50.0, 250.0 / 3.0, 250.0 / 9.0});
    LibraryStateGuard initialised(true);  // unstable periods 150
    const Series long_close(200, 10.0), long_volume(200, 100.0);
    Series long_out(200, -1.0);
    ASSERT_EQ(movlex_force(0, 199, long_close.data(), long_volume.data(), 2, &begin, &count, long_out.data()), RC_OK);
    EXPECT_EQ(begin, 1 + 1 + 150);
}

// Money-flow volumes 50, 0 (no range), -200, 0, 0: the window sums give
// 50/400, -200/500, -200/200 and, with no volume at all, the guard value 0.
TEST(ExtendedVolume, ChaikinFlowGuardsZeroRangeAndZeroVolume) {
    const Series high{10, 10, 12, 11, 11}, low{8, 10, 10, 9, 9}, close{9.5, 10, 10, 10, 10},
        volume{100, 300, 200, 0, 0};
    Series out(5, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_cmf(0, 4, high.data(), low.data(), close.data(), volume.data(), 2, &begin, &count, out.data()),
              RC_OK);
    EXPECT_EQ(begin, 1);
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(same_values(Series{0.125, -0.4, -1.0, 0.0}, out.data(), 4));
}

// Divisor 10000. Midpoints 9, 11, 11, 13, 14, 15; one-bar values: 2 / ((4) / 2)
// = 1, 0 (no move), 0 (no range), 0 (no volume), 1 / (0.5 / 2) = 4; SMA(2).
TEST(ExtendedVolume, EaseOfMovementGuardsZeroRangeAndZeroVolume) {
    const Series high{10, 12, 12, 13, 15, 16}, low{8, 10, 10, 13, 13, 14}, volume{20000, 40000, 10000, 10000, 0, 5000};
    Series out(6, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_emv(0, 5, high.data(), low.data(), volume.data(), 2, 10000.0, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(same_values(Series{0.5, 0.0, 0.0, 2.0}, out.data(), 4));
    // The published scale by default: volumes 1e8 times larger give the same.
    Series scaled = volume;
    for (double& v : scaled) v *= 1e4;
    ASSERT_EQ(movlex_emv(0, 5, high.data(), low.data(), scaled.data(), 2, DEFAULT_REAL, &begin, &count, out.data()),
              RC_OK);
    EXPECT_TRUE(same_values(Series{0.5, 0.0, 0.0, 2.0}, out.data(), 4));
}

// ---- Statistics --------------------------------------------------------------

// Windows of 4 at x = 0..3. [1, 3, 2, 5]: Sy 11, Sxy 22, so slope (88 - 66) /
// 20 = 1.1, intercept (11 - 6.6) / 4 = 1.1, residuals -0.1, 0.8, -1.3, 0.6
// (squares 2.7, over n - 2). [3, 2, 5, 0]: slope -0.6, intercept 3.4,
// residuals -0.4, -0.8, 2.8, -1.6 (squares 11.2). Angles in degrees of
// atan(slope), as Python's math.atan gives them.
TEST(ExtendedStatistics, LinearRegressionGivesTheLeastSquaresLine) {
    const Series input{1, 3, 2, 5, 0};
    std::vector<Series> out(6, Series(5, -1.0));
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_linreg(0, 4, input.data(), 4, &begin, &count, out[0].data(), out[1].data(), out[2].data(),
                            out[3].data(), out[4].data(), out[5].data()),
              RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 2);
    expect_near_values(out[0].data(), {4.4, 1.6});                                  // value at the newest bar
    expect_near_values(out[1].data(), {1.1, -0.6});                                 // slope
    expect_near_values(out[2].data(), {1.1, 3.4});                                  // intercept, at the oldest bar
    expect_near_values(out[3].data(), {47.72631099390627, -30.96375653207352});     // angle
    expect_near_values(out[4].data(), {5.5, 1.0});                                  // forecast
    expect_near_values(out[5].data(), {1.161895003862225, 2.3664319132398464});     // standard error
    EXPECT_EQ(movlex_linreg(0, 4, input.data(), 2, &begin, &count, out[0].data(), out[1].data(), out[2].data(),
                            out[3].data(), out[4].data(), out[5].data()),
              RC_BAD_ARGUMENT);  // the standard error needs three bars
}

// A straight line has no error and its slope's angle; a flat one has angle 0.
TEST(ExtendedStatistics, LinearRegressionOfALineIsExact) {
    for (const double slope : {2.0, 0.0}) {
        Series line;
        for (int i = 0; i < 10; ++i) line.push_back(100.0 + slope * i);
        std::vector<Series> out(6, Series(10, -1.0));
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(movlex_linreg(0, 9, line.data(), 5, &begin, &count, out[0].data(), out[1].data(), out[2].data(),
                                out[3].data(), out[4].data(), out[5].data()),
                  RC_OK);
        ASSERT_EQ(count, 6);
        for (int k = 0; k < count; ++k) {
            EXPECT_NEAR(out[0][k], line[begin + k], 1e-10) << k;
            EXPECT_NEAR(out[1][k], slope, 1e-12) << k;
            EXPECT_NEAR(out[2][k], line[begin + k - 4], 1e-10) << k;
            EXPECT_NEAR(out[3][k], slope == 0.0 ? 0.0 : 63.43494882292201, 1e-10) << k;
            EXPECT_NEAR(out[4][k], 100.0 + slope * (begin + k + 1), 1e-10) << k;
            EXPECT_EQ(out[5][k], 0.0) << k;  // below the variance floor
        }
    }
}

// input = 2 other + 1 (correlation 1, beta 2), then other flat over the last
// window (both 0, the guard for no variance).
TEST(ExtendedStatistics, CorrelationAndBetaOfRelatedSeries) {
    const Series other{1, 2, 4, 3, 3, 3}, input{3, 5, 9, 7, 7, 7};
    Series correl(6, -1.0), beta(6, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_correl(0, 5, input.data(), other.data(), 3, &begin, &count, correl.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    ASSERT_EQ(count, 4);
    expect_near_values(correl.data(), {1.0, 1.0, 1.0, 0.0});
    ASSERT_EQ(movlex_beta(0, 5, input.data(), other.data(), 3, &begin, &count, beta.data()), RC_OK);
    expect_near_values(beta.data(), {2.0, 2.0, 2.0, 0.0});
    // Against its own negation: -1 and -1.
    Series negated = other;
    for (double& v : negated) v = -v;
    ASSERT_EQ(movlex_correl(0, 3, negated.data(), other.data(), 3, &begin, &count, correl.data()), RC_OK);
    expect_near_values(correl.data(), {-1.0, -1.0});
    ASSERT_EQ(movlex_beta(0, 3, negated.data(), other.data(), 3, &begin, &count, beta.data()), RC_OK);
    expect_near_values(beta.data(), {-1.0, -1.0});
}

// Windows of 3: [1, 2, 3] z = 1 / sqrt(2/3); [2, 3, 7] z = 3 / sqrt(14/3);
// [3, 7, 5] z = 0; [7, 5, 5] z = (-2/3) / sqrt(8/9); [5, 5, 5] no deviation: 0.
TEST(ExtendedStatistics, ZScoreGuardsAFlatWindow) {
    const Series input{1, 2, 3, 7, 5, 5, 5};
    Series out(7, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_zscore(0, 6, input.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    ASSERT_EQ(count, 5);
    expect_near_values(out.data(), {1.224744871391589, 1.3887301496588271, 0.0, -0.7071067811865475, 0.0});
}

// Against the three values before it: 2 over [3, 1, 2] counts only the 1 (the
// tie is not below), 5 over [1, 2, 2] counts all, 0 over [2, 2, 5] none.
TEST(ExtendedStatistics, PercentRankCountsStrictlyLowerPreviousValues) {
    const Series input{3, 1, 2, 2, 5, 0};
    Series out(6, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_percentrank(0, 5, input.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 3);
    EXPECT_TRUE(same_values(Series{100.0 / 3.0, 100.0, 0.0}, out.data(), 3));
}

}  // namespace
}  // namespace movlex::test
