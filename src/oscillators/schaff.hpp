// The Schaff trend cycle (Doug Schaff): the stochastic of a MACD line,
// smoothed, and the stochastic of that, smoothed again; a cycle oscillator
// that turns sooner than the MACD and runs between 0 and 100.
#pragma once

#include <array>
#include <cstdint>

#include "averages/selector.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "oscillators/price_oscillators.hpp"

namespace movlex {

inline constexpr std::array STC_PARAMS{integer_param("fast_period", 23, 2), integer_param("slow_period", 50, 2),
                                       integer_param("cycle", 10, 2), real_param("factor", 0.5, 0.0, 1.0)};

// One stochastic stage of the cycle: where the newest value of a derived
// series stands between the extremes of its last `cycle` values, in percent,
// 100 * (value - lowest) / (highest - lowest), holding its last result (0
// before the first) over a window without range; then smoothed from 0, as
// smoothed + factor * (result - smoothed).
class SmoothedCycleStochastic {
public:
    SmoothedCycleStochastic(std::int32_t cycle, double factor)
        : values_(cycle), highest_(cycle), lowest_(cycle), warm_up_(cycle - 1), factor_(factor) {}

    // Feeds the value of bar i; true with the smoothed result once `cycle`
    // values are in.
    bool push(Index i, double value, double* out) {
        const RingBars<1>& series = values_.push(i, value);
        if (warm_up_.consume()) return false;
        const auto at = input_series(series, 0);
        const double highest = highest_.advance(at, i);
        const double lowest = lowest_.advance(at, i);
        const double range = highest - lowest;
        if (range != 0.0) stochastic_ = ((value - lowest) / range) * 100.0;
        smoothed_ = smoothed_ + factor_ * (stochastic_ - smoothed_);
        *out = smoothed_;
        return true;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(values_);
        archive(highest_);
        archive(lowest_);
        archive(warm_up_);
        archive(stochastic_);
        archive(smoothed_);
    }

private:
    DerivedSeries values_;
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
    WarmUp warm_up_;
    double factor_;
    double stochastic_ = 0.0;
    double smoothed_ = 0.0;
};

// Input the close; output the cycle. The MACD line is the shorter EMA less
// the longer one (by period), both from the first bar, as macd_ema's; two
// smoothed stochastic stages follow, each fed from the first value of the
// one before.
class StcKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    StcKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t cycle, double factor,
              const UnstablePeriods& unstable);

    Index history() const { return line_.history(); }
    Index lookback() const { return line_.lookback() + 2 * (cycle_ - 1); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double line, first;
        if (!line_.step(bars, i, &line)) return false;
        if (!first_.push(i, line, &first)) return false;
        return second_.push(i, first, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double line, first;
        line_.steady(bars, i, &line);
        first_.push(i, line, &first);
        second_.push(i, first, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(line_);
        archive(first_);
        archive(second_);
    }

private:
    Index cycle_;
    PriceOscillatorKernel<AverageStage<EmaKernel>> line_;
    SmoothedCycleStochastic first_;
    SmoothedCycleStochastic second_;
};

StcKernel stc_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
