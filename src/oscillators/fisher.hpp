// Fisher transform of the median price's position in its recent range.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/elementary.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array FISHER_PARAMS{integer_param("period", 10, 2)};

// The smoothed position is kept inside +-FISHER_LIMIT, so the logarithm
// stays finite.
inline constexpr double FISHER_LIMIT = 0.999;

// For the median m = (high + low) / 2 and the highest and lowest median of
// the last `period` bars: position p = (m - lowest) / (highest - lowest) - 0.5
// (0 for a window of equal medians); v = 0.66 * p + 0.67 * v' clamped to
// +-0.999; fisher = 0.5 * log((1 + v) / (1 - v)) + 0.5 * fisher', where v'
// and fisher' are the previous bar's values, 0 before the first full window.
// Outputs the fisher and its trigger (the previous bar's fisher) from the
// bar after the first full window, so that both are real values.
class FisherKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 2;

    explicit FisherKernel(std::int32_t period)
        : period_(period), medians_(period), highest_(period), lowest_(period), filling_(period - 1), trigger_(1) {}

    Index history() const { return 1; }
    Index lookback() const { return period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const RingBars<1>& medians = medians_.push(i, (bars(0, i) + bars(1, i)) / 2.0);
        if (filling_.consume()) return false;
        const double previous = fisher_;
        transform(medians, i);
        if (trigger_.consume()) return false;
        write(previous, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double previous = fisher_;
        transform(medians_.push(i, (bars(0, i) + bars(1, i)) / 2.0), i);
        write(previous, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(medians_);
        archive(highest_);
        archive(lowest_);
        archive(value_);
        archive(fisher_);
        archive(filling_);
        archive(trigger_);
    }

private:
    void transform(const RingBars<1>& medians, Index i) {
        const auto series = input_series(medians, 0);
        const double highest = highest_.advance(series, i);
        const double lowest = lowest_.advance(series, i);
        const double range = highest - lowest;
        const double position = range == 0.0 ? 0.0 : (medians(0, i) - lowest) / range - 0.5;
        double value = 0.66 * position + 0.67 * value_;
        if (value > FISHER_LIMIT) value = FISHER_LIMIT;
        if (value < -FISHER_LIMIT) value = -FISHER_LIMIT;
        value_ = value;
        fisher_ = 0.5 * portable_log((1.0 + value) / (1.0 - value)) + 0.5 * fisher_;
    }

    void write(double previous, double* out) const {
        out[0] = fisher_;
        out[1] = previous;
    }

    Index period_;
    DerivedSeries medians_;
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
    double value_ = 0.0;
    double fisher_ = 0.0;
    WarmUp filling_, trigger_;
};

FisherKernel fisher_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
