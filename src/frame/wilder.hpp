// Wilder's smoothing, in the two forms the indicators use, and the running
// average as a kernel part.
#pragma once

#include <cstdint>

#include "frame/contract.hpp"
#include "frame/lanes.hpp"

namespace movlex {

// Running average: ((p - 1) * average + value) / p, in that order
// (RSI, CMO, ATR, NATR, ADX).
template <class V>
inline V wilder_average_step(V average, V period, V value) {
    return (average * (period - 1.0) + value) / period;
}

// Running sum that keeps (p - 1) / p of itself: (sum - sum / p) + value
// (directional movement, directional indicators, DX, ADX).
template <class V>
inline V wilder_sum_step(V sum, V period, V value) {
    return (sum - sum / period) + value;
}

// Wilder's running average fed one value at a time: the mean of its first
// `period` values (added in order from 0, then divided by the period), then
// every later value smoothed in. A bar without a value still counts towards
// the seed but adds nothing to it, and leaves a seeded average as it is.
// Over lanes (frame/lanes.hpp), add_where feeds a value to the lanes where
// the condition holds and a bar without one to the others.
template <class V = double>
class WilderAverage {
public:
    WilderAverage() = default;
    explicit WilderAverage(std::int32_t period)
        : period_(period), divisor_(splat<V>(static_cast<double>(period))), seeding_(period) {}

    // Feeds one value; true once the average exists.
    bool add(V value) {
        if (seeding_ == 0) {
            smooth(value);
            return true;
        }
        sum_ += value;
        return count_seed_bar();
    }

    // Feeds a bar without a value; true once the average exists.
    bool skip() { return seeding_ == 0 || count_seed_bar(); }

    template <class Condition>
    bool add_where(Condition has_value, V value) {
        if (seeding_ == 0) {
            smooth_where(has_value, value);
            return true;
        }
        sum_ = pick(has_value, sum_ + value, sum_);
        return count_seed_bar();
    }

    // Smooths a value into the seeded average.
    void smooth(V value) { average_ = wilder_average_step(average_, divisor_, value); }

    template <class Condition>
    void smooth_where(Condition has_value, V value) {
        average_ = pick(has_value, wilder_average_step(average_, divisor_, value), average_);
    }

    V value() const { return average_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(average_);
        archive.bounded(seeding_, 0, period_);
    }

private:
    bool count_seed_bar() {
        if (--seeding_ > 0) return false;
        average_ = sum_ / divisor_;
        return true;
    }

    Index period_ = 1;
    V divisor_ = splat<V>(1.0);
    V sum_{};
    V average_{};
    Index seeding_ = 1;
};

}  // namespace movlex
