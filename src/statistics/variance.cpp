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

namespace {

// Variances strictly below this give a standard deviation of 0; it also
// absorbs the slightly negative residues of the running sums.
constexpr double VARIANCE_FLOOR = 1e-8;

}  // namespace

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

    Index trailing = start - lookback;
    double sum = 0.0;
    double sum_of_squares = 0.0;
    for (Index i = trailing; i < start; ++i) {
        sum += input[i];
        sum_of_squares += input[i] * input[i];
    }

    const double divisor = static_cast<double>(period);
    Index k = 0;
    for (Index today = start; today <= last_index; ++today, ++k) {
        const double value = input[today];
        sum += value;
        sum_of_squares += value * value;
        const double mean = sum / divisor;
        const double mean_of_squares = sum_of_squares / divisor;
        // The oldest value leaves before the output is stored, which also
        // keeps every read ahead of the write when out is input.
        const double leaving = input[trailing++];
        sum -= leaving;
        sum_of_squares -= leaving * leaving;
        out[k] = mean_of_squares - mean * mean;
    }
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

    const RetCode core_rc = var_core(first_index, last_index, input, period, out_begin, out_count, out);
    if (core_rc != RC_OK) return core_rc;

    const Index count = *out_count;
    for (Index j = 0; j < count; ++j) {
        const double variance = out[j];
        out[j] = variance < VARIANCE_FLOOR ? 0.0 : std::sqrt(variance) * deviations;
    }
    return RC_OK;
}

}  // namespace movlex
