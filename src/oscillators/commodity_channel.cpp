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

std::int32_t cci_lookback(std::int32_t period) {
    if (!resolve(CCI_PARAMS, period)) return -1;
    return period - 1;
}

RetCode cci_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(CCI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    LocalBuffer<FRAME_VALUES> storage(period);
    if (!storage) return RC_NO_MEMORY;

    run_kernel(CciKernel(period, LentWindow(storage.data())), std::array{high, low, close}, start - lookback,
               last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

CciKernel<OwnedWindow> cci_kernel(const double* params, const UnstablePeriods&) {
    const auto period = std::int32_t(params[0]);
    return CciKernel(period, OwnedWindow(period));
}

}  // namespace movlex
