// Both indicators run one kernel; with a first index past the lookback the
// kernel is fed from lookback bars before it, so the seed always covers the
// period changes that end U bars before the first output.
#include "oscillators/rsi.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

std::int32_t oscillator_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(RSI_PARAMS, period)) return -1;
    return period + unstable_period(slot);
}

template <class Kernel>
RetCode gain_loss_oscillator(std::int32_t first_index, std::int32_t last_index, const double* input,
                             std::int32_t period, UnstableSlot slot, std::int32_t* out_begin,
                             std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(RSI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);

    const Kernel kernel(period, unstable_period(slot));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return RC_OK;

    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t rsi_lookback(std::int32_t period) { return oscillator_lookback(period, UNSTABLE_RSI); }
std::int32_t cmo_lookback(std::int32_t period) { return oscillator_lookback(period, UNSTABLE_CMO); }

RetCode rsi_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return gain_loss_oscillator<RsiKernel>(first_index, last_index, input, period, UNSTABLE_RSI, out_begin,
                                           out_count, out);
}

RetCode cmo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return gain_loss_oscillator<CmoKernel>(first_index, last_index, input, period, UNSTABLE_CMO, out_begin,
                                           out_count, out);
}

RsiKernel rsi_kernel(const double* params, const UnstablePeriods& unstable) {
    return RsiKernel(std::int32_t(params[0]), unstable[UNSTABLE_RSI]);
}

CmoKernel cmo_kernel(const double* params, const UnstablePeriods& unstable) {
    return CmoKernel(std::int32_t(params[0]), unstable[UNSTABLE_CMO]);
}

}  // namespace movlex
