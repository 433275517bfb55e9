// Every output follows from the three running sums in a fixed order:
//   slope     = (n * Sxy - Sx * Sy) / (n * Sxx - Sx * Sx)
//   intercept = (Sy - slope * Sx) / n
//   value     = intercept + slope * (n - 1)
//   forecast  = intercept + slope * n
//   angle     = arc_tangent(slope) * (180 / pi)
//   stderr    = the standard deviation (as STDDEV floors it) of the residual
//               variance (Syy - intercept * Sy - slope * Sxy) / (n - 2)
#include "statistics/linear_regression.hpp"

#include "averages/arc_tangent.hpp"
#include "statistics/variance.hpp"

namespace movlex {

namespace {

constexpr double DEGREES_PER_RADIAN = 180.0 / 3.141592653589793;

}  // namespace

LinregKernel::LinregKernel(std::int32_t period)
    : period_(period),
      count_(static_cast<double>(period)),
      newest_x_(static_cast<double>(period - 1)),
      sum_x_(static_cast<double>(Index{period} * (period - 1) / 2)),
      denominator_(count_ * static_cast<double>(Index{period} * (period - 1) * (2 * Index{period} - 1) / 6) -
                   sum_x_ * sum_x_),
      warm_up_(period - 1) {}

void LinregKernel::write_outputs(double* out) const {
    const double slope = (count_ * weighted_sum_ - sum_x_ * sum_) / denominator_;
    const double intercept = (sum_ - slope * sum_x_) / count_;
    out[0] = intercept + slope * newest_x_;
    out[1] = slope;
    out[2] = intercept;
    out[3] = arc_tangent(slope) * DEGREES_PER_RADIAN;
    out[4] = intercept + slope * count_;
    const double residual_variance = (sum_of_squares_ - intercept * sum_ - slope * weighted_sum_) / (count_ - 2.0);
    out[5] = standard_deviation(residual_variance);
}

LinregKernel linreg_kernel(const double* params, const UnstablePeriods&) {
    return LinregKernel(std::int32_t(params[0]));
}

}  // namespace movlex
