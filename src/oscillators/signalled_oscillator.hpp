// An oscillator of two exponential averages of one series with a signal
// line and a histogram: the shape of Appel's MACD, which the classic MACD
// (the difference) and the percentage volume oscillator (the percentage)
// share.
#pragma once

#include <cstdint>

#include "averages/selector.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "oscillators/price_oscillators.hpp"

namespace movlex {

// The line is the shorter EMA less the longer one (by period, whichever
// argument holds it), both from the first bar; in percent it is ((shorter -
// longer) / longer) * 100, 0 for a longer average inside (-1e-8, 1e-8), as
// PPO's. The signal is EMA(signal_period) of the line from its first value,
// the histogram line - signal.
class SignalledOscillatorKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 3;

    SignalledOscillatorKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t signal_period,
                              bool percent, const UnstablePeriods& unstable);

    Index history() const { return line_.history(); }
    Index lookback() const { return line_.lookback() + signal_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double line, signal;
        if (!line_.step(bars, i, &line)) return false;
        if (!signal_.push(i, line, &signal)) return false;
        write(line, signal, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double line, signal;
        line_.steady(bars, i, &line);
        signal_.push_steady(i, line, &signal);
        write(line, signal, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(line_);
        archive(signal_);
    }

private:
    static void write(double line, double signal, double* out) {
        out[0] = line;
        out[1] = signal;
        out[2] = line - signal;
    }

    PriceOscillatorKernel<AverageStage<EmaKernel>> line_;
    AverageStage<EmaKernel> signal_;
};

// The kernel from the parameters fast_period, slow_period, signal_period.
SignalledOscillatorKernel signalled_oscillator(const double* params, bool percent, const UnstablePeriods& unstable);

}  // namespace movlex
