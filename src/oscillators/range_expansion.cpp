#include "oscillators/range_expansion.hpp"

namespace movlex {

MassIndexKernel mass_index_kernel(const double* params, const UnstablePeriods& unstable) {
    return MassIndexKernel(std::int32_t(params[0]), std::int32_t(params[1]), unstable[UNSTABLE_EMA]);
}

ChaikinVolatilityKernel chaikin_volatility_kernel(const double* params, const UnstablePeriods& unstable) {
    return ChaikinVolatilityKernel(std::int32_t(params[0]), std::int32_t(params[1]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
