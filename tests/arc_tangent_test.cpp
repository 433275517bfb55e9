#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "averages/arc_tangent.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr double HALF_PI = 1.5707963267948966;

TEST(ArcTangent, SpecialValuesAndSymmetry) {
    EXPECT_EQ(arc_tangent(1.0), 0.7853981633974483);  // pi/4 rounded
    EXPECT_EQ(arc_tangent(INFINITY), HALF_PI);
    EXPECT_EQ(arc_tangent(-INFINITY), -HALF_PI);
    EXPECT_EQ(arc_tangent(1e300), HALF_PI);
    EXPECT_TRUE(std::isnan(arc_tangent(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(same_bits(arc_tangent(0.0), 0.0));
    EXPECT_TRUE(same_bits(arc_tangent(-0.0), -0.0));
    EXPECT_EQ(arc_tangent(1e-300), 1e-300);
    EXPECT_EQ(arc_tangent(std::numeric_limits<double>::denorm_min()), std::numeric_limits<double>::denorm_min());
    for (double x : {1e-9, 0.3, 0.99, 1.5, 7.0, 1e9})
        EXPECT_TRUE(same_bits(arc_tangent(-x), -arc_tangent(x))) << x;
}

// Against a reference carried with 11 more bits (the extended-precision arc
// tangent of the test machine): the result must be the nearest double, except
// where the exact value lies so near a halfway point that the reference
// cannot tell.
TEST(ArcTangent, RoundsToTheNearestDouble) {
    std::uint64_t state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) / double(1ull << 53);
    };
    for (int i = 0; i < 400000; ++i) {
        // Magnitudes from 2^-30 to 2^40, both signs.
        const double x = std::ldexp(1.0 + next(), int(next() * 70) - 30) * (next() < 0.5 ? -1.0 : 1.0);
        const double result = arc_tangent(x);
        const long double reference = std::atan(static_cast<long double>(x));
        const long double ulp = std::nextafter(std::fabs(result), INFINITY) - std::fabs(result);
        const long double error = std::fabs(static_cast<long double>(result) - reference) / ulp;
        ASSERT_LE(error, 0.5L + 0.001L) << "x = " << x;
    }
}

// The quick pass may answer only with the careful pass's result. Its error
// is largest just inside the midpoints between its breakpoints, and its
// regions meet at 2^-6 and 512; the careful pass's steps meet at (k + 1/2)/64
// and their reciprocals: a few ulps around each of these, and arguments
// scattered close to them, agree bit for bit.
TEST(ArcTangent, QuickPassAgreesWithTheCarefulPassAtItsBreakpoints) {
    std::vector<double> anchors = {0x1p-27, 0x1p-6, 1.0, 512.0, 0x1p60};
    for (int e = -6; e <= 8; ++e) {
        const int count = e < 0 ? 256 : 1 << (8 - e);  // breakpoints in [2^e, 2^(e+1))
        for (int m = 0; m < 2 * count; ++m) anchors.push_back(std::ldexp(1.0 + m / (2.0 * count), e));
    }
    for (int k = 1; k <= 128; ++k) {
        anchors.push_back(k / 128.0);
        anchors.push_back(128.0 / k);
    }
    std::uint64_t state = 99;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) / double(1ull << 53);
    };
    for (const double anchor : anchors) {
        double below = anchor, above = anchor;
        for (int i = 0; i < 8; ++i) {
            for (const double x : {below, above, anchor * (1.0 + (next() - 0.5) * 1e-6)})
                ASSERT_TRUE(same_bits(arc_tangent(x), careful_arc_tangent(x))) << "x = " << std::hexfloat << x;
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, INFINITY);
        }
    }
}

// Where the exact value lies near a midpoint between two doubles, the quick
// pass cannot settle the result and hands it on; there, and just beside, the
// answer must be the careful pass's. The cases are picked by the reference of
// the test above (within 2^-7 ulp of a midpoint), over every region.
TEST(ArcTangent, NearMidpointsTheCarefulPassDecides) {
    std::uint64_t state = 2024;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) / double(1ull << 53);
    };
    int near_midpoints = 0;
    for (int i = 0; i < 400000; ++i) {
        // Magnitudes from 2^-28 to 2^12, both signs.
        const double x = std::ldexp(1.0 + next(), int(next() * 40) - 28) * (next() < 0.5 ? -1.0 : 1.0);
        const double result = arc_tangent(x);
        const long double ulp = std::nextafter(std::fabs(result), INFINITY) - std::fabs(result);
        const long double offset = std::fabs(std::atan(static_cast<long double>(x)) - result) / ulp;
        if (std::fabs(offset - 0.5L) > 0x1p-7L) continue;
        ++near_midpoints;
        ASSERT_TRUE(same_bits(result, careful_arc_tangent(x))) << "x = " << std::hexfloat << x;
    }
    EXPECT_GT(near_midpoints, 2000);
}

}  // namespace
}  // namespace movlex::test
