// Both indicators run one kernel; with a first index past the lookback the
// kernel is fed from lookback bars before it, so the seed always covers the
// period changes that end U bars before the first output.
#include "oscillators/rsi.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

RsiKernel rsi_kernel(const double* params, const UnstablePeriods& unstable) {
    return RsiKernel(std::int32_t(params[0]), unstable[UNSTABLE_RSI]);
}

CmoKernel cmo_kernel(const double* params, const UnstablePeriods& unstable) {
    return CmoKernel(std::int32_t(params[0]), unstable[UNSTABLE_CMO]);
}

}  // namespace movlex
