// The machine runs as a kernel from the bar before the first output, which
// only lends its high and low to the opening bar.
#include "directional/sar.hpp"

#include "directional/kernel_request.hpp"
#include "frame/contract.hpp"

namespace movlex {

std::int32_t sar_lookback(double acceleration, double maximum) {
    if (!resolve(SAR_PARAMS, acceleration, maximum)) return -1;
    return 1;
}

RetCode sar_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    double acceleration, double maximum, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(SAR_PARAMS, acceleration, maximum)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    return directional::run_request(SarKernel(acceleration, maximum), first_index, last_index, std::array{high, low},
                                    out_begin, out_count, out);
}

SarKernel sar_kernel(const double* params, const UnstablePeriods&) { return SarKernel(params[0], params[1]); }

TwoSidedSarKernel sar_two_sided_kernel(const double* params, const UnstablePeriods&) {
    return TwoSidedSarKernel(SarKernel(params[0], params[1], params[2], params[3], params[4]));
}

}  // namespace movlex
