// Balance of power: no state between bars, so out may be any input array.
#include "oscillators/balance_of_power.hpp"

#include "frame/contract.hpp"

namespace movlex {

BopKernel bop_kernel(const double*, const UnstablePeriods&) { return BopKernel(); }

}  // namespace movlex
