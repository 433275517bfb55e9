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

std::int32_t var_lookback(std::int32_t period, double deviations) {
    if (!resolve(VAR_PARAMS, period, deviations)) return -1;
    return period - 1;
}

std::int32_t stddev_lookback(std::int32_t period, double deviations) {
    if (!resolve(STDDEV_PARAMS, period, deviations)) return -1;
    return period - 1;
}

RetCode var_core(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(VarianceKernel(period), std::array{input}, start - lookback, last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

RetCode var_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    double deviations, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(VAR_PARAMS, period, deviations)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    return var_core(first_index, last_index, input, period, out_begin, out_count, out);
}

RetCode stddev_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                       double deviations, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(STDDEV_PARAMS, period, deviations)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(StdDevKernel(period, deviations), std::array{input}, start - lookback, last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

VarianceKernel var_kernel(const double* params, const UnstablePeriods&) { return VarianceKernel(std::int32_t(params[0])); }

StdDevKernel stddev_kernel(const double* params, const UnstablePeriods&) {
    return StdDevKernel(std::int32_t(params[0]), params[1]);
}

}  // namespace movlex
