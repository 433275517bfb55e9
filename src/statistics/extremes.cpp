// MAX and MIN carry the window extreme from bar to bar; when the bar holding
// it leaves, the extreme is taken afresh, the earliest of equal values. A new
// value equal to the extreme takes its place. A NaN never replaces the
// extreme, but one that is the oldest value of the window when the extreme is
// taken afresh is the output of that step. A long window's block arrays that
// cannot be had give RC_NO_MEMORY with out_begin and out_count 0.
#include "statistics/extremes.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

MaxKernel max_kernel(const double* params, const UnstablePeriods&) { return MaxKernel(std::int32_t(params[0])); }

MinKernel min_kernel(const double* params, const UnstablePeriods&) { return MinKernel(std::int32_t(params[0])); }

}  // namespace movlex
