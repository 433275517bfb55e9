// A simple moving average whose period is given bar by bar by a second
// series.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array SMA_VARYING_PARAMS{integer_param("min_period", 2, 1), integer_param("max_period", 30, 1)};

// Inputs: the values and the periods. The bar's period p is its period
// value bounded to min_period .. max_period (max_period where the bounds
// cross), then rounded to the nearest whole number (halves away from 0); a
// NaN period gives NaN. The result is (sum of the last p values, oldest
// first) / p. Every bar may reach max_period bars back: that is the lookback.
class SmaVaryingKernel : public IdleWarmUpKernel<SmaVaryingKernel> {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    SmaVaryingKernel(std::int32_t min_period, std::int32_t max_period)
        : IdleWarmUpKernel(max_period - 1), low_(min_period), high_(max_period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double wanted = bars(1, i);
        if (std::isnan(wanted)) {
            out[0] = std::numeric_limits<double>::quiet_NaN();
            return;
        }
        const double period = std::round(std::min(std::max(wanted, low_), high_));
        double sum = 0.0;
        for (Index j = i - Index(period) + 1; j <= i; ++j) sum += bars(0, j);
        out[0] = sum / period;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
    }

private:
    double low_;
    double high_;
};

inline SmaVaryingKernel sma_varying_kernel(const double* params, const UnstablePeriods&) {
    return SmaVaryingKernel(std::int32_t(params[0]), std::int32_t(params[1]));
}

}  // namespace movlex
