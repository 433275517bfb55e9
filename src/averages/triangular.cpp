// The triangular average weights its window 1, 2, ... up to the middle and
// back down to 1. Three running sums carry it from one window to the next at
// constant cost: the plain sum of the older part, the plain sum of the newer
// part and the weighted sum of the whole window. Moving the window lowers
// every weight of the older part by one, raises every weight of the newer
// part by one and brings the new value in with weight 1; then one value
// changes parts. For an odd period that is the new middle value; for an even
// period it is the first value of the newer half, which keeps its weight h
// and so leaves the newer half before that half's sum is added.
#include "averages/triangular.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

TrimaKernel::TrimaKernel(std::int32_t period)
    : period_(period), odd_(period % 2 != 0), left_length_(period / 2 + (period % 2)), warm_up_(period - 1) {
    const Index h = period / 2;
    // The weight sums reach 2500050000 for the largest periods: 64-bit.
    const Index weight_sum = odd_ ? (h + 1) * (h + 1) : h * (h + 1);
    factor_ = 1.0 / static_cast<double>(weight_sum);
}

TrimaKernel trima_kernel(const double* params, const UnstablePeriods&) { return TrimaKernel(std::int32_t(params[0])); }

}  // namespace movlex
