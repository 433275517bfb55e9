// Both indicators run their kernel from the first bar they read: AD from the
// first requested bar, ADOSC from the EMA's lookback before it.
#include "volume/accumulation.hpp"

#include <algorithm>

#include "averages/exponential.hpp"
#include "frame/contract.hpp"

namespace movlex {

std::int32_t ad_lookback() { return 0; }

std::int32_t adosc_lookback(std::int32_t fast_period, std::int32_t slow_period) {
    if (!resolve(ADOSC_PARAMS, fast_period, slow_period)) return -1;
    return ema_lookback(std::max(fast_period, slow_period));
}

RetCode ad_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                   const double* close, const double* volume, std::int32_t* out_begin, std::int32_t* out_count,
                   double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(high, low, close, volume).outputs(out).result();
    if (rc != RC_OK) return rc;

    run_kernel(AdKernel(), std::array{high, low, close, volume}, first_index, last_index, std::array{out});
    return report_output(out_begin, out_count, first_index, last_index);
}

RetCode adosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, const double* volume, std::int32_t fast_period, std::int32_t slow_period,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close, volume)
                           .params(ADOSC_PARAMS, fast_period, slow_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const AdoscKernel kernel(fast_period, slow_period, unstable_period(UNSTABLE_EMA));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return no_output(out_begin, out_count);

    run_kernel(kernel, std::array{high, low, close, volume}, start - kernel.lookback(), last_index,
               std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

AdKernel ad_kernel(const double*, const UnstablePeriods&) { return AdKernel(); }

AdoscKernel adosc_kernel(const double* params, const UnstablePeriods& unstable) {
    return AdoscKernel(std::int32_t(params[0]), std::int32_t(params[1]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
