// The batch call lends the kernel its buffer of pairs: windows of up to 50
// pairs live in the routine's frame, longer ones come from the heap.
#include "volume/money_flow.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/local_buffer.hpp"

namespace movlex {

namespace {
constexpr std::size_t FRAME_PAIRS = 50;
}  // namespace

std::int32_t mfi_lookback(std::int32_t period) {
    if (!resolve(MFI_PARAMS, period)) return -1;
    return period + unstable_period(UNSTABLE_MFI);
}

RetCode mfi_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, const double* volume, std::int32_t period, std::int32_t* out_begin,
                    std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close, volume)
                           .params(MFI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    // The buffer is taken before the range is looked at, so a long period can
    // fail for lack of memory even when the range yields nothing.
    LocalBuffer<2 * FRAME_PAIRS> buffer(2 * static_cast<Index>(period));
    if (!buffer) return RC_NO_MEMORY;
    *out_begin = 0;
    *out_count = 0;

    const MfiKernel kernel(period, unstable_period(UNSTABLE_MFI), LentWindow(buffer.data()));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return RC_OK;

    run_kernel(kernel, std::array{high, low, close, volume}, start - kernel.lookback(), last_index,
               std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

MfiKernel<OwnedWindow> mfi_kernel(const double* params, const UnstablePeriods& unstable) {
    const auto period = std::int32_t(params[0]);
    return MfiKernel(period, unstable[UNSTABLE_MFI], OwnedWindow(2 * Index{period}));
}

}  // namespace movlex
