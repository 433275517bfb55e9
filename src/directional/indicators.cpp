// Both sides run the same kernel; the side picks which smoothed movement is
// set against the range and which unstable period applies.
#include "directional/indicators.hpp"

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

PlusDiKernel plus_di_kernel(const double* params, const UnstablePeriods& unstable) {
    return PlusDiKernel(std::int32_t(params[0]), unstable[UNSTABLE_PLUS_DI]);
}

MinusDiKernel minus_di_kernel(const double* params, const UnstablePeriods& unstable) {
    return MinusDiKernel(std::int32_t(params[0]), unstable[UNSTABLE_MINUS_DI]);
}

}  // namespace movlex
