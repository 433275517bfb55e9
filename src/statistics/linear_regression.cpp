// Every output follows from the window's moments (positions a, values b less
// the shift K) in a fixed order:
//   slope     = products / squares_a
//   centre    = K + mean_b, the line at the window's centre
//   value     = centre + slope * half            (half = (n - 1) / 2)
//   intercept = centre - slope * half            (the line at the oldest bar)
//   forecast  = centre + slope * (half + 1)
//   angle     = arc_tangent(slope) * (180 / pi)
//   stderr    = sqrt((squares_b - slope * products) / (n - 2)), 0 where the
//               residual sum is not positive
#include "statistics/linear_regression.hpp"

#include <cmath>

#include "averages/arc_tangent.hpp"

namespace movlex {

namespace {

constexpr double DEGREES_PER_RADIAN = 180.0 / 3.141592653589793;

}  // namespace

void LinregReading::write_outputs(const Moments& m, double shift, double* out) const {
    const double slope = m.products / m.squares_a;
    const double centre = shift + m.mean_b;
    out[0] = centre + slope * half_;
    out[1] = slope;
    out[2] = centre - slope * half_;
    out[3] = arc_tangent(slope) * DEGREES_PER_RADIAN;
    out[4] = centre + slope * (half_ + 1.0);
    const double residuals = m.squares_b - slope * m.products;
    out[5] = residuals > 0.0 ? std::sqrt(residuals / residual_divisor_) : 0.0;
}

LinregKernel linreg_kernel(const double* params, const UnstablePeriods&) {
    return LinregKernel(std::int32_t(params[0]));
}

}  // namespace movlex
