// Worked examples of the indicators from the sets traders use, each on a
// small fixture whose values follow by hand (or with exact fractions) from
// the definition in docs/indicators.md, and their guards. The table-driven
// tests (contract, streams, saved states, Python) cover every row besides.
#include <cmath>
#include <vector>

#include "entry_call.hpp"
#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// period 2 over 2, 4, 8, 4: seed (2 + 4) / 2 = 3; then r = 8/3,
// 3 + 5 / (2 * (8/3)^4) = 24981/8192; then r = 4 / (24981/8192), likewise.
// With period 1 a price of 0 takes the line to 0 (divisor 0), and the next
// price moves a line of 0 to itself.
TEST(ExtendedTrader, McginleyDynamicIsPacedByThePricesRatioToIt) {
    const std::vector<double> x{2, 4, 8, 4}, zero{1, 1, 0, 5};
    Call run(1, x.size());
    ASSERT_EQ(movlex_mcginley(0, 3, x.data(), 2, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {3.0, 24981.0 / 8192.0, 3.209980884686253});
    ASSERT_EQ(movlex_mcginley(0, 3, zero.data(), 1, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 0);
    expect_values(run.out[0], run.count, {1, 1, 0, 5}, 0.0);
}

// period 4: a = exp(-1.414 * 3.14159 / 4), c2 = 2a cos(63.63 degrees),
// c3 = -a^2, c1 = 1 - c2 - c3 (0.81589..., 0.29260..., -0.10849...); the
// first two bars pass through, then c1 (4 + 2) / 2 + 2 c2 + c3 = 2.92438...
TEST(ExtendedTrader, SuperSmootherIsTheTwoPoleFilterFromTheThirdBar) {
    const std::vector<double> x{1, 2, 4, 8, 16};
    Call run(1, x.size());
    ASSERT_EQ(movlex_super_smoother(0, 4, x.data(), 4, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 0);
    expect_values(run.out[0], run.count, {1, 2, 2.9243822364300343, 5.5340427203816125, 11.09269199924828});
}

// high pass 8, low pass 4: q = 31.815 degrees, alpha = (cos q + sin q - 1) /
// cos q = 0.44358...; hp = 0, 0, (1 - alpha/2)^2 * 1 = 0.60561..., ...; the
// output from bar 2 is the super smoother of hp fed from bar 0. A straight
// line has no second difference: the filter gives exact zeros.
TEST(ExtendedTrader, RoofingFilterSmoothsTheHighPassedSeries) {
    const std::vector<double> x{1, 2, 4, 8, 16, 8}, line{3, 5, 7, 9, 11, 13};
    Call run(1, x.size());
    ASSERT_EQ(movlex_roofing_filter(0, 5, x.data(), 8, 4, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[0], run.count,
                  {0.24705725278187937, 1.0883956856165753, 2.828279000932274, 0.2530469422364353});
    ASSERT_EQ(movlex_roofing_filter(0, 5, line.data(), 8, 4, &run.begin, &run.count, run.out[0].data()), RC_OK);
    expect_values(run.out[0], run.count, {0, 0, 0, 0}, 0.0);
}

// period 3 (alpha 1/2), cmo_period 2 over 10, 11, 13, 12, 18, 18, 18:
//   bar 2: changes +1 +2, k = 1, line (from 11) 13/2 + 11/2 = 12;
//   bar 3: +2 -1, k = 1/3, s = 1/6: 12;
//   bar 4: -1 +6, k = 5/7, s = 5/14: (5/14) 18 + (9/14) 12 = 198/14;
//   bar 5: +6 0, k = 1: 9 + 99/14 = 225/14;
//   bar 6: 0 0, no movement: k = 0 and the line stays.
TEST(ExtendedTrader, VidyaScalesTheEmaByTheAbsoluteCmo) {
    const std::vector<double> x{10, 11, 13, 12, 18, 18, 18};
    Call run(1, x.size());
    ASSERT_EQ(movlex_vidya(0, 6, x.data(), 3, 2, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[0], run.count, {12, 12, 198.0 / 14.0, 225.0 / 14.0, 225.0 / 14.0});
    EXPECT_EQ(run.out[0][3], run.out[0][4]);
}

// Bars (open, high, low, close) (10, 12, 9, 11), (11, 15, 10, 14),
// (9, 10, 7, 8): closes 42/4, 50/4, 34/4; opens (10 + 11) / 2, then
// (10.5 + 10.5) / 2, (10.5 + 12.5) / 2; the last open lies above the bar's
// high and becomes the high.
TEST(ExtendedTrader, HeikinAshiCandlesAverageTheBarAndTheCandleBefore) {
    const std::vector<double> open{10, 11, 9}, high{12, 15, 10}, low{9, 10, 7}, close{11, 14, 8};
    Call run(4, open.size());
    ASSERT_EQ(movlex_heikin_ashi(0, 2, open.data(), high.data(), low.data(), close.data(), &run.begin, &run.count,
                                 run.out[0].data(), run.out[1].data(), run.out[2].data(), run.out[3].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 0);
    expect_values(run.out[0], run.count, {10.5, 10.5, 11.5}, 0.0);
    expect_values(run.out[1], run.count, {12, 15, 11.5}, 0.0);
    expect_values(run.out[2], run.count, {9, 10, 7}, 0.0);
    expect_values(run.out[3], run.count, {10.5, 12.5, 8.5}, 0.0);
}

// span 1 over highs 1, 3, 2, 4, 4, 2 and lows 2, 1, 3, 2, 3, 1: bar 1 is both
// fractals (3 above 1 and 2, 1 below 2 and 3), bar 3 a down fractal only
// (its high 4 ties bar 4's); each reported at the bar after it.
TEST(ExtendedTrader, FractalsAreReportedOnceConfirmed) {
    const std::vector<double> high{1, 3, 2, 4, 4, 2}, low{2, 1, 3, 2, 3, 1};
    Call run(2, high.size());
    ASSERT_EQ(movlex_fractals(0, 5, high.data(), low.data(), 1, &run.begin, &run.count, run.out[0].data(),
                              run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[0], run.count, {1, 0, 0, 0}, 0.0);
    expect_values(run.out[1], run.count, {1, 0, 1, 0}, 0.0);
}

// fast 2, slow 3, signal 2. Sums (high + low) + close 27, 32, 30, 35, 31, 28
// give trends +1, -1, +1, -1, -1 from bar 1; dm 3, 2, 3, 3, 3; cm 2 + 3, 3 +
// 2, 2 + 3, 3 + 3, then 6 + 3 while the fall holds; forces 200 * 0.8 * 100 =
// 16000, -18000, 24000, -25000, -100 * (4/3) * 100. EMA(2) less EMA(3) from
// bar 3: 25000/3, -23500/9, ...; the signal EMA(2) of that from bar 4.
TEST(ExtendedTrader, KlingerOscillatorAveragesTheVolumeForce) {
    const std::vector<double> high{10, 12, 11, 13, 12, 11}, low{8, 9, 9, 10, 9, 8}, close{9, 11, 10, 12, 10, 9},
        volume{100, 200, 150, 300, 250, 100};
    Call run(2, high.size());
    ASSERT_EQ(movlex_kvo(0, 5, high.data(), low.data(), close.data(), volume.data(), 2, 3, 2, &run.begin,
                         &run.count, run.out[0].data(), run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 4);
    expect_values(run.out[0], run.count, {-23500.0 / 9.0, -1620.3703703703723});
    expect_values(run.out[1], run.count, {2861.1111111111095, -126.543209876545});
}

// period 2, smoothings 3: rsv (11 - 8) / 0.04 = 75, then 100/3, 75; k = (75 +
// 2 * 50) / 3 = 175/3, d = (175/3 + 100) / 3 = 475/9, j = 3k - 2d = 625/9.
TEST(ExtendedTrader, KdjSmoothsTheRawStochasticFromFifty) {
    const std::vector<double> high{10, 12, 11, 13}, low{8, 9, 9, 10}, close{9, 11, 10, 12};
    Call run(3, high.size());
    ASSERT_EQ(movlex_kdj(0, 3, high.data(), low.data(), close.data(), 2, 3, 3, &run.begin, &run.count,
                         run.out[0].data(), run.out[1].data(), run.out[2].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {175.0 / 3.0, 50.0, 58.333333333333336});
    expect_values(run.out[1], run.count, {475.0 / 9.0, 51.85185185185185, 54.01234567901235});
    expect_values(run.out[2], run.count, {625.0 / 9.0, 46.296296296296305, 66.9753086419753});
}

// period 2, smoothings 2 and 2 (k = 2/3). Distances from the window's middle
// 1, -1/2, 1, -1 and ranges 4, 3, 4, 4 from bar 1; first EMAs 1/4, 3/4,
// -5/12 and 7/2, 23/6, 71/18 from bar 2; second EMAs 1/2, -1/9 and 11/3,
// 104/27 from bar 3: 50 / (11/6) = 300/11, then -75/13.
TEST(ExtendedTrader, StochasticMomentumIndexComparesTheSmoothedDistanceWithHalfTheRange) {
    const std::vector<double> high{10, 12, 11, 13, 12}, low{8, 9, 9, 10, 9}, close{9, 11, 10, 12, 10};
    Call run(1, high.size());
    ASSERT_EQ(movlex_smi(0, 4, high.data(), low.data(), close.data(), 2, 2, 2, &run.begin, &run.count,
                         run.out[0].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 3);
    expect_values(run.out[0], run.count, {300.0 / 11.0, -75.0 / 13.0});
    const std::vector<double> flat(5, 7.0);
    ASSERT_EQ(movlex_smi(0, 4, flat.data(), flat.data(), flat.data(), 2, 2, 2, &run.begin, &run.count,
                         run.out[0].data()),
              RC_OK);
    expect_values(run.out[0], run.count, {0, 0}, 0.0);  // no range
}

// atr_period 2, multiplier 1, stop_period 2: ATR 2.5, 2.75, 2.875 from bar
// 2; highest highs 12, 13, 13 and lowest lows 9, 9, 9 give high stops 9.5,
// 10.25, 10.125 and low stops 11.5, 11.75, 11.875; over two bars from bar 3
// the short stop is 10.25, 10.25 and the long stop 11.5, 11.75.
TEST(ExtendedTrader, ChandeKrollStopTakesTheExtremeOfTheFirstStops) {
    const std::vector<double> high{10, 12, 11, 13, 12}, low{8, 9, 9, 10, 9}, close{9, 11, 10, 12, 10};
    Call run(2, high.size());
    ASSERT_EQ(movlex_chande_kroll(0, 4, high.data(), low.data(), close.data(), 2, 1.0, 2, &run.begin, &run.count,
                                  run.out[0].data(), run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 3);
    expect_values(run.out[0], run.count, {11.5, 11.75}, 0.0);
    expect_values(run.out[1], run.count, {10.25, 10.25}, 0.0);
}

}  // namespace
}  // namespace movlex::test
