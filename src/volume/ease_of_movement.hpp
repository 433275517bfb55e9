// Ease of movement: how far the bar's midpoint moved for the volume it took,
// averaged over a window.
#pragma once

#include <array>
#include <cstdint>

#include "averages/simple.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array EMV_PARAMS{integer_param("period", 14, 1),
                                       real_param("volume_divisor", 100000000.0, 1.0)};

// The one-bar value: distance / box, where distance is the move of the
// midpoint (high + low) / 2 from the previous bar's and box is
// (volume / divisor) / (high - low). A bar without range, or whose box is 0
// (no volume), gives 0.
inline double one_bar_ease(double distance, double high, double low, double volume, double divisor) {
    const double range = high - low;
    if (range == 0.0) return 0.0;
    const double box = (volume / divisor) / range;
    if (box == 0.0) return 0.0;
    return distance / box;
}

// SMA(period) of the one-bar values, the first of which is at the second bar
// fed.
class EmvKernel {
public:
    static constexpr int inputs = 3;  // high, low, volume
    static constexpr int outputs = 1;

    EmvKernel(std::int32_t period, double divisor) : average_(period), series_(period), divisor_(divisor) {}

    Index history() const { return 1; }
    Index lookback() const { return 1 + average_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            previous_midpoint_ = midpoint(bars, i);
            started_ = true;
            return false;
        }
        return average_.step(series_.push(i, ease(bars, i)), i, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        average_.steady(series_.push(i, ease(bars, i)), i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
        archive(series_);
        archive(previous_midpoint_);
        archive(started_);
    }

private:
    template <class Bars>
    static double midpoint(const Bars& bars, Index i) {
        return (bars(0, i) + bars(1, i)) / 2.0;
    }

    template <class Bars>
    double ease(const Bars& bars, Index i) {
        const double current = midpoint(bars, i);
        const double value = one_bar_ease(current - previous_midpoint_, bars(0, i), bars(1, i), bars(2, i), divisor_);
        previous_midpoint_ = current;
        return value;
    }

    SmaKernel average_;
    DerivedSeries series_;
    double divisor_;
    double previous_midpoint_ = 0.0;
    bool started_ = false;
};

EmvKernel emv_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
