#include "oscillators/signalled_oscillator.hpp"

#include <algorithm>

namespace movlex {

namespace {

AverageStage<EmaKernel> ema_stage(std::int32_t period, const UnstablePeriods& unstable, Feed feed) {
    return average_stage(AverageKind<EmaKernel>{}, period, unstable, feed);
}

}  // namespace

SignalledOscillatorKernel::SignalledOscillatorKernel(std::int32_t fast_period, std::int32_t slow_period,
                                                     std::int32_t signal_period, bool percent,
                                                     const UnstablePeriods& unstable)
    : line_(ema_stage(std::min(fast_period, slow_period), unstable, Feed::bars),
            ema_stage(std::max(fast_period, slow_period), unstable, Feed::bars), 0, percent),
      signal_(ema_stage(signal_period, unstable, Feed::values)) {}

SignalledOscillatorKernel signalled_oscillator(const double* params, bool percent, const UnstablePeriods& unstable) {
    return SignalledOscillatorKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]),
                                     percent, unstable);
}

}  // namespace movlex
