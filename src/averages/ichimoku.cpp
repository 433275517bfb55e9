#include "averages/ichimoku.hpp"

namespace movlex {

// The displacement (params[3]) places the spans on a chart; it does not
// enter the values.
IchimokuKernel ichimoku_kernel(const double* params, const UnstablePeriods&) {
    return IchimokuKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]));
}

}  // namespace movlex
