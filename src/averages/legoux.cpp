// Within the parameters' ranges the weight nearest the centre is at least
// exp(-50^2 / 32), so the sum of the weights is never zero.
#include "averages/legoux.hpp"

#include "frame/elementary.hpp"

#include <cmath>

namespace movlex {

AlmaKernel::AlmaKernel(std::int32_t window, double offset, double sigma)
    : IdleWarmUpKernel(window - 1), weights_(std::size_t(window)) {
    const double centre = offset * static_cast<double>(window - 1);
    const double width = static_cast<double>(window) / sigma;
    for (std::size_t k = 0; k < weights_.size(); ++k) {
        const double distance = static_cast<double>(k) - centre;
        weights_[k] = portable_exp(-(distance * distance) / (2.0 * width * width));
        total_weight_ += weights_[k];
    }
}

AlmaKernel alma_kernel(const double* params, const UnstablePeriods&) {
    return AlmaKernel(std::int32_t(params[0]), params[1], params[2]);
}

}  // namespace movlex
