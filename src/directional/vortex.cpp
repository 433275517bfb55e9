#include "directional/vortex.hpp"

namespace movlex {

VortexKernel vortex_kernel(const double* params, const UnstablePeriods&) {
    return VortexKernel(std::int32_t(params[0]));
}

}  // namespace movlex
