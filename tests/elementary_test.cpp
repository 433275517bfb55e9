// The library's own exponential and logarithm: within a couple of units in
// the last place of the runtime's, over the whole range the indicators use
// them in, with the special values of the runtime's.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "frame/elementary.hpp"

namespace movlex {
namespace {

// The distance in units in the last place between two finite doubles of the
// same sign.
std::int64_t ulps_apart(double a, double b) {
    std::int64_t ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    return ia > ib ? ia - ib : ib - ia;
}

TEST(Elementary, ExponentialWithinTwoUlps) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> wide(-700.0, 700.0), narrow(-3.0, 3.0);
    for (int n = 0; n < 200000; ++n) {
        const double x = n % 2 == 0 ? wide(random) : narrow(random);
        ASSERT_LE(ulps_apart(portable_exp(x), std::exp(x)), 2) << x;
    }
    EXPECT_EQ(portable_exp(0.0), 1.0);
    EXPECT_EQ(portable_exp(-1000.0), 0.0);
    EXPECT_TRUE(std::isinf(portable_exp(1000.0)));
    EXPECT_TRUE(std::isnan(portable_exp(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Elementary, LogarithmWithinTwoUlps) {
    std::mt19937_64 random(6);
    std::uniform_real_distribution<double> exponent(-300.0, 300.0), near_one(0.5, 2.0);
    for (int n = 0; n < 200000; ++n) {
        const double x = n % 2 == 0 ? std::pow(10.0, exponent(random)) : near_one(random);
        const double expected = std::log(x);
        if (expected == 0.0) continue;
        ASSERT_LE(ulps_apart(portable_log(x), expected), 2) << x;
    }
    EXPECT_EQ(portable_log(1.0), 0.0);
    EXPECT_TRUE(std::isinf(portable_log(0.0)) && portable_log(0.0) < 0);
    EXPECT_TRUE(std::isnan(portable_log(-1.0)));
    EXPECT_TRUE(std::isinf(portable_log(std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace movlex
