#include "frame/elementary.hpp"

#include <cmath>
#include <limits>

namespace movlex {

namespace {

// ln 2 in two parts: the high part has zeros in its low 32 bits, so that k
// times it is exact for every |k| < 2^20.
constexpr double LN2_HIGH = 6.93147180369123816490e-01;
constexpr double LN2_LOW = 1.90821492927058770002e-10;
constexpr double INVERSE_LN2 = 1.44269504088896338700e+00;

}  // namespace

// exp(x) = 2^k exp(r), k the integer nearest x / ln 2 and |r| <= ln 2 / 2;
// exp(r) by its Taylor series to the 13th power, in Horner's order.
double portable_exp(double x) {
    if (std::isnan(x)) return x;
    if (x > 709.8) return std::numeric_limits<double>::infinity();
    if (x < -745.2) return 0.0;
    const double k = std::nearbyint(x * INVERSE_LN2);
    const double r = (x - k * LN2_HIGH) - k * LN2_LOW;
    constexpr double inverse_factorial[] = {1.0,
                                            1.0,
                                            1.0 / 2.0,
                                            1.0 / 6.0,
                                            1.0 / 24.0,
                                            1.0 / 120.0,
                                            1.0 / 720.0,
                                            1.0 / 5040.0,
                                            1.0 / 40320.0,
                                            1.0 / 362880.0,
                                            1.0 / 3628800.0,
                                            1.0 / 39916800.0,
                                            1.0 / 479001600.0,
                                            1.0 / 6227020800.0};
    double sum = inverse_factorial[13];
    for (int n = 12; n >= 0; --n) sum = sum * r + inverse_factorial[n];
    return std::ldexp(sum, int(k));
}

// log(x) = e ln 2 + log(m), x = m 2^e with sqrt(1/2) <= m < sqrt(2);
// log(m) = 2 atanh(s) = 2 (s + s^3/3 + s^5/5 + ...), s = (m - 1) / (m + 1),
// |s| < 0.172, to the 21st power.
double portable_log(double x) {
    if (std::isnan(x)) return x;
    if (x < 0.0) return std::numeric_limits<double>::quiet_NaN();
    if (x == 0.0) return -std::numeric_limits<double>::infinity();
    if (std::isinf(x)) return x;
    int e = 0;
    double m = std::frexp(x, &e);  // 0.5 <= m < 1, exact
    if (m < 0.70710678118654752440) {
        m *= 2.0;
        --e;
    }
    const double f = m - 1.0;  // exact: m lies within a factor of 2 of 1
    const double s = f / (2.0 + f);
    const double z = s * s;
    double series = 1.0 / 21.0;
    for (int n = 19; n >= 3; n -= 2) series = series * z + 1.0 / double(n);
    const double twice_s = 2.0 * s;
    const double k = double(e);
    return ((k * LN2_LOW + twice_s * (z * series)) + twice_s) + k * LN2_HIGH;
}

}  // namespace movlex
