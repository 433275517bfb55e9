#include "averages/zero_lag.hpp"

namespace movlex {

ZlemaKernel zlema_kernel(const double* params, const UnstablePeriods& unstable) {
    return ZlemaKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
