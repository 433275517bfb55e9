#include "volume/force_index.hpp"

namespace movlex {

ForceKernel force_kernel(const double* params, const UnstablePeriods& unstable) {
    return ForceKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
