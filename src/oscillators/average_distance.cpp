#include "oscillators/average_distance.hpp"

namespace movlex {

DpoKernel dpo_kernel(const double* params, const UnstablePeriods&) { return DpoKernel(std::int32_t(params[0])); }

AoKernel ao_kernel(const double* params, const UnstablePeriods&) {
    return AoKernel(std::int32_t(params[0]), std::int32_t(params[1]));
}

BullBearPowerKernel bull_bear_power_kernel(const double* params, const UnstablePeriods& unstable) {
    return BullBearPowerKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
