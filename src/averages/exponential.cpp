// DEMA and TEMA chain the core over their own intermediate series; each stage
// is seeded and warmed up afresh, so the lookback grows by the EMA's lookback
// per stage.
#include "averages/exponential.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

double smoothing_factor(std::int32_t period) { return ema_smoothing_factor(period); }

}  // namespace

EmaKernel ema_kernel(const double* params, const UnstablePeriods& unstable) {
    const auto period = std::int32_t(params[0]);
    return EmaKernel(period, smoothing_factor(period), unstable[UNSTABLE_EMA]);
}

DemaKernel dema_kernel(const double* params, const UnstablePeriods& unstable) {
    return DemaKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

TemaKernel tema_kernel(const double* params, const UnstablePeriods& unstable) {
    return TemaKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
