// The batch call lends the kernel its buffer: windows of up to 30 values live
// in the routine's frame, longer ones come from the heap.
#include "oscillators/commodity_channel.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/local_buffer.hpp"

namespace movlex {

namespace {
constexpr std::size_t FRAME_VALUES = 30;
}  // namespace

RetCode cci_run(const double* params, const UnstablePeriods&, const EntryRequest<3, 1>& request) {
    const auto period = std::int32_t(params[0]);
    LocalBuffer<FRAME_VALUES> storage(period);
    if (!storage) return RC_NO_MEMORY;
    return run_request(CciKernel(period, LentWindow(storage.data())), request);
}

CciKernel<OwnedWindow> cci_kernel(const double* params, const UnstablePeriods&) {
    const auto period = std::int32_t(params[0]);
    return CciKernel(period, OwnedWindow(period));
}

}  // namespace movlex
