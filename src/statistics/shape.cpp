// One more value and two adjacent runs, to the fourth power: P. Pébay,
// "Formulas for Robust, One-Pass Parallel Computation of Covariances and
// Arbitrary-Order Statistical Moments", Sandia report SAND2008-6212 (2008),
// equations (2.1) and (3.1); the one-value form is the two-run form with a
// run of one value.
#include "statistics/shape.hpp"

#include <cmath>

namespace movlex {

void ShapeMoments::add(double x, double) {
    const double before = count;
    count += 1.0;
    const double delta = x - mean;
    const double step = delta / count;
    const double step2 = step * step;
    const double term = delta * step * before;
    mean += step;
    m4 += (term * step2 * ((count * count - 3.0 * count) + 3.0) + 6.0 * step2 * m2) - 4.0 * step * m3;
    m3 += term * step * (count - 2.0) - 3.0 * step * m2;
    m2 += term;
}

ShapeMoments combined(const ShapeMoments& a, const ShapeMoments& b) {
    ShapeMoments m{};
    m.count = a.count + b.count;
    const double n = m.count;
    const double delta = b.mean - a.mean;
    const double delta2 = delta * delta;
    const double both = a.count * b.count;
    m.mean = a.mean + delta * (b.count / n);
    m.m2 = (a.m2 + b.m2) + delta2 * (both / n);
    m.m3 = ((a.m3 + b.m3) + delta * delta2 * (both * (a.count - b.count) / (n * n))) +
           3.0 * delta * ((a.count * b.m2 - b.count * a.m2) / n);
    m.m4 = (((a.m4 + b.m4) +
             delta2 * delta2 * (both * ((a.count * a.count - a.count * b.count) + b.count * b.count) / (n * n * n))) +
            6.0 * delta2 * ((a.count * a.count * b.m2 + b.count * b.count * a.m2) / (n * n))) +
           4.0 * delta * ((a.count * b.m3 - b.count * a.m3) / n);
    return m;
}

double skewness(const ShapeMoments& s) {
    if (s.m2 == 0.0) return 0.0;
    const double m2 = s.m2 / s.count;
    return (s.m3 / s.count) / (m2 * std::sqrt(m2));
}

double excess_kurtosis(const ShapeMoments& s) {
    if (s.m2 == 0.0) return 0.0;
    const double m2 = s.m2 / s.count;
    return (s.m4 / s.count) / (m2 * m2) - 3.0;
}

RollingSkewKernel rolling_skew_kernel(const double* params, const UnstablePeriods&) {
    return RollingSkewKernel(std::int32_t(params[0]));
}

RollingKurtosisKernel rolling_kurtosis_kernel(const double* params, const UnstablePeriods&) {
    return RollingKurtosisKernel(std::int32_t(params[0]));
}

}  // namespace movlex
