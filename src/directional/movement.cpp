// Every side runs the same kernel; the side picks which one-bar movement is
// kept (with the range, which smoothed movement is set against the range)
// and which unstable period applies.
#include "directional/movement.hpp"

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

PlusDmKernel plus_dm_kernel(const double* params, const UnstablePeriods& unstable) {
    return PlusDmKernel(std::int32_t(params[0]), unstable[UNSTABLE_PLUS_DM]);
}
MinusDmKernel minus_dm_kernel(const double* params, const UnstablePeriods& unstable) {
    return MinusDmKernel(std::int32_t(params[0]), unstable[UNSTABLE_MINUS_DM]);
}
PlusDiKernel plus_di_kernel(const double* params, const UnstablePeriods& unstable) {
    return PlusDiKernel(std::int32_t(params[0]), unstable[UNSTABLE_PLUS_DI]);
}
MinusDiKernel minus_di_kernel(const double* params, const UnstablePeriods& unstable) {
    return MinusDiKernel(std::int32_t(params[0]), unstable[UNSTABLE_MINUS_DI]);
}

}  // namespace movlex
