// The Wilder smoothing that the directional family shares: plus movement,
// minus movement and true range summed over period - 1 bars, then each later
// bar smoothed in with (sum - sum / period) + value. Directional movement
// reads its own side of it, the directional indicators one side against the
// range, DX and ADX both sides at once.
#pragma once

#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/contract.hpp"
#include "frame/wilder.hpp"

// Kept in its own namespace: these helpers serve the directional family only.
namespace movlex::directional {

enum class Side { plus, minus };

template <class V>
inline V side_of(const DirectionalMovement<V>& movement, Side side) {
    return side == Side::plus ? movement.plus : movement.minus;
}

// What one bar contributes: its one-bar movement and its true range.
template <class V = double>
struct BarMeasures {
    DirectionalMovement<V> movement;
    V range;
};

// Reads successive bars of (high, low[, close]) inputs and measures each
// against the one before. The first bar fed is the reference and has no
// measures; every bar's inputs are read once and the previous bar's values
// carried over. Without closes (directional movement alone) the range is 0.
template <bool with_range, class V = double>
class BarReader {
public:
    // Consumes bar i; true with its measures in bar, false for the reference.
    template <class Bars>
    bool step(const Bars& bars, Index i, BarMeasures<V>& bar) {
        if (!started_) {
            remember(bars(input::high, i), bars(input::low, i), bars, i);
            started_ = true;
            return false;
        }
        bar = next(bars, i);
        return true;
    }

    // The measures of bar i, once the reference has been fed.
    template <class Bars>
    BarMeasures<V> next(const Bars& bars, Index i) {
        const V high = bars(input::high, i);
        const V low = bars(input::low, i);
        BarMeasures<V> bar{directional_movement(high, low, previous_high_, previous_low_), V{}};
        if constexpr (with_range) bar.range = true_range(high, low, previous_close_);
        remember(high, low, bars, i);
        return bar;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(started_);
        archive(previous_high_);
        archive(previous_low_);
        archive(previous_close_);
    }

private:
    template <class Bars>
    void remember(V high, V low, const Bars& bars, Index i) {
        previous_high_ = high;
        previous_low_ = low;
        if constexpr (with_range) previous_close_ = bars(input::close, i);
    }

    bool started_ = false;
    V previous_high_{};
    V previous_low_{};
    V previous_close_{};
};

// The smoothed movement of both sides and (with ranges) the smoothed true
// range: plain sums over the first period - 1 bars fed, then every later bar
// smoothed in.
template <bool with_range, class V = double>
class DirectionalSums {
public:
    DirectionalSums() = default;
    explicit DirectionalSums(std::int32_t period)
        : period_(splat<V>(static_cast<double>(period))), seed_length_(period - 1), seeding_(period - 1) {}

    // Adds the bar to the seed while it lasts, else smooths it in; true when
    // smoothed in.
    bool add(const BarMeasures<V>& bar) {
        if (seeding_ == 0) {
            smooth(bar);
            return true;
        }
        --seeding_;
        plus_ += bar.movement.plus;
        minus_ += bar.movement.minus;
        if constexpr (with_range) range_ += bar.range;
        return false;
    }

    void smooth(const BarMeasures<V>& bar) {
        plus_ = wilder_sum_step(plus_, period_, bar.movement.plus);
        minus_ = wilder_sum_step(minus_, period_, bar.movement.minus);
        if constexpr (with_range) range_ = wilder_sum_step(range_, period_, bar.range);
    }

    V movement(Side side) const { return side == Side::plus ? plus_ : minus_; }

    // The directional indicator of one side: its movement in percent of the
    // range, 0 while the range is near zero.
    V indicator(Side side) const { return percent_of(movement(side), range_); }

    // The directional movement index of the current bar, stored in value
    // where the bar has one; the result says where. A bar has none when the
    // range or the sum of both indicators is near zero; value is then left as
    // it was.
    auto index(V& value) const {
        const V minus_indicator = (minus_ / range_) * 100.0;
        const V plus_indicator = (plus_ / range_) * 100.0;
        const V sum = minus_indicator + plus_indicator;
        const auto has_index = !inside_near_zero_band(range_) && !inside_near_zero_band(sum);
        value = pick(has_index, (magnitude(minus_indicator - plus_indicator) / sum) * 100.0, value);
        return has_index;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(plus_);
        archive(minus_);
        archive(range_);
        archive.bounded(seeding_, 0, seed_length_);
    }

private:
    V period_ = splat<V>(1.0);
    Index seed_length_ = 0;
    Index seeding_ = 0;
    V plus_{};
    V minus_{};
    V range_{};
};

}  // namespace movlex::directional
