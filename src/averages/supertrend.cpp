#include "averages/supertrend.hpp"

namespace movlex {

SupertrendKernel supertrend_kernel(const double* params, const UnstablePeriods& unstable) {
    return SupertrendKernel(std::int32_t(params[0]), params[1], unstable[UNSTABLE_ATR]);
}

}  // namespace movlex
