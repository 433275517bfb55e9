#include "statistics/z_score.hpp"

namespace movlex {

ZscoreKernel zscore_kernel(const double* params, const UnstablePeriods&) {
    return ZscoreKernel(std::int32_t(params[0]));
}

}  // namespace movlex
