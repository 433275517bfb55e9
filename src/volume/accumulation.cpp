// Both indicators run their kernel from the first bar they read: AD from the
// first requested bar, ADOSC from the EMA's lookback before it.
#include "volume/accumulation.hpp"

#include <algorithm>

#include "averages/exponential.hpp"
#include "frame/contract.hpp"

namespace movlex {

AdKernel ad_kernel(const double*, const UnstablePeriods&) { return AdKernel(); }

AdoscKernel adosc_kernel(const double* params, const UnstablePeriods& unstable) {
    return AdoscKernel(std::int32_t(params[0]), std::int32_t(params[1]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
