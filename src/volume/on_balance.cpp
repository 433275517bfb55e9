// On-balance volume from the first requested bar on.
#include "volume/on_balance.hpp"

#include "frame/contract.hpp"

namespace movlex {

ObvKernel obv_kernel(const double*, const UnstablePeriods&) { return ObvKernel(); }

}  // namespace movlex
