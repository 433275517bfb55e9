// Both sides run the same kernel; the side picks which one-bar movement is
// kept and which unstable period applies.
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

}  // namespace movlex
