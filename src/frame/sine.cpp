#include "frame/sine.hpp"

#include <array>
#include <cmath>
#include <cstddef>

namespace movlex {

namespace {

constexpr double RADIANS_PER_DEGREE = 3.141592653589793 / 180.0;

// p(s) = c[0] s^(N-1) + ... + c[N-1] by Horner's rule, the highest
// coefficient first: p = c[k] + s * p.
template <std::size_t N>
double horner(double s, const std::array<double, N>& c) {
    double p = c[0];
    for (std::size_t k = 1; k < N; ++k) p = c[k] + s * p;
    return p;
}

// sin x and cos x for |x| <= pi / 4 by Horner's rule over their Taylor
// series, to the terms in x^17 and x^16 (each below 2^-54 of the result).
constexpr std::array<double, 8> SINE_TERMS{1.0 / 355687428096000.0, -1.0 / 1307674368000.0,
                                           1.0 / 6227020800.0,      -1.0 / 39916800.0,
                                           1.0 / 362880.0,          -1.0 / 5040.0,
                                           1.0 / 120.0,             -1.0 / 6.0};
constexpr std::array<double, 8> COSINE_TERMS{1.0 / 20922789888000.0, -1.0 / 87178291200.0,
                                             1.0 / 479001600.0,      -1.0 / 3628800.0,
                                             1.0 / 40320.0,          -1.0 / 720.0,
                                             1.0 / 24.0,             -0.5};

double sine_near_zero(double x) {
    const double s = x * x;
    return x + (x * s) * horner(s, SINE_TERMS);
}

double cosine_near_zero(double x) {
    const double s = x * x;
    return 1.0 + s * horner(s, COSINE_TERMS);
}

// The angle as r + 90 q degrees, |r| <= 45, q in 0..3; fmod and the
// subtraction of a whole multiple of 90 are exact.
double reduce(double degrees, int& quarter) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0) d += 360.0;
    const double q = std::floor((d + 45.0) / 90.0);
    quarter = static_cast<int>(q) & 3;
    return (d - 90.0 * q) * RADIANS_PER_DEGREE;
}

}  // namespace

double sine_degrees(double degrees) {
    if (std::isnan(degrees) || std::isinf(degrees)) return degrees - degrees;
    int quarter;
    const double x = reduce(degrees, quarter);
    switch (quarter) {
        case 0: return sine_near_zero(x);
        case 1: return cosine_near_zero(x);
        case 2: return -sine_near_zero(x);
        default: return -cosine_near_zero(x);
    }
}

double cosine_degrees(double degrees) {
    if (std::isnan(degrees) || std::isinf(degrees)) return degrees - degrees;
    int quarter;
    const double x = reduce(degrees, quarter);
    switch (quarter) {
        case 0: return cosine_near_zero(x);
        case 1: return -sine_near_zero(x);
        case 2: return -cosine_near_zero(x);
        default: return sine_near_zero(x);
    }
}

}  // namespace movlex
