// Worked examples of the extended set's averages and overlays, each on a
// small fixture whose values follow by hand (or with exact fractions) from
// the definition in docs/indicators.md, and their guards. The table-driven
// tests (contract, streams, Python) cover every row besides.
#include <cmath>
#include <functional>
#include <vector>

#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// The outputs of one call, as the entry reported them.
struct Call {
    RetCode code = RC_OK;
    std::int32_t begin = -1, count = -1;
    std::vector<std::vector<double>> out;

    explicit Call(std::size_t outputs, std::size_t size) : out(outputs, std::vector<double>(size, -1.0)) {}
};

void expect_values(const std::vector<double>& actual, std::int32_t count, const std::vector<double>& expected,
                   double tolerance = 1e-12) {
    ASSERT_EQ(count, std::int32_t(expected.size()));
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance * std::max(1.0, std::fabs(expected[k]))) << "output " << k;
}

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

}  // namespace
}  // namespace movlex::test
