// Percentage volume oscillator: the percentage price oscillator of the
// volume over exponential averages, with a signal line and a histogram.
#pragma once

#include <array>
#include <cstdint>

#include "averages/selector.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "oscillators/price_oscillators.hpp"

namespace movlex {

inline constexpr std::array PVO_PARAMS{integer_param("fast_period", 12, 2), integer_param("slow_period", 26, 2),
                                       integer_param("signal_period", 9, 2)};

// The line is the percentage oscillator (as PPO with EMAs: the shorter and
// the longer EMA of the volume, both from the first bar, ((shorter -
// longer) / longer) * 100, 0 for a longer average inside (-1e-8, 1e-8));
// the signal is EMA(signal_period) of the line from its first value, the
// histogram line - signal.
class PvoKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 3;

    PvoKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t signal_period,
              const UnstablePeriods& unstable);

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

PvoKernel pvo_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
