// Hull moving average: a weighted average over the square root of the period
// of 2 WMA(period / 2) - WMA(period), which follows the price with little lag.
#pragma once

#include <array>
#include <cstdint>

#include "averages/simple.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array HMA_PARAMS{integer_param("period", 9, 4)};

// WMA(period / 2) and WMA(period) over the input, both from the first bar;
// the difference 2 * half - full (in that order) feeds WMA(floor(sqrt(period)))
// from the bar where the longer average gives its first value.
class HmaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit HmaKernel(std::int32_t period);

    Index history() const { return full_.history(); }
    Index lookback() const { return full_.lookback() + smooth_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double half = 0.0, full = 0.0;
        half_.step(bars, i, &half);
        if (!full_.step(bars, i, &full)) return false;
        return smooth_.step(difference_.push(i, half * 2.0 - full), i, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double half, full;
        half_.steady(bars, i, &half);
        full_.steady(bars, i, &full);
        smooth_.steady(difference_.push(i, half * 2.0 - full), i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(half_);
        archive(full_);
        archive(smooth_);
        archive(difference_);
    }

private:
    WmaKernel half_, full_, smooth_;
    DerivedSeries difference_;
};

// The smoothing period: the largest whole number whose square is at most
// period (exact for every period in range, without a square root).
std::int32_t hma_smoothing_period(std::int32_t period);

HmaKernel hma_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
