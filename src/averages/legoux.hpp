// Arnaud Legoux moving average: the window weighted by a Gaussian curve
// centred `offset` of the way from its oldest bar to its newest.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array ALMA_PARAMS{integer_param("window", 9, 1), real_param("offset", 0.85, 0.0, 1.0),
                                        real_param("sigma", 6.0, 0.1, 50.0)};

// Weight k of the window (k = 0 the oldest bar) is exp(-(k - m)^2 / (2 s^2))
// with m = offset * (window - 1) and s = window / sigma; the result is the
// weighted sum, oldest first, over the sum of the weights. The Gaussian
// weights change their shape with every bar, so each output sums the window.
class AlmaKernel : public IdleWarmUpKernel<AlmaKernel> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    AlmaKernel(std::int32_t window, double offset, double sigma);

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const Index oldest = i - lookback();
        double sum = 0.0;
        for (std::size_t k = 0; k < weights_.size(); ++k) sum += weights_[k] * bars(0, oldest + Index(k));
        out[0] = sum / total_weight_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
    }

private:
    std::vector<double> weights_;
    double total_weight_ = 0.0;
};

AlmaKernel alma_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
