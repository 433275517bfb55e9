// Both sides run the same kernel; the side picks which one-bar movement is
// kept and which unstable period applies.
#include "directional/movement.hpp"

#include "directional/kernel_request.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

std::int32_t movement_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(PLUS_DM_PARAMS, period)) return -1;
    if (period == 1) return 1;
    return period - 1 + unstable_period(slot);
}

template <class Kernel>
RetCode movement_compute(UnstableSlot slot, std::int32_t first_index, std::int32_t last_index, const double* high,
                         const double* low, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                         double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(PLUS_DM_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    return directional::run_request(Kernel(period, unstable_period(slot)), first_index, last_index,
                                    std::array{high, low}, out_begin, out_count, out);
}

}  // namespace

std::int32_t plus_dm_lookback(std::int32_t period) { return movement_lookback(period, UNSTABLE_PLUS_DM); }

std::int32_t minus_dm_lookback(std::int32_t period) { return movement_lookback(period, UNSTABLE_MINUS_DM); }

RetCode plus_dm_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                        std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return movement_compute<PlusDmKernel>(UNSTABLE_PLUS_DM, first_index, last_index, high, low, period, out_begin,
                                          out_count, out);
}

RetCode minus_dm_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                         std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return movement_compute<MinusDmKernel>(UNSTABLE_MINUS_DM, first_index, last_index, high, low, period, out_begin,
                                           out_count, out);
}

PlusDmKernel plus_dm_kernel(const double* params, const UnstablePeriods& unstable) {
    return PlusDmKernel(std::int32_t(params[0]), unstable[UNSTABLE_PLUS_DM]);
}

MinusDmKernel minus_dm_kernel(const double* params, const UnstablePeriods& unstable) {
    return MinusDmKernel(std::int32_t(params[0]), unstable[UNSTABLE_MINUS_DM]);
}

}  // namespace movlex
