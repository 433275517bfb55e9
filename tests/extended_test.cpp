// Worked examples of the extended set, each on a small fixture whose values
// follow by hand (or with exact fractions) from the indicator's definition in
// docs/indicators.md. The table-driven tests (contract, streams, Python)
// cover every row besides.
#include <cmath>
#include <vector>

#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// Runs an entry over the whole input and returns its outputs placed at their
// bars (NaN before out_begin).
struct Result {
    RetCode code = RC_OK;
    std::int32_t begin = -1, count = -1;
    std::vector<double> out;
};

// ---- Averages and overlays -------------------------------------------------

// On a straight line the Hull average has no lag: 2 WMA(n/2) - WMA(n) leads
// the line by exactly the lag of WMA(sqrt n), so the result is the line.
// Period 4: WMA(2) = x - 1/3, WMA(4) = x - 1, difference x + 1/3, and WMA(2)
// of that is x; the first value is at bar 3 + 1.
TEST(ExtendedAverages, HullAverageFollowsALineWithoutLag) {
    std::vector<double> line;
    for (int i = 0; i < 12; ++i) line.push_back(10.0 + 2.0 * i);
    std::vector<double> out(line.size(), -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_hma(0, 11, line.data(), 4, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 4);
    ASSERT_EQ(count, 8);
    for (int k = 0; k < count; ++k) EXPECT_NEAR(out[k], line[begin + k], 1e-12) << k;
    EXPECT_EQ(movlex_hma(0, 11, line.data(), 3, &begin, &count, out.data()), RC_BAD_ARGUMENT);  // below 4
}

}  // namespace
}  // namespace movlex::test
