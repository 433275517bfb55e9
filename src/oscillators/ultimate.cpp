// The kernel is fed from `longest period` bars before the first output, so
// every window starts from the same bars whatever the first index.
#include "oscillators/ultimate.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

std::int32_t ultosc_lookback(std::int32_t period1, std::int32_t period2, std::int32_t period3) {
    if (!resolve(ULTOSC_PARAMS, period1, period2, period3)) return -1;
    return std::max({period1, period2, period3});
}

RetCode ultosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t period1, std::int32_t period2, std::int32_t period3,
                       std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(ULTOSC_PARAMS, period1, period2, period3)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    *out_begin = 0;
    *out_count = 0;

    const UltoscKernel kernel(period1, period2, period3);
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return RC_OK;

    run_kernel(kernel, std::array{high, low, close}, start - kernel.lookback(), last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

UltoscKernel ultosc_kernel(const double* params, const UnstablePeriods&) {
    return UltoscKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]));
}

}  // namespace movlex
