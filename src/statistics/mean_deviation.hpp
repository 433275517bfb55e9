// Mean absolute deviation of the window from its mean.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array MEAN_DEVIATION_PARAMS{integer_param("period", 20, 1)};

// Two passes over the window, oldest bar first: mean = (sum of x) / n, then
// (sum of |x - mean|) / n. Each bar reads its whole window: the deviations
// from a moving mean have no running form.
class MeanDeviationKernel : public IdleWarmUpKernel<MeanDeviationKernel> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit MeanDeviationKernel(std::int32_t period)
        : IdleWarmUpKernel(Index{period} - 1), period_(period), count_(static_cast<double>(period)) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const Index oldest = i - (period_ - 1);
        double sum = 0.0;
        for (Index j = oldest; j <= i; ++j) sum += bars(0, j);
        const double mean = sum / count_;
        double deviations = 0.0;
        for (Index j = oldest; j <= i; ++j) deviations += std::fabs(bars(0, j) - mean);
        out[0] = deviations / count_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
    }

private:
    Index period_;
    double count_;
};

inline MeanDeviationKernel mean_deviation_kernel(const double* params, const UnstablePeriods&) {
    return MeanDeviationKernel(std::int32_t(params[0]));
}

}  // namespace movlex
