#include "oscillators/schaff.hpp"

#include <algorithm>

namespace movlex {

namespace {

AverageStage<EmaKernel> ema_of_bars(std::int32_t period, const UnstablePeriods& unstable) {
    return average_stage(AverageKind<EmaKernel>{}, period, unstable, Feed::bars);
}

}  // namespace

StcKernel::StcKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t cycle, double factor,
                     const UnstablePeriods& unstable)
    : cycle_(cycle),
      line_(ema_of_bars(std::min(fast_period, slow_period), unstable),
            ema_of_bars(std::max(fast_period, slow_period), unstable), 0, false),
      first_(cycle, factor),
      second_(cycle, factor) {}

StcKernel stc_kernel(const double* params, const UnstablePeriods& unstable) {
    return StcKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]), params[3], unstable);
}

}  // namespace movlex
