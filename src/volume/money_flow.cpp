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

// The buffer is taken before the range is looked at, so a long period can
// fail for lack of memory even when the range yields nothing.
RetCode mfi_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<4, 1>& request) {
    const auto period = std::int32_t(params[0]);
    LocalBuffer<2 * FRAME_PAIRS> buffer(2 * static_cast<Index>(period));
    if (!buffer) return RC_NO_MEMORY;
    return run_request(MfiKernel(period, unstable[UNSTABLE_MFI], LentWindow(buffer.data())), request);
}

MfiKernel<OwnedWindow> mfi_kernel(const double* params, const UnstablePeriods& unstable) {
    const auto period = std::int32_t(params[0]);
    return MfiKernel(period, unstable[UNSTABLE_MFI], OwnedWindow(2 * Index{period}));
}

}  // namespace movlex
