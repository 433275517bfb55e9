// The bands allocate nothing: two of the three output arrays hold the average
// and the deviation while they are computed, chosen so that the input array
// may itself be one of the outputs.
#include "statistics/bollinger.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "averages/selector.hpp"
#include "frame/contract.hpp"
#include "statistics/variance.hpp"

namespace movlex {

namespace {

struct WorkingBuffers {
    double* average;
    double* deviation;
};

// Which outputs serve as working storage depends on which output, if any, is
// the input array.
WorkingBuffers choose_buffers(const double* input, double* out_upper, double* out_middle, double* out_lower) {
    if (input == out_upper) return {out_middle, out_lower};
    if (input == out_lower) return {out_middle, out_upper};
    if (input == out_middle) return {out_lower, out_upper};
    return {out_middle, out_upper};
}

}  // namespace

std::int32_t bbands_lookback(std::int32_t period, double deviations_up, double deviations_down,
                             std::int32_t ma_type) {
    if (!resolve(BBANDS_PARAMS, period, deviations_up, deviations_down, ma_type)) return -1;
    return std::max(ma_lookback(period, ma_type), period - 1);
}

void stddev_sma_core(const double* input, const double* averages, std::int32_t begin, std::int32_t count,
                     std::int32_t period, double* out) {
    double sumsq = 0.0;
    for (Index i = Index(begin) - period + 1; i < begin; ++i) sumsq += input[i] * input[i];
    for (Index j = 0; j < count; ++j) {
        const double x = input[begin + j];
        sumsq += x * x;
        const double meansq = sumsq / period;
        const double leaving = input[begin + j - period + 1];
        sumsq -= leaving * leaving;
        const double variance = meansq - averages[j] * averages[j];
        out[j] = variance < 1e-8 ? 0.0 : std::sqrt(variance);
    }
}

RetCode bbands_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                       double deviations_up, double deviations_down, std::int32_t ma_type, std::int32_t* out_begin,
                       std::int32_t* out_count, double* out_upper, double* out_middle, double* out_lower) {
    RetCode rc = Validation(first_index, last_index)
                     .inputs(input)
                     .params(BBANDS_PARAMS, period, deviations_up, deviations_down, ma_type)
                     .outputs(out_upper, out_middle, out_lower)
                     .result();
    if (rc != RC_OK) return rc;

    const WorkingBuffers buffers = choose_buffers(input, out_upper, out_middle, out_lower);
    if (buffers.average == input || buffers.deviation == input) return RC_BAD_ARGUMENT;  // input passed twice

    rc = ma_compute(first_index, last_index, input, period, ma_type, out_begin, out_count, buffers.average);
    if (rc != RC_OK || *out_count == 0) {
        *out_count = 0;
        return rc;
    }

    const std::int32_t average_begin = *out_begin;
    if (ma_type == MA_SMA) {
        stddev_sma_core(input, buffers.average, average_begin, *out_count, period, buffers.deviation);
    } else {
        rc = stddev_compute(average_begin, last_index, input, period, 1.0, out_begin, out_count, buffers.deviation);
        if (rc != RC_OK) {
            *out_count = 0;
            return rc;
        }
        // Only MAMA's average can begin before the deviation (its lookback
        // does not grow with the period); drop the averages that have no
        // deviation so that both start at the same input index.
        const Index dropped = Index(*out_begin) - average_begin;
        if (dropped > 0)
            std::memmove(buffers.average, buffers.average + dropped, std::size_t(*out_count) * sizeof(double));
    }

    if (buffers.average != out_middle)
        std::memcpy(out_middle, buffers.average, std::size_t(*out_count) * sizeof(double));
    for (Index j = 0; j < *out_count; ++j) {
        const double deviation = buffers.deviation[j];
        const double middle = out_middle[j];
        out_upper[j] = middle + deviation * deviations_up;
        out_lower[j] = middle - deviation * deviations_down;
    }
    return RC_OK;
}

}  // namespace movlex
