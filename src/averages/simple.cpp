// Both averages carry their sums from one window to the next, so every output
// costs the same whatever the period; the drift of those running sums is part
// of the results.
#include "averages/simple.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

SmaKernel sma_kernel(const double* params, const UnstablePeriods&) { return SmaKernel(std::int32_t(params[0])); }

WmaKernel wma_kernel(const double* params, const UnstablePeriods&) { return WmaKernel(std::int32_t(params[0])); }

}  // namespace movlex
