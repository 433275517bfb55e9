// Both sides run the same kernel; the side picks which smoothed movement is
// set against the range and which unstable period applies.
#include "directional/indicators.hpp"

#include "directional/kernel_request.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

std::int32_t indicator_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(PLUS_DI_PARAMS, period)) return -1;
    if (period == 1) return 1;
    return period + unstable_period(slot);
}

template <class Kernel>
RetCode indicator_compute(UnstableSlot slot, std::int32_t first_index, std::int32_t last_index, const double* high,
                          const double* low, const double* close, std::int32_t period, std::int32_t* out_begin,
                          std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(PLUS_DI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    return directional::run_request(Kernel(period, unstable_period(slot)), first_index, last_index,
                                    std::array{high, low, close}, out_begin, out_count, out);
}

}  // namespace

std::int32_t plus_di_lookback(std::int32_t period) { return indicator_lookback(period, UNSTABLE_PLUS_DI); }

std::int32_t minus_di_lookback(std::int32_t period) { return indicator_lookback(period, UNSTABLE_MINUS_DI); }

RetCode plus_di_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                        const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                        double* out) {
    return indicator_compute<PlusDiKernel>(UNSTABLE_PLUS_DI, first_index, last_index, high, low, close, period,
                                           out_begin, out_count, out);
}

RetCode minus_di_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                         const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                         double* out) {
    return indicator_compute<MinusDiKernel>(UNSTABLE_MINUS_DI, first_index, last_index, high, low, close, period,
                                            out_begin, out_count, out);
}

PlusDiKernel plus_di_kernel(const double* params, const UnstablePeriods& unstable) {
    return PlusDiKernel(std::int32_t(params[0]), unstable[UNSTABLE_PLUS_DI]);
}

MinusDiKernel minus_di_kernel(const double* params, const UnstablePeriods& unstable) {
    return MinusDiKernel(std::int32_t(params[0]), unstable[UNSTABLE_MINUS_DI]);
}

}  // namespace movlex
