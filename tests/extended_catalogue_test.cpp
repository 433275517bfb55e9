// Worked examples of the last indicators of the catalogue (docs/indicators.md,
// "Completing the catalogue"), each on a small fixture of whole numbers whose
// values follow from the definition with exact fractions, and the guards each
// definition names. The table-driven tests (contract, streams, saved states,
// Python) cover every row besides.
#include <cmath>
#include <vector>

#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Call {
    std::int32_t begin = -1, count = -1;
    std::vector<std::vector<double>> out;
    Call(std::size_t outputs, std::size_t size) : out(outputs, std::vector<double>(size, -1.0)) {}
};

void expect_values(const std::vector<double>& actual, std::int32_t count, const std::vector<double>& expected,
                   double tolerance = 1e-12) {
    ASSERT_EQ(count, std::int32_t(expected.size()));
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance * std::max(1.0, std::fabs(expected[k]))) << "output " << k;
}

// fast 2, slow 3, cycle 3, factor 1/2 over the fixture: the MACD line from
// bar 2 is 0, 2/3, 7/18, 95/108, ...; the first stage from bar 4 smooths from
// 0: 175/6 (half the stochastic 175/3 of 7/18 in 0..2/3), 775/12, 775/24,
// ...; the second stage from bar 6: half the stochastic 150/17 of 775/24
// among those three, 75/17, then 3876675/713558, ...
TEST(ExtendedCatalogue, SchaffTrendCycleIsTheSmoothedStochasticTakenTwice) {
    const std::vector<double> x{10, 12, 11, 15, 14, 18, 13, 16, 17, 12, 14, 19};
    Call run(1, x.size());
    ASSERT_EQ(movlex_stc(0, 11, x.data(), 2, 3, 3, 0.5, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 6);
    expect_values(run.out[0], run.count,
                  {75.0 / 17.0, 3876675.0 / 713558.0, 75232475.0 / 1427116.0, 75232475.0 / 2854232.0,
                   17.249885102463352, 58.624942551231676});
}

// Squares climb ever faster: every MACD value is a new high, the first stage
// climbs to 100 and stays there, and its flat window holds the second stage's
// stochastic at 100 rather than taking it to 0.
TEST(ExtendedCatalogue, SchaffTrendCycleHoldsOverAFlatWindow) {
    std::vector<double> x(300);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = double(i) * double(i);
    Call run(1, x.size());
    ASSERT_EQ(movlex_stc(0, 299, x.data(), 23, 50, 10, 0.5, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_NEAR(run.out[0][std::size_t(run.count - 1)], 100.0, 1e-9);
}

}  // namespace
}  // namespace movlex::test
