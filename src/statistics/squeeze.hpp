// The squeeze (John Carter): Bollinger bands drawn inside a Keltner channel
// mark a market gone quiet, before it breaks out; a momentum histogram says
// which way it is leaning.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "directional/true_range.hpp"
#include "frame/channel_bars.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "statistics/linear_regression.hpp"
#include "statistics/variance.hpp"

namespace movlex {

inline constexpr std::array SQUEEZE_PARAMS{integer_param("period", 20, 3), real_param("deviations", 2.0, 0.0),
                                           real_param("atr_multiplier", 1.5, 0.0)};

// Inputs high, low, close; outputs squeeze_on, momentum. Over the last
// `period` bars: mean and sd the close's simple mean and standard deviation
// (STDDEV's), ATR the core's ATR(period), hh and ll the highest high and
// lowest low. squeeze_on is 1 when deviations * sd < atr_multiplier * ATR
// (the bands about the mean inside the channel about the same mean), else 0.
// momentum is the least-squares line's value at the newest bar (LINEARREG's)
// over the last `period` values of close - ((hh + ll) / 2 + mean) / 2.
class SqueezeKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    SqueezeKernel(std::int32_t period, double deviations, double atr_multiplier, std::int32_t atr_unstable)
        : deviations_(deviations),
          atr_multiplier_(atr_multiplier),
          moments_(period),
          atr_(period, atr_unstable),
          highest_(period),
          lowest_(period),
          line_(period),
          distances_(line_.history()) {}

    Index history() const { return std::max(moments_.history(), atr_.history()); }
    Index lookback() const { return std::max(moments_.lookback() + line_.lookback(), atr_.lookback()); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double atr, variance, mean, line[LinregKernel::outputs];
        const bool have_atr = atr_.step(bars, i, &atr);
        if (!moments_.step(channel_of(bars, 2), i, variance, mean)) return false;
        if (!line_.step(distances_.push(i, distance(bars, i, mean)), i, line) || !have_atr) return false;
        write(variance, atr, line[0], out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double atr, mean, line[LinregKernel::outputs];
        atr_.steady(bars, i, &atr);
        const double variance = moments_.next(channel_of(bars, 2), i, mean);
        line_.steady(distances_.push(i, distance(bars, i, mean)), i, line);
        write(variance, atr, line[0], out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(moments_);
        archive(atr_);
        archive(highest_);
        archive(lowest_);
        archive(line_);
        archive(distances_);
    }

private:
    template <class Bars>
    double distance(const Bars& bars, Index i, double mean) {
        const double hh = highest_.advance(input_series(bars, 0), i);
        const double ll = lowest_.advance(input_series(bars, 1), i);
        return bars(2, i) - ((hh + ll) / 2.0 + mean) / 2.0;
    }

    void write(double variance, double atr, double momentum, double* out) const {
        out[0] = deviations_ * standard_deviation(variance) < atr_multiplier_ * atr ? 1.0 : 0.0;
        out[1] = momentum;
    }

    double deviations_;
    double atr_multiplier_;
    VarianceKernel moments_;
    AtrKernel atr_;
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
    LinregKernel line_;
    DerivedSeries distances_;
};

inline SqueezeKernel squeeze_kernel(const double* params, const UnstablePeriods& unstable) {
    return SqueezeKernel(std::int32_t(params[0]), params[1], params[2], unstable[UNSTABLE_ATR]);
}

}  // namespace movlex
