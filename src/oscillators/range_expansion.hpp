// The bar range (high - low) smoothed by an EMA, and how it widens: the mass
// index and Chaikin's volatility.
#pragma once

#include <array>
#include <cstdint>

#include "averages/exponential.hpp"
#include "averages/selector.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_sum.hpp"
#include "oscillators/momentum.hpp"

namespace movlex {

inline constexpr std::array MASS_INDEX_PARAMS{integer_param("ema_period", 9, 2), integer_param("sum_period", 25, 1)};
inline constexpr std::array CHAIKIN_VOLATILITY_PARAMS{integer_param("ema_period", 10, 2),
                                                      integer_param("roc_period", 10, 1)};

template <class Bars>
double bar_range(const Bars& bars, Index i) {
    return bars(0, i) - bars(1, i);
}

// Mass index: e1 = EMA(range), e2 = EMA(e1) fed from e1's first value, the
// ratio e1 / e2 (1 when e2 is zero: no range at all), summed over the last
// sum_period bars.
class MassIndexKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    MassIndexKernel(std::int32_t ema_period, std::int32_t sum_period, std::int32_t unstable)
        : single_(ema_period, ema_smoothing_factor(ema_period), unstable), double_(single_), sum_(sum_period) {}

    Index history() const { return 1; }
    Index lookback() const { return 2 * single_.lookback() + sum_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double once, twice;
        if (!single_.step(ValueBars{bar_range(bars, i)}, i, &once)) return false;
        if (!double_.step(ValueBars{once}, i, &twice)) return false;
        return sum_.push(i, ratio(once, twice), out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double once, twice;
        single_.steady(ValueBars{bar_range(bars, i)}, i, &once);
        double_.steady(ValueBars{once}, i, &twice);
        sum_.push(i, ratio(once, twice), out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(single_);
        archive(double_);
        archive(sum_);
    }

private:
    static double ratio(double once, double twice) { return twice == 0.0 ? 1.0 : once / twice; }

    EmaKernel single_, double_;
    WindowSum sum_;
};

// Chaikin volatility: EMA(ema_period) of the range, then its rate of change
// over roc_period bars (percent_change: 0 against a zero average).
class ChaikinVolatilityKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    ChaikinVolatilityKernel(std::int32_t ema_period, std::int32_t roc_period, std::int32_t unstable)
        : average_(ema_period, ema_smoothing_factor(ema_period), unstable), change_(RocKernel(roc_period)) {}

    Index history() const { return 1; }
    Index lookback() const { return average_.lookback() + change_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double average;
        if (!average_.step(ValueBars{bar_range(bars, i)}, i, &average)) return false;
        return change_.push(i, average, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double average;
        average_.steady(ValueBars{bar_range(bars, i)}, i, &average);
        change_.push_steady(i, average, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
        archive(change_);
    }

private:
    EmaKernel average_;
    AverageStage<RocKernel> change_;
};

MassIndexKernel mass_index_kernel(const double* params, const UnstablePeriods& unstable);
ChaikinVolatilityKernel chaikin_volatility_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
