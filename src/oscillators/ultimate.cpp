// The kernel is fed from `longest period` bars before the first output, so
// every window starts from the same bars whatever the first index.
#include "oscillators/ultimate.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

UltoscKernel ultosc_kernel(const double* params, const UnstablePeriods&) {
    return UltoscKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]));
}

}  // namespace movlex
