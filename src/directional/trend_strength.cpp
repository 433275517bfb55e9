// DX and ADX smooth both sides' movement and the true range in one pass. A
// bar whose smoothed range, or whose indicator sum, is near zero has no DX:
// DX then repeats its previous output (0 for the first), the ADX seed adds
// nothing for it and the ADX keeps its value. ADXR keeps the last period ADX
// values of one run and averages the newest with the oldest.
#include "directional/trend_strength.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

DxKernel dx_kernel(const double* params, const UnstablePeriods& unstable) {
    return DxKernel(std::int32_t(params[0]), unstable[UNSTABLE_DX]);
}

AdxKernel adx_kernel(const double* params, const UnstablePeriods& unstable) {
    return AdxKernel(std::int32_t(params[0]), unstable[UNSTABLE_ADX]);
}

Index adxr_range_lookback(const double* params, const UnstablePeriods& unstable) {
    const Index period = std::int32_t(params[0]);
    return 3 * period - 2 + unstable[UNSTABLE_ADX];
}

AdxrKernel adxr_kernel(const double* params, const UnstablePeriods& unstable) {
    return AdxrKernel(std::int32_t(params[0]), unstable[UNSTABLE_ADX]);
}

}  // namespace movlex
