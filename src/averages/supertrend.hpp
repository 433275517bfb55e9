// SuperTrend: a line that follows the price at a multiple of the ATR from
// the bar's midpoint, below it in an up trend and above it in a down trend,
// changing sides when the close crosses it.
#pragma once

#include <array>
#include <cstdint>

#include "directional/true_range.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array SUPERTREND_PARAMS{integer_param("period", 10, 1), real_param("multiplier", 3.0, 0.0)};

// Each bar: the basic bands (high + low) / 2 -/+ multiplier * ATR. The upper
// band moves to its basic value when that is lower or the previous close was
// above it, else stays; the lower band likewise, mirrored. The trend turns up
// when the close rises above the upper band, down when it falls below the
// lower one; the line is the lower band in an up trend, the upper in a down
// trend; the direction is +1 up, -1 down. The first bar with an ATR takes
// the basic bands and starts from a down trend (which the close may turn at
// once).
class SupertrendKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    SupertrendKernel(std::int32_t period, double multiplier, std::int32_t atr_unstable)
        : range_(period, atr_unstable), multiplier_(multiplier) {}

    Index history() const { return 1; }
    Index lookback() const { return range_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double range;
        if (!range_.step(bars, i, &range)) return false;
        if (started_) {
            follow(bars, i, range, out);
            return true;
        }
        started_ = true;
        const Bands basic = basic_bands(bars, i, range);
        upper_ = basic.upper;
        lower_ = basic.lower;
        turn(bars(input::close, i), out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double range;
        range_.steady(bars, i, &range);
        follow(bars, i, range, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(range_);
        archive(upper_);
        archive(lower_);
        archive(previous_close_);
        archive(up_);
        archive(started_);
    }

private:
    struct Bands {
        double upper, lower;
    };

    template <class Bars>
    Bands basic_bands(const Bars& bars, Index i, double range) const {
        const double middle = (bars(input::high, i) + bars(input::low, i)) / 2.0;
        const double distance = multiplier_ * range;
        return {middle + distance, middle - distance};
    }

    template <class Bars>
    void follow(const Bars& bars, Index i, double range, double* out) {
        const Bands basic = basic_bands(bars, i, range);
        if (basic.upper < upper_ || previous_close_ > upper_) upper_ = basic.upper;
        if (basic.lower > lower_ || previous_close_ < lower_) lower_ = basic.lower;
        turn(bars(input::close, i), out);
    }

    void turn(double close, double* out) {
        if (up_ ? close < lower_ : close > upper_) up_ = !up_;
        out[0] = up_ ? lower_ : upper_;
        out[1] = up_ ? 1.0 : -1.0;
        previous_close_ = close;
    }

    AtrKernel range_;
    double multiplier_;
    double upper_ = 0.0;
    double lower_ = 0.0;
    double previous_close_ = 0.0;
    bool up_ = false;
    bool started_ = false;
};

SupertrendKernel supertrend_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
