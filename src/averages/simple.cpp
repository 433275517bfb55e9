// Both averages carry their sums from one window to the next, so every output
// costs the same whatever the period; the drift of those running sums is part
// of the results.
#include "averages/simple.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

std::int32_t sma_lookback(std::int32_t period) {
    if (!resolve(SMA_PARAMS, period)) return -1;
    return period - 1;
}

std::int32_t wma_lookback(std::int32_t period) { return sma_lookback(period); }

RetCode sma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(SMA_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    return sma_core(first_index, last_index, input, period, out_begin, out_count, out);
}

RetCode sma_core(std::int32_t start, std::int32_t end, const double* input, std::int32_t period,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const Index lookback = period - 1;
    const Index first = std::max<Index>(start, lookback);
    if (first > end) return no_output(out_begin, out_count);

    run_kernel(SmaKernel(period), std::array{input}, first - lookback, end, std::array{out});
    return report_output(out_begin, out_count, first, end);
}

SmaKernel sma_kernel(const double* params, const UnstablePeriods&) { return SmaKernel(std::int32_t(params[0])); }

RetCode wma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(WMA_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(WmaKernel(period), std::array{input}, start - lookback, last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

WmaKernel wma_kernel(const double* params, const UnstablePeriods&) { return WmaKernel(std::int32_t(params[0])); }

}  // namespace movlex
