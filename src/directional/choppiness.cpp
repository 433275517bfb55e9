#include "directional/choppiness.hpp"

#include "frame/elementary.hpp"

namespace movlex {

ChopKernel::ChopKernel(std::int32_t period)
    : period_(period),
      log_period_(portable_log(double(period))),
      ranges_(period),
      highest_(period),
      lowest_(period),
      warm_up_(1) {}

double ChopKernel::scaled(double ratio) const { return (100.0 * portable_log(ratio)) / log_period_; }

ChopKernel chop_kernel(const double* params, const UnstablePeriods&) { return ChopKernel(std::int32_t(params[0])); }

}  // namespace movlex
