#include "volume/ease_of_movement.hpp"

namespace movlex {

EmvKernel emv_kernel(const double* params, const UnstablePeriods&) {
    return EmvKernel(std::int32_t(params[0]), params[1]);
}

}  // namespace movlex
