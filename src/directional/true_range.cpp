// All three run one kernel over the bars: the true range carries only the
// previous close, the averages also their running average, so nothing is
// kept per bar and no memory is allocated.
#include "directional/true_range.hpp"

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

TrueRangeKernel trange_kernel(const double*, const UnstablePeriods&) { return TrueRangeKernel(); }

AtrKernel atr_kernel(const double* params, const UnstablePeriods& unstable) {
    return AtrKernel(std::int32_t(params[0]), unstable[UNSTABLE_ATR]);
}

NatrKernel natr_kernel(const double* params, const UnstablePeriods& unstable) {
    return NatrKernel(std::int32_t(params[0]), unstable[UNSTABLE_NATR]);
}

}  // namespace movlex
