// Momentum smoothed by averages: TRIX, the true strength index, the Coppock
// curve and the know-sure-thing. Their changes are the momentum and the
// rate of change of momentum.hpp, their averages the core's.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "averages/exponential.hpp"
#include "averages/selector.hpp"
#include "averages/simple.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "oscillators/momentum.hpp"

namespace movlex {

inline constexpr std::array TRIX_PARAMS{integer_param("period", 15, 2)};
inline constexpr std::array TSI_PARAMS{integer_param("long_period", 25, 2), integer_param("short_period", 13, 2)};
inline constexpr std::array COPPOCK_PARAMS{integer_param("long_roc_period", 14, 1),
                                           integer_param("short_roc_period", 11, 1),
                                           integer_param("wma_period", 10, 2)};
inline constexpr std::array KST_PARAMS{integer_param("roc_period_1", 10, 1), integer_param("roc_period_2", 15, 1),
                                       integer_param("roc_period_3", 20, 1), integer_param("roc_period_4", 30, 1),
                                       integer_param("sma_period", 10, 1), integer_param("last_sma_period", 15, 1)};
inline constexpr std::int32_t KST_SIGNAL_PERIOD = 9;

// An EMA of a series fed one value per bar, the EMA's unstable period included.
inline EmaKernel ema_of_period(std::int32_t period, const UnstablePeriods& unstable) {
    return EmaKernel(period, ema_smoothing_factor(period), unstable[UNSTABLE_EMA]);
}

// TRIX: EMA of EMA of EMA of the input, each stage fed from the first
// output of the one before, then the one-bar rate of change of the third
// (percent_change: 0 against a zero average).
class TrixKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    TrixKernel(std::int32_t period, const UnstablePeriods& unstable)
        : ema1_(ema_of_period(period, unstable)),
          ema2_(ema1_),
          ema3_(ema1_),
          change_(RocKernel(1)) {}

    Index history() const { return 1; }
    Index lookback() const { return 3 * ema1_.lookback() + change_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double ema1, ema2, ema3;
        if (!ema1_.step(bars, i, &ema1)) return false;
        if (!ema2_.step(ValueBars{ema1}, i, &ema2)) return false;
        if (!ema3_.step(ValueBars{ema2}, i, &ema3)) return false;
        return change_.push(i, ema3, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double ema1, ema2, ema3;
        ema1_.steady(bars, i, &ema1);
        ema2_.steady(ValueBars{ema1}, i, &ema2);
        ema3_.steady(ValueBars{ema2}, i, &ema3);
        change_.push_steady(i, ema3, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ema1_);
        archive(ema2_);
        archive(ema3_);
        archive(change_);
    }

private:
    EmaKernel ema1_, ema2_, ema3_;
    AverageStage<RocKernel> change_;
};

// An EMA of an EMA of a series fed one value per bar, the second stage fed
// from the first output of the first.
class DoubleSmoothing {
public:
    DoubleSmoothing(std::int32_t first_period, std::int32_t second_period, const UnstablePeriods& unstable)
        : first_(ema_of_period(first_period, unstable)), second_(ema_of_period(second_period, unstable)) {}

    Index lookback() const { return first_.lookback() + second_.lookback(); }

    bool step(Index i, double value, double* out) {
        double once;
        if (!first_.step(ValueBars{value}, i, &once)) return false;
        return second_.step(ValueBars{once}, i, out);
    }

    void steady(Index i, double value, double* out) {
        double once;
        first_.steady(ValueBars{value}, i, &once);
        second_.steady(ValueBars{once}, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(first_);
        archive(second_);
    }

private:
    EmaKernel first_, second_;
};

// True strength index: the one-bar momentum m and its absolute value |m|,
// each smoothed by EMA(long) then EMA(short); the result is
// (smoothed m / smoothed |m|) * 100, and 0 where smoothed |m| is zero (no
// movement at all).
class TsiKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    TsiKernel(std::int32_t long_period, std::int32_t short_period, const UnstablePeriods& unstable)
        : momentum_(1), movement_(long_period, short_period, unstable), size_(movement_) {}

    Index history() const { return momentum_.history(); }
    Index lookback() const { return momentum_.lookback() + movement_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double momentum, movement = 0.0, size = 0.0;
        if (!momentum_.step(bars, i, &momentum)) return false;
        const bool ready = movement_.step(i, momentum, &movement);
        size_.step(i, std::fabs(momentum), &size);
        if (!ready) return false;
        out[0] = strength(movement, size);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double momentum, movement, size;
        momentum_.steady(bars, i, &momentum);
        movement_.steady(i, momentum, &movement);
        size_.steady(i, std::fabs(momentum), &size);
        out[0] = strength(movement, size);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(momentum_);
        archive(movement_);
        archive(size_);
    }

private:
    static double strength(double movement, double size) { return size == 0.0 ? 0.0 : (movement / size) * 100.0; }

    MomKernel momentum_;
    DoubleSmoothing movement_, size_;
};

// Coppock curve: WMA(wma_period) of ROC(long) + ROC(short) (added in that
// order), the sum fed from the bar where both rates exist.
class CoppockKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    CoppockKernel(std::int32_t long_period, std::int32_t short_period, std::int32_t wma_period)
        : long_(long_period), short_(short_period), curve_(WmaKernel(wma_period)) {}

    Index history() const { return std::max(long_.history(), short_.history()); }
    Index lookback() const { return std::max(long_.lookback(), short_.lookback()) + curve_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double long_change = 0.0, short_change = 0.0;
        const bool long_ready = long_.step(bars, i, &long_change);
        const bool short_ready = short_.step(bars, i, &short_change);
        if (!long_ready || !short_ready) return false;
        return curve_.push(i, long_change + short_change, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double long_change, short_change;
        long_.steady(bars, i, &long_change);
        short_.steady(bars, i, &short_change);
        curve_.push_steady(i, long_change + short_change, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(long_);
        archive(short_);
        archive(curve_);
    }

private:
    RocKernel long_, short_;
    AverageStage<WmaKernel> curve_;
};

// Know-sure-thing: four rates of change, each smoothed by its SMA from its
// own first value on; the line is ((r1 * 1 + r2 * 2) + r3 * 3) + r4 * 4 from
// the bar where all four exist, the signal SMA(9) of the line. Outputs the
// line and the signal.
class KstKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 2;

    KstKernel(const std::array<std::int32_t, 4>& roc_periods, const std::array<std::int32_t, 4>& sma_periods);

    Index history() const;
    Index lookback() const { return line_lookback() + signal_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double smoothed[4] = {};
        bool ready = true;
        for (int k = 0; k < 4; ++k) ready = components_[k].step(bars, i, &smoothed[k]) && ready;
        if (!ready) return false;
        const double line = weighted(smoothed);
        if (!signal_.push(i, line, &out[1])) return false;
        out[0] = line;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double smoothed[4];
        for (int k = 0; k < 4; ++k) components_[k].steady(bars, i, &smoothed[k]);
        out[0] = weighted(smoothed);
        signal_.push_steady(i, out[0], &out[1]);
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (auto& component : components_) archive(component);
        archive(signal_);
    }

private:
    // ROC(n) of the input, then SMA(m) of the rates.
    struct SmoothedChange {
        RocKernel change;
        AverageStage<SmaKernel> average;

        Index lookback() const { return change.lookback() + average.lookback(); }
        template <class Bars>
        bool step(const Bars& bars, Index i, double* out) {
            double rate;
            if (!change.step(bars, i, &rate)) return false;
            return average.push(i, rate, out);
        }
        template <class Bars>
        void steady(const Bars& bars, Index i, double* out) {
            double rate;
            change.steady(bars, i, &rate);
            average.push_steady(i, rate, out);
        }
        template <class Archive>
        void visit(Archive& archive) {
            archive(change);
            archive(average);
        }
    };

    static double weighted(const double* smoothed) {
        return ((smoothed[0] * 1.0 + smoothed[1] * 2.0) + smoothed[2] * 3.0) + smoothed[3] * 4.0;
    }
    Index line_lookback() const;

    std::array<SmoothedChange, 4> components_;
    AverageStage<SmaKernel> signal_;
};

TrixKernel trix_kernel(const double* params, const UnstablePeriods& unstable);
TsiKernel tsi_kernel(const double* params, const UnstablePeriods& unstable);
CoppockKernel coppock_kernel(const double* params, const UnstablePeriods& unstable);
KstKernel kst_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
