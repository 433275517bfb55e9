// Each stochastic runs one kernel: the raw %K from the window extremes, then
// its averages, each fed one value per bar, so no series is stored between
// the stages. A step reads no input older than lookback bars back, and an
// output is stored after its step, so an output may be an input.
//
// The window extremes of a long %K window and the averages that read back
// their own input keep storage of their own; when it cannot be had the call
// returns RC_NO_MEMORY with out_begin and out_count 0.
#include "oscillators/stochastic.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

std::int32_t stochf_lookback(std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type) {
    if (!resolve(STOCHF_PARAMS, fast_k_period, fast_d_period, fast_d_ma_type)) return -1;
    return (fast_k_period - 1) + ma_lookback(fast_d_period, fast_d_ma_type);
}

std::int32_t stoch_lookback(std::int32_t fast_k_period, std::int32_t slow_k_period, std::int32_t slow_k_ma_type,
                            std::int32_t slow_d_period, std::int32_t slow_d_ma_type) {
    if (!resolve(STOCH_PARAMS, fast_k_period, slow_k_period, slow_k_ma_type, slow_d_period, slow_d_ma_type)) return -1;
    return (fast_k_period - 1) + ma_lookback(slow_k_period, slow_k_ma_type) +
           ma_lookback(slow_d_period, slow_d_ma_type);
}

std::int32_t stochrsi_lookback(std::int32_t period, std::int32_t fast_k_period, std::int32_t fast_d_period,
                               std::int32_t fast_d_ma_type) {
    const std::int32_t rsi = rsi_lookback(period);
    const std::int32_t stochf = stochf_lookback(fast_k_period, fast_d_period, fast_d_ma_type);
    if (rsi < 0 || stochf < 0) return -1;
    return rsi + stochf;
}

RetCode stochf_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t fast_k_period, std::int32_t fast_d_period,
                       std::int32_t fast_d_ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out_k,
                       double* out_d) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(STOCHF_PARAMS, fast_k_period, fast_d_period, fast_d_ma_type)
                           .outputs(out_k, out_d)
                           .result();
    if (rc != RC_OK) return rc;

    // The kernel compiled for the chosen average: the stream's kernel with
    // the choice made once instead of at every bar.
    return guard_allocation(out_begin, out_count, [&] {
        return with_average(fast_d_period, fast_d_ma_type, current_unstable_periods(), [&](const auto& d) {
            const StochfKernelOf kernel(fast_k_period, d);
            const Index start = std::max<Index>(first_index, kernel.lookback());
            if (start > last_index) return no_output(out_begin, out_count);
            run_kernel(kernel, std::array{high, low, close}, start - kernel.lookback(), last_index,
                       std::array{out_k, out_d});
            return report_output(out_begin, out_count, start, last_index);
        });
    });
}

RetCode stoch_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t fast_k_period, std::int32_t slow_k_period,
                      std::int32_t slow_k_ma_type, std::int32_t slow_d_period, std::int32_t slow_d_ma_type,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out_k, double* out_d) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(STOCH_PARAMS, fast_k_period, slow_k_period, slow_k_ma_type, slow_d_period,
                                   slow_d_ma_type)
                           .outputs(out_k, out_d)
                           .result();
    if (rc != RC_OK) return rc;

    const UnstablePeriods unstable = current_unstable_periods();
    return guard_allocation(out_begin, out_count, [&] {
        const AnyMaKernel slow_d(slow_d_period, slow_d_ma_type, unstable);
        return with_average(slow_k_period, slow_k_ma_type, unstable, [&](const auto& slow_k) {
            const StochKernelOf kernel(fast_k_period, slow_k, slow_d);
            const Index start = std::max<Index>(first_index, kernel.lookback());
            if (start > last_index) return no_output(out_begin, out_count);
            run_kernel(kernel, std::array{high, low, close}, start - kernel.lookback(), last_index,
                       std::array{out_k, out_d});
            return report_output(out_begin, out_count, start, last_index);
        });
    });
}

RetCode stochrsi_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                         std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type,
                         std::int32_t* out_begin, std::int32_t* out_count, double* out_k, double* out_d) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(STOCHRSI_PARAMS, period, fast_k_period, fast_d_period, fast_d_ma_type)
                           .outputs(out_k, out_d)
                           .result();
    if (rc != RC_OK) return rc;

    const UnstablePeriods unstable = current_unstable_periods();
    const RsiKernel rsi(period, unstable[UNSTABLE_RSI]);
    return guard_allocation(out_begin, out_count, [&] {
        return with_average(fast_d_period, fast_d_ma_type, unstable, [&](const auto& d) {
            const StochrsiKernelOf kernel(rsi, fast_k_period, d);
            const Index start = std::max<Index>(first_index, kernel.lookback());
            if (start > last_index) return no_output(out_begin, out_count);
            run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out_k, out_d});
            return report_output(out_begin, out_count, start, last_index);
        });
    });
}

StochKernel stoch_kernel(const double* params, const UnstablePeriods& unstable) {
    return StochKernel(std::int32_t(params[0]), AnyMaKernel(std::int32_t(params[1]), std::int32_t(params[2]), unstable),
                       AnyMaKernel(std::int32_t(params[3]), std::int32_t(params[4]), unstable));
}

StochfKernel stochf_kernel(const double* params, const UnstablePeriods& unstable) {
    return StochfKernel(std::int32_t(params[0]),
                        AnyMaKernel(std::int32_t(params[1]), std::int32_t(params[2]), unstable));
}

StochrsiKernel stochrsi_kernel(const double* params, const UnstablePeriods& unstable) {
    return StochrsiKernel(RsiKernel(std::int32_t(params[0]), unstable[UNSTABLE_RSI]), std::int32_t(params[1]),
                          AnyMaKernel(std::int32_t(params[2]), std::int32_t(params[3]), unstable));
}

}  // namespace movlex
