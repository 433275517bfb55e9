#include "volume/volume_oscillator.hpp"

#include <algorithm>

namespace movlex {

namespace {

AverageStage<EmaKernel> ema_stage(std::int32_t period, const UnstablePeriods& unstable, Feed feed) {
    return average_stage(AverageKind<EmaKernel>{}, period, unstable, feed);
}

}  // namespace

// The shorter period makes the shorter average whichever comes first.
PvoKernel::PvoKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t signal_period,
                     const UnstablePeriods& unstable)
    : line_(ema_stage(std::min(fast_period, slow_period), unstable, Feed::bars),
            ema_stage(std::max(fast_period, slow_period), unstable, Feed::bars), 0, true),
      signal_(ema_stage(signal_period, unstable, Feed::values)) {}

PvoKernel pvo_kernel(const double* params, const UnstablePeriods& unstable) {
    return PvoKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]), unstable);
}

}  // namespace movlex
