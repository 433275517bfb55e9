// The machine runs as a kernel from the bar before the first output, which
// only lends its high and low to the opening bar.
#include "directional/sar.hpp"

#include "frame/contract.hpp"

namespace movlex {

SarKernel sar_kernel(const double* params, const UnstablePeriods&) { return SarKernel(params[0], params[1]); }

TwoSidedSarKernel sar_two_sided_kernel(const double* params, const UnstablePeriods&) {
    return TwoSidedSarKernel(SarKernel(params[0], params[1], params[2], params[3], params[4]));
}

}  // namespace movlex
