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

// Each output within a few ulps (relative 1e-12) of the expected value.
void expect_values(const double* out, const Series& expected) {
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(out[k], expected[k], 1e-12 * std::max(1.0, std::fabs(expected[k]))) << "output " << k;
}

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
    expect_values(out.data(), {50.0, 250.0 / 3.0, 250.0 / 9.0});
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

}  // namespace
}  // namespace movlex::test
