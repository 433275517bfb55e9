// Variance as mean of squares minus square of mean, from a running sum and a
// running sum of squares that are carried over the whole range and never
// recomputed, so every output costs the same whatever the period. The
// rounding drift of those sums is part of the results; the variance is not
// clamped and may come out slightly negative.
#include "statistics/variance.hpp"

#include <algorithm>
#include <cmath>

#include "frame/contract.hpp"

namespace movlex {

VarianceKernel var_kernel(const double* params, const UnstablePeriods&) { return VarianceKernel(std::int32_t(params[0])); }

StdDevKernel stddev_kernel(const double* params, const UnstablePeriods&) {
    return StdDevKernel(std::int32_t(params[0]), params[1]);
}

}  // namespace movlex
