// Point-to-point comparisons: no smoothing and no state between bars, so out
// may be the input array (each bar reads its own index and one `period` bars
// lower, both at or above the output position).
#include "oscillators/momentum.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

MomKernel mom_kernel(const double* params, const UnstablePeriods&) { return MomKernel(std::int32_t(params[0])); }
RocKernel roc_kernel(const double* params, const UnstablePeriods&) { return RocKernel(std::int32_t(params[0])); }

}  // namespace movlex
