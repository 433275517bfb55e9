// The Wilder smoothing that the directional family shares: plus movement,
// minus movement and true range summed over period - 1 bars, then each later
// bar smoothed in with (sum - sum / period) + value. Directional movement
// reads its own side of it, the directional indicators one side against the
// range, DX and ADX both sides at once.
#pragma once

#include <cmath>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/contract.hpp"
#include "frame/wilder.hpp"

// Kept in its own namespace: these helpers serve the directional family only.
namespace movlex::directional {

enum class Side { plus, minus };

inline double side_of(const DirectionalMovement& movement, Side side) {
    return side == Side::plus ? movement.plus : movement.minus;
}

// What one bar contributes: its one-bar movement and its true range.
struct BarMeasures {
    DirectionalMovement movement;
    double range;
};

// Walks the bars in increasing order from a reference bar, carrying the
// previous bar's high, low and close in locals: every input element is read
// once, before any output element with the same index can be written, so an
// output may be one of the inputs. Without closes (directional movement
// alone) the range is left at 0.
class BarWalk {
public:
    BarWalk(const double* high, const double* low, const double* close, Index reference_bar)
        : high_(high),
          low_(low),
          close_(close),
          next_bar_(reference_bar + 1),
          previous_high_(high[reference_bar]),
          previous_low_(low[reference_bar]),
          previous_close_(close != nullptr ? close[reference_bar] : 0.0) {}

    BarMeasures next() {
        const double high = high_[next_bar_];
        const double low = low_[next_bar_];
        BarMeasures bar{directional_movement(high, low, previous_high_, previous_low_), 0.0};
        if (close_ != nullptr) {
            bar.range = true_range(high, low, previous_close_);
            previous_close_ = close_[next_bar_];
        }
        previous_high_ = high;
        previous_low_ = low;
        ++next_bar_;
        return bar;
    }

private:
    const double* high_;
    const double* low_;
    const double* close_;
    Index next_bar_;
    double previous_high_;
    double previous_low_;
    double previous_close_;
};

// -1e-8 < value < 1e-8, both bounds strict.
inline bool inside_near_zero_band(double value) { return -1e-8 < value && value < 1e-8; }

// part as a percentage of range, 0 when the range is near zero.
inline double percent_of_range(double part, double range) {
    return inside_near_zero_band(range) ? 0.0 : (part / range) * 100.0;
}

// The smoothed movement of both sides and the smoothed true range of one
// pass over the bars that follow a reference bar.
class DirectionalSmoother {
public:
    DirectionalSmoother(const double* high, const double* low, const double* close, Index reference_bar,
                        std::int32_t period)
        : bars_(high, low, close, reference_bar), period_(static_cast<double>(period)), seed_length_(period - 1) {}

    // Plain sums over the period - 1 bars after the reference bar.
    void seed() {
        for (Index n = 0; n < seed_length_; ++n) {
            const BarMeasures bar = bars_.next();
            plus_ += bar.movement.plus;
            minus_ += bar.movement.minus;
            range_ += bar.range;
        }
    }

    // Smooths the next bar in.
    void step() {
        const BarMeasures bar = bars_.next();
        plus_ = wilder_sum_step(plus_, period_, bar.movement.plus);
        minus_ = wilder_sum_step(minus_, period_, bar.movement.minus);
        range_ = wilder_sum_step(range_, period_, bar.range);
    }

    double movement(Side side) const { return side == Side::plus ? plus_ : minus_; }

    // The directional indicator of one side: its movement in percent of the
    // range, 0 while the range is near zero.
    double indicator(Side side) const { return percent_of_range(movement(side), range_); }

    // The directional movement index of the current bar. A bar has none when
    // the range or the sum of both indicators is near zero; value is then
    // left as it was.
    bool index(double& value) const {
        if (inside_near_zero_band(range_)) return false;
        const double minus_indicator = (minus_ / range_) * 100.0;
        const double plus_indicator = (plus_ / range_) * 100.0;
        const double sum = minus_indicator + plus_indicator;
        if (inside_near_zero_band(sum)) return false;
        value = (std::fabs(minus_indicator - plus_indicator) / sum) * 100.0;
        return true;
    }

private:
    BarWalk bars_;
    double period_;
    Index seed_length_;
    double plus_ = 0.0;
    double minus_ = 0.0;
    double range_ = 0.0;
};

}  // namespace movlex::directional
