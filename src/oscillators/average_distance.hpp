// Oscillators measuring a price against a moving average: the detrended
// price oscillator, the awesome oscillator and bull and bear power.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "averages/exponential.hpp"
#include "averages/simple.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array DPO_PARAMS{integer_param("period", 20, 2)};
inline constexpr std::array AO_PARAMS{integer_param("fast_period", 5, 1), integer_param("slow_period", 34, 1)};
inline constexpr std::array BULL_BEAR_POWER_PARAMS{integer_param("period", 13, 2)};

// Detrended price oscillator: the input minus SMA(period) as it was
// period / 2 + 1 bars earlier, x[t] - SMA[t - (period / 2 + 1)].
class DpoKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit DpoKernel(std::int32_t period)
        : average_(period), shift_(period / 2 + 1), averages_(shift_ + 1), shifting_(shift_) {}

    Index history() const { return average_.history(); }
    Index lookback() const { return average_.lookback() + shift_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double average;
        if (!average_.step(bars, i, &average)) return false;
        const RingBars<1>& averages = averages_.push(i, average);
        if (shifting_.consume()) return false;
        out[0] = bars(0, i) - averages(0, i - shift_);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double average;
        average_.steady(bars, i, &average);
        out[0] = bars(0, i) - averages_.push(i, average)(0, i - shift_);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
        archive(averages_);
        archive(shifting_);
    }

private:
    SmaKernel average_;
    Index shift_;
    DerivedSeries averages_;  // the averages of the last shift + 1 bars
    WarmUp shifting_;
};

// Awesome oscillator: SMA(fast) - SMA(slow) of the median price
// (high + low) / 2, both averages from the first bar.
class AoKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    AoKernel(std::int32_t fast_period, std::int32_t slow_period)
        : fast_(fast_period), slow_(slow_period), medians_(std::max(fast_period, slow_period)) {}

    Index history() const { return 1; }
    Index lookback() const { return std::max(fast_.lookback(), slow_.lookback()); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const RingBars<1>& medians = medians_.push(i, median(bars, i));
        double fast = 0.0, slow = 0.0;
        const bool fast_ready = fast_.step(medians, i, &fast);
        const bool slow_ready = slow_.step(medians, i, &slow);
        if (!fast_ready || !slow_ready) return false;
        out[0] = fast - slow;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const RingBars<1>& medians = medians_.push(i, median(bars, i));
        double fast, slow;
        fast_.steady(medians, i, &fast);
        slow_.steady(medians, i, &slow);
        out[0] = fast - slow;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(fast_);
        archive(slow_);
        archive(medians_);
    }

private:
    template <class Bars>
    static double median(const Bars& bars, Index i) {
        return (bars(0, i) + bars(1, i)) / 2.0;
    }

    SmaKernel fast_, slow_;
    DerivedSeries medians_;
};

// Bull and bear power: the high and the low of each bar minus EMA(period)
// of the close.
class BullBearPowerKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    BullBearPowerKernel(std::int32_t period, std::int32_t unstable)
        : average_(period, ema_smoothing_factor(period), unstable) {}

    Index history() const { return 1; }
    Index lookback() const { return average_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double average;
        if (!average_.step(ValueBars{bars(2, i)}, i, &average)) return false;
        write(bars, i, average, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double average;
        average_.steady(ValueBars{bars(2, i)}, i, &average);
        write(bars, i, average, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
    }

private:
    template <class Bars>
    static void write(const Bars& bars, Index i, double average, double* out) {
        out[0] = bars(0, i) - average;
        out[1] = bars(1, i) - average;
    }

    EmaKernel average_;
};

DpoKernel dpo_kernel(const double* params, const UnstablePeriods& unstable);
AoKernel ao_kernel(const double* params, const UnstablePeriods& unstable);
BullBearPowerKernel bull_bear_power_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
