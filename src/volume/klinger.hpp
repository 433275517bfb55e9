// The Klinger volume oscillator (Stephen J. Klinger): the difference of two
// exponential averages of the volume force, a bar's volume signed by the
// trend of its high + low + close and scaled by how its range compares with
// the range accumulated since the trend began; with a signal line.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "oscillators/signalled_oscillator.hpp"

namespace movlex {

inline constexpr std::array KVO_PARAMS{integer_param("fast_period", 34, 2), integer_param("slow_period", 55, 2),
                                       integer_param("signal_period", 13, 2)};

// Inputs high, low, close, volume; outputs kvo, signal. From the second bar
// fed: trend = +1 when (high + low) + close rises above the previous bar's,
// else -1; dm = high - low; cm = cm[1] + dm while the trend holds, else
// dm[1] + dm (also on the first bar with a trend); force = volume *
// |2 * (dm / cm - 1)| * trend * 100, dm / cm taken as 0 when cm is 0.
// kvo = EMA(fast) - EMA(slow) of the force, both from its first value;
// signal = EMA(signal_period) of kvo (the classic MACD's arithmetic).
class KvoKernel {
public:
    static constexpr int inputs = 4;
    static constexpr int outputs = 2;

    KvoKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t signal_period,
              const UnstablePeriods& unstable)
        : oscillator_(fast_period, slow_period, signal_period, false, unstable) {}

    Index history() const { return 1; }
    Index lookback() const { return 1 + oscillator_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            started_ = true;
            sum_ = (bars(0, i) + bars(1, i)) + bars(2, i);
            dm_ = bars(0, i) - bars(1, i);
            return false;
        }
        double lines[3];
        if (!oscillator_.step(ValueBars{force(bars, i)}, i, lines)) return false;
        out[0] = lines[0];
        out[1] = lines[1];
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double lines[3];
        oscillator_.steady(ValueBars{force(bars, i)}, i, lines);
        out[0] = lines[0];
        out[1] = lines[1];
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(oscillator_);
        archive(sum_);
        archive(dm_);
        archive(cm_);
        archive.bounded(trend_, -1, 1);
        archive(started_);
    }

private:
    template <class Bars>
    double force(const Bars& bars, Index i) {
        const double sum = (bars(0, i) + bars(1, i)) + bars(2, i);
        const double dm = bars(0, i) - bars(1, i);
        const std::int32_t trend = sum > sum_ ? 1 : -1;
        cm_ = trend == trend_ ? cm_ + dm : dm_ + dm;
        trend_ = trend;
        sum_ = sum;
        dm_ = dm;
        const double ratio = cm_ == 0.0 ? 0.0 : dm / cm_;
        return bars(3, i) * std::fabs(2.0 * (ratio - 1.0)) * static_cast<double>(trend) * 100.0;
    }

    SignalledOscillatorKernel oscillator_;
    double sum_ = 0.0;
    double dm_ = 0.0;
    double cm_ = 0.0;
    std::int32_t trend_ = 0;
    bool started_ = false;
};

inline KvoKernel kvo_kernel(const double* params, const UnstablePeriods& unstable) {
    return KvoKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]), unstable);
}

}  // namespace movlex
