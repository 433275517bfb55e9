// Worked examples of the extended set's averages and overlays, each on a
// small fixture whose values follow by hand (or with exact fractions) from
// the definition in docs/indicators.md, and their guards. The table-driven
// tests (contract, streams, Python) cover every row besides.
#include <cmath>
#include <functional>
#include <vector>

#include "entry_call.hpp"
#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// period 3: lag 1, de-lagged 2 x[t] - x[t-1] = 3, 6, 12, 24 from bar 1; the
// EMA (k = 1/2) is seeded at bar 3 with (3 + 6 + 12) / 3 = 7, then
// 7 + (24 - 7) / 2 = 15.5.
TEST(ExtendedAverages, ZeroLagAverageIsTheEmaOfTheDelaggedInput) {
    const LibraryStateGuard state(false);
    const std::vector<double> x{1, 2, 4, 8, 16};
    Call run(1, x.size());
    ASSERT_EQ(movlex_zlema(0, 4, x.data(), 3, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 3);
    expect_values(run.out[0], run.count, {7.0, 15.5}, 0.0);
}

// period 2 over price 1, 2, 3, 4 and volume 1, 1, 2, 0:
// (1 + 2) / 2, (2 + 6) / 3, (6 + 0) / 2.
TEST(ExtendedAverages, VolumeWeightedAverageWeighsEachPriceByItsVolume) {
    const std::vector<double> price{1, 2, 3, 4}, volume{1, 1, 2, 0};
    Call run(1, price.size());
    ASSERT_EQ(movlex_vwma(0, 3, price.data(), volume.data(), 2, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {1.5, 8.0 / 3.0, 3.0});
}

// A window without volume gives the bar's price: at once for zero volume,
// and also when the running sum of 0.1 + 0.2 - 0.1 - 0.2 leaves a residue of
// a few 1e-17 instead of zero.
TEST(ExtendedAverages, VolumeWeightedAveragesWithoutVolumeGiveThePrice) {
    const std::vector<double> price{5, 6, 7, 8}, volume{0.1, 0.2, 0.0, 0.0};
    Call run(1, price.size());
    ASSERT_EQ(movlex_vwma(0, 3, price.data(), volume.data(), 2, &run.begin, &run.count, run.out[0].data()), RC_OK);
    ASSERT_EQ(run.count, 3);
    EXPECT_EQ(run.out[0][2], 8.0);
    const std::vector<double> none(4, 0.0);
    ASSERT_EQ(movlex_vwap(0, 3, price.data(), price.data(), price.data(), none.data(), &run.begin, &run.count,
                          run.out[0].data()),
              RC_OK);
    expect_values(run.out[0], run.count, price, 0.0);
}

// Typical prices ((high + low) + close) / 3 = 2, 4, 6, 8 with volumes 1, 3,
// 0, 4. Cumulated from bar 0: 2, 14/4, 14/4, 46/8; from bar 2 (the anchor
// is the request's first bar): 6 (no volume yet: the price), 32/4. Over a
// window of 2: 14/4, 12/3, 32/4.
TEST(ExtendedAverages, VwapCumulatesFromTheFirstBarOfTheRequest) {
    const std::vector<double> high{3, 6, 9, 12}, low{0, 0, 0, 0}, close{3, 6, 9, 12}, volume{1, 3, 0, 4};
    Call run(1, high.size());
    ASSERT_EQ(movlex_vwap(0, 3, high.data(), low.data(), close.data(), volume.data(), &run.begin, &run.count,
                          run.out[0].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 0);
    expect_values(run.out[0], run.count, {2.0, 3.5, 3.5, 5.75});
    ASSERT_EQ(movlex_vwap(2, 3, high.data(), low.data(), close.data(), volume.data(), &run.begin, &run.count,
                          run.out[0].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[0], run.count, {6.0, 8.0});
    ASSERT_EQ(movlex_vwap_rolling(0, 3, high.data(), low.data(), close.data(), volume.data(), 2, &run.begin,
                                  &run.count, run.out[0].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {3.5, 4.0, 8.0});
}

// window 3, offset 0.85, sigma 6: centre m = 1.7, width s = 0.5, weights
// exp(-(k - 1.7)^2 / 0.5) for k = 0, 1, 2 (oldest first); over 1, 2, 4 the
// result is (w0 + 2 w1 + 4 w2) / (w0 + w1 + w2). With offset 0.5 the weights
// are symmetric and a straight line gives the window's middle bar; a window
// of 1 is the input itself.
TEST(ExtendedAverages, LegouxAverageWeighsTheWindowByAGaussian) {
    const std::vector<double> x{1, 2, 4}, line{3, 5, 7, 9, 11};
    Call run(1, line.size());
    ASSERT_EQ(movlex_alma(0, 2, x.data(), 3, 0.85, 6.0, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[0], run.count, {3.373892138839427});
    ASSERT_EQ(movlex_alma(0, 4, line.data(), 3, 0.5, 6.0, &run.begin, &run.count, run.out[0].data()), RC_OK);
    expect_values(run.out[0], run.count, {5, 7, 9});
    ASSERT_EQ(movlex_alma(0, 4, line.data(), 1, DEFAULT_REAL, DEFAULT_REAL, &run.begin, &run.count,
                          run.out[0].data()),
              RC_OK);
    expect_values(run.out[0], run.count, line, 0.0);
    EXPECT_EQ(movlex_alma(0, 4, line.data(), 3, 0.85, 0.0, &run.begin, &run.count, run.out[0].data()),
              RC_BAD_ARGUMENT);  // sigma below 0.1
}

// period 2: upper max(high), lower min(low) over bars t-1, t; middle between.
TEST(ExtendedAverages, DonchianChannelIsTheWindowsExtremes) {
    const std::vector<double> high{3, 5, 4, 2}, low{1, 2, 0, 1};
    Call run(3, high.size());
    ASSERT_EQ(movlex_donchian(0, 3, high.data(), low.data(), 2, &run.begin, &run.count, run.out[0].data(),
                              run.out[1].data(), run.out[2].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {5, 5, 4}, 0.0);
    expect_values(run.out[1], run.count, {3, 2.5, 2}, 0.0);
    expect_values(run.out[2], run.count, {1, 0, 0}, 0.0);
}

// A constant close 10 in bars 11/9 (true range 2): EMA(2) = 10 and ATR(1)
// = 2 from bar 1, so the bands lie 2 * 2 away; with a zero range they close
// on the middle.
TEST(ExtendedAverages, KeltnerBandsLieAMultipleOfTheAtrFromTheEma) {
    const std::vector<double> high(4, 11.0), low(4, 9.0), close(4, 10.0);
    Call run(3, high.size());
    ASSERT_EQ(movlex_keltner(0, 3, high.data(), low.data(), close.data(), 2, 1, 2.0, &run.begin, &run.count,
                             run.out[0].data(), run.out[1].data(), run.out[2].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {14, 14, 14}, 0.0);
    expect_values(run.out[1], run.count, {10, 10, 10}, 0.0);
    expect_values(run.out[2], run.count, {6, 6, 6}, 0.0);
    ASSERT_EQ(movlex_keltner(0, 3, close.data(), close.data(), close.data(), 2, 1, 2.0, &run.begin, &run.count,
                             run.out[0].data(), run.out[1].data(), run.out[2].data()),
              RC_OK);
    expect_values(run.out[0], run.count, {10, 10, 10}, 0.0);
    expect_values(run.out[2], run.count, {10, 10, 10}, 0.0);
}

// period 2, multiplier 1: true ranges 3, 2, 3 from bar 1; ATR seeded at bar
// 2 with (3 + 2) / 2 = 2.5, then (2.5 + 3) / 2 = 2.75. Highest highs 12, 13,
// lowest lows 9, 9: long 12 - 2.5, 13 - 2.75; short 9 + 2.5, 9 + 2.75.
TEST(ExtendedAverages, ChandelierExitHangsFromTheWindowsExtremes) {
    const std::vector<double> high{10, 12, 11, 13}, low{8, 9, 9, 10}, close{9, 11, 10, 12};
    Call run(2, high.size());
    ASSERT_EQ(movlex_chandelier(0, 3, high.data(), low.data(), close.data(), 2, 1.0, &run.begin, &run.count,
                                run.out[0].data(), run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[0], run.count, {9.5, 10.25}, 0.0);
    expect_values(run.out[1], run.count, {11.5, 11.75}, 0.0);
}

// period 1, multiplier 1 (the bands one true range from the bar's midpoint):
//   bar 1: bands 12 / 8, starts down: line 12.
//   bar 2: basic 10.5 / 8.5, both tighten: line 10.5.
//   bar 3: basic 15.5 / 8.5, neither moves; close 12.5 > 10.5 turns it up: 8.5.
//   bar 4: basic 13.5 / 11.5; the upper band resets (previous close above
//          it), the lower rises: line 11.5.
//   bar 5: basic 13.5 / 8.5, neither moves; close 10 < 11.5 turns it down: 13.5.
TEST(ExtendedAverages, SupertrendFlipsWhenTheCloseCrossesItsBand) {
    const std::vector<double> high{10, 11, 10, 13, 13, 12}, low{8, 9, 9, 11, 12, 10},
        close{9, 10, 9.5, 12.5, 12.5, 10};
    Call run(2, high.size());
    ASSERT_EQ(movlex_supertrend(0, 5, high.data(), low.data(), close.data(), 1, 1.0, &run.begin, &run.count,
                                run.out[0].data(), run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 1);
    expect_values(run.out[0], run.count, {12, 10.5, 8.5, 11.5, 13.5}, 0.0);
    expect_values(run.out[1], run.count, {-1, -1, 1, 1, -1}, 0.0);
}

// conversion 1, base 2, span B 3: at bar 2 conversion (5 + 1) / 2, base
// (6 + 1) / 2, span A their mean, span B (6 + 1) / 2, lagging the close; at
// bar 3: (7 + 4) / 2, (7 + 1) / 2, 4.75, (7 + 1) / 2, 6. The displacement
// only places the spans on a chart, and the first output waits for the
// longest window whichever it is.
TEST(ExtendedAverages, IchimokuLinesAreWindowMidpointsAtTheirOwnBar) {
    const std::vector<double> high{4, 6, 5, 7}, low{2, 3, 1, 4}, close{3, 5, 2, 6};
    for (const std::int32_t displacement : {1, 26}) {
        Call run(5, high.size());
        ASSERT_EQ(movlex_ichimoku(0, 3, high.data(), low.data(), close.data(), 1, 2, 3, displacement, &run.begin,
                                  &run.count, run.out[0].data(), run.out[1].data(), run.out[2].data(),
                                  run.out[3].data(), run.out[4].data()),
                  RC_OK);
        EXPECT_EQ(run.begin, 2);
        expect_values(run.out[0], run.count, {3, 5.5}, 0.0);
        expect_values(run.out[1], run.count, {3.5, 4}, 0.0);
        expect_values(run.out[2], run.count, {3.25, 4.75}, 0.0);
        expect_values(run.out[3], run.count, {3.5, 4}, 0.0);
        expect_values(run.out[4], run.count, {2, 6}, 0.0);
    }
    Call run(5, high.size());
    ASSERT_EQ(movlex_ichimoku(0, 3, high.data(), low.data(), close.data(), 1, 3, 2, 26, &run.begin, &run.count,
                              run.out[0].data(), run.out[1].data(), run.out[2].data(), run.out[3].data(),
                              run.out[4].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 2);
    expect_values(run.out[1], run.count, {3.5, 4}, 0.0);  // the base line now over 3 bars
}

}  // namespace
}  // namespace movlex::test
