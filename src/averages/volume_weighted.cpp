#include "averages/volume_weighted.hpp"

namespace movlex {

VwmaKernel vwma_kernel(const double* params, const UnstablePeriods&) { return VwmaKernel(std::int32_t(params[0])); }

VwapKernel vwap_kernel(const double*, const UnstablePeriods&) { return VwapKernel(); }

RollingVwapKernel vwap_rolling_kernel(const double* params, const UnstablePeriods&) {
    return RollingVwapKernel(std::int32_t(params[0]));
}

}  // namespace movlex
