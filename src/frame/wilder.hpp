// Wilder's smoothing, in the two forms the indicators use, and the running
// average as a kernel part.
#pragma once

#include <cstdint>

#include "frame/contract.hpp"

namespace movlex {

// Running average: ((p - 1) * average + value) / p, in that order
// (RSI, CMO, ATR, NATR, ADX).
inline double wilder_average_step(double average, double period, double value) {
    return (average * (period - 1.0) + value) / period;
}

// Running sum that keeps (p - 1) / p of itself: (sum - sum / p) + value
// (directional movement, directional indicators, DX, ADX).
inline double wilder_sum_step(double sum, double period, double value) { return (sum - sum / period) + value; }

// Wilder's running average fed one value at a time: the mean of its first
// `period` values (added in order from 0, then divided by the period), then
// every later value smoothed in. A bar without a value still counts towards
// the seed but adds nothing to it, and leaves a seeded average as it is.
class WilderAverage {
public:
    WilderAverage() = default;
    explicit WilderAverage(std::int32_t period) : period_(period), divisor_(static_cast<double>(period)), seeding_(period) {}

    // Feeds one value; true once the average exists.
    bool add(double value) {
        if (seeding_ == 0) {
            smooth(value);
            return true;
        }
        sum_ += value;
        return count_seed_bar();
    }

    // Feeds a bar without a value; true once the average exists.
    bool skip() { return seeding_ == 0 || count_seed_bar(); }

    // Smooths a value into the seeded average.
    void smooth(double value) { average_ = wilder_average_step(average_, divisor_, value); }

    double value() const { return average_; }

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
    double divisor_ = 1.0;
    double sum_ = 0.0;
    double average_ = 0.0;
    Index seeding_ = 1;
};

}  // namespace movlex
