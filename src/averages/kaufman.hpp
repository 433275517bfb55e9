// Kaufman adaptive moving average.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array KAMA_PARAMS{integer_param("period", 30, 2)};

// The change sum of the first window is built from its `period` one-bar
// changes; the average is seeded with the value before the first output and
// then stepped once per bar, the window sum adjusted by one change leaving
// and one entering.
class KamaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    KamaKernel(std::int32_t period, std::int32_t unstable)
        : period_(period), unstable_(unstable), warm_up_(Index{period} + unstable) {}

    Index history() const { return period_ + 1; }
    Index lookback() const { return period_ + unstable_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (seen_ < period_) {
            if (seen_ > 0) change_sum_ += std::fabs(bars(0, i - 1) - bars(0, i));
            ++seen_;
            warm_up_.consume();
            return false;
        }
        if (seen_ == period_) {
            change_sum_ += std::fabs(bars(0, i - 1) - bars(0, i));
            ++seen_;
            value_ = bars(0, i - 1);
            window_start_ = bars(0, i - period_);
            adapt(bars(0, i));
        } else {
            advance(bars, i);
        }
        if (warm_up_.consume()) return false;
        out[0] = value_;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        advance(bars, i);
        out[0] = value_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(change_sum_);
        archive(window_start_);
        archive(value_);
        archive.bounded(seen_, 0, period_ + 1);
        archive(warm_up_);
    }

private:
    static constexpr double SLOWEST = 0.06451612903225806;          // 2 / 31
    static constexpr double FAST_MINUS_SLOW = 0.6021505376344085;  // 2 / 3 - 2 / 31
    static constexpr double RATIO_GUARD = 1e-8;

    // The value leaving the window is held, not read again: when the output
    // array is the input, its element may already have been overwritten.
    template <class Bars>
    void advance(const Bars& bars, Index i) {
        const double newest = bars(0, i);
        const double next_window_start = bars(0, i - period_);
        change_sum_ = (change_sum_ - std::fabs(window_start_ - next_window_start)) + std::fabs(newest - bars(0, i - 1));
        window_start_ = next_window_start;
        adapt(newest);
    }

    // One step with the newest value, the value `period` bars before it and
    // the sum of the one-bar changes between them.
    void adapt(double newest) {
        const double net_change = newest - window_start_;
        const bool fastest =
            change_sum_ <= net_change || (-RATIO_GUARD < change_sum_ && change_sum_ < RATIO_GUARD);
        const double ratio = fastest ? 1.0 : std::fabs(net_change / change_sum_);
        const double constant = ratio * FAST_MINUS_SLOW + SLOWEST;
        value_ = value_ + (newest - value_) * (constant * constant);
    }

    Index period_;
    Index unstable_;
    double change_sum_ = 0.0;
    double window_start_ = 0.0;
    double value_ = 0.0;
    Index seen_ = 0;  // bars consumed, up to period + 1
    WarmUp warm_up_;
};

KamaKernel kama_kernel(const double* params, const UnstablePeriods& unstable);

// Its entry reports an empty result before it looks at the range.
template <>
inline constexpr EntryForm entry_form<&kama_kernel>{.clears_outputs = true};

}  // namespace movlex
