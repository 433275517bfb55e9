#include "averages/hull.hpp"

namespace movlex {

std::int32_t hma_smoothing_period(std::int32_t period) {
    std::int32_t root = 1;
    while (Index(root + 1) * (root + 1) <= period) ++root;
    return root;
}

HmaKernel::HmaKernel(std::int32_t period)
    : half_(period / 2),
      full_(period),
      smooth_(hma_smoothing_period(period)),
      difference_(hma_smoothing_period(period)) {}

HmaKernel hma_kernel(const double* params, const UnstablePeriods&) { return HmaKernel(std::int32_t(params[0])); }

}  // namespace movlex
