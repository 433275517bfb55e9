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

    // Weights 1 .. period - 1 on the values before start, and their plain sum.
    Index trailing = start - lookback;
    double weighted = 0.0;
    double plain = 0.0;
    for (Index j = 0; j < lookback; ++j) {
        const double value = input[trailing + j];
        weighted += value * static_cast<double>(j + 1);
        plain += value;
    }

    const double weight = static_cast<double>(period);
    const double divider = static_cast<double>(static_cast<Index>(period) * (period + 1) / 2);
    double trailing_value = 0.0;
    Index k = 0;
    for (Index i = start; i <= last_index; ++i, ++k) {
        const double next = input[trailing++];
        const double value = input[i];
        weighted += value * weight;
        out[k] = weighted / divider;
        // The value that left one step earlier is taken out of the plain sum
        // one step late, so plain is the sum of the current window here and
        // subtracting it lowers every weight of the window by one.
        plain = (plain + value) - trailing_value;
        weighted -= plain;
        trailing_value = next;
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
