#include <cmath>
#include <cstdint>
#include <limits>

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

}  // namespace
}  // namespace movlex::test
