#include "statistics/correlation.hpp"

namespace movlex {

CorrelKernel correl_kernel(const double* params, const UnstablePeriods&) {
    return CorrelKernel(std::int32_t(params[0]));
}

BetaKernel beta_kernel(const double* params, const UnstablePeriods&) { return BetaKernel(std::int32_t(params[0])); }

}  // namespace movlex
