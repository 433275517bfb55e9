// Parabolic stop and reverse over high and low.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array SAR_PARAMS{real_param("acceleration", 0.02, 0.0), real_param("maximum", 0.2, 0.0)};
inline constexpr std::array SAR_TWO_SIDED_PARAMS{real_param("start", 0.0),
                                          real_param("long_acceleration", 0.02, 0.0),
                                          real_param("long_maximum", 0.2, 0.0),
                                          real_param("short_acceleration", 0.02, 0.0),
                                          real_param("short_maximum", 0.2, 0.0)};

// A two-state machine, long or short, driven bar by bar. The stop trails the
// price, moving towards the position's extreme point by the acceleration
// factor, which grows by one step on every new extreme up to the maximum.
// A bar that touches the stop reverses the position: it reports the extreme
// point of the position that ends, and the new stop starts from there.
//
// The first bar fed is the reference; the second opens the first position,
// short when it moved down more than up, long otherwise, and for it the
// previous bar's high and low are its own.
class SarKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    // The step is the acceleration, lowered to the maximum when above it.
    SarKernel(double acceleration, double maximum) : SarKernel(0.0, acceleration, maximum, acceleration, maximum) {}

    // Separate settings for long and short positions (each step lowered to
    // its maximum), and a start: 0 opens as above; a positive start opens
    // long with that stop, a negative one short with its magnitude as stop.
    SarKernel(double start, double long_step, double long_maximum, double short_step, double short_maximum)
        : long_step_(long_step > long_maximum ? long_maximum : long_step),
          long_maximum_(long_maximum),
          short_step_(short_step > short_maximum ? short_maximum : short_step),
          short_maximum_(short_maximum),
          start_(start),
          factor_(long_step_),
          warm_up_(1) {}

    Index history() const { return 1; }
    Index lookback() const { return 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const double high = bars(input::high, i);
        const double low = bars(input::low, i);
        if (warm_up_.consume()) {
            previous_high_ = high;
            previous_low_ = low;
            return false;
        }
        if (!open_) open(high, low);
        out[0] = advance(high, low);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = advance(bars(input::high, i), bars(input::low, i));
    }

    // The position after the last bar consumed.
    bool is_long() const { return long_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(open_);
        archive(long_);
        archive(factor_);
        archive(extreme_);
        archive(stop_);
        archive(previous_high_);
        archive(previous_low_);
        archive(warm_up_);
    }

private:
    // Successive comparisons, in the order written: the first argument is
    // replaced by a later one only when that one is strictly beyond it.
    static double highest(double value, double first, double second) {
        if (value < first) value = first;
        if (value < second) value = second;
        return value;
    }

    static double lowest(double value, double first, double second) {
        if (value > first) value = first;
        if (value > second) value = second;
        return value;
    }

    void open(double high, double low) {
        if (start_ == 0.0) {
            long_ = !(directional_movement(high, low, previous_high_, previous_low_).minus > 0.0);
            stop_ = long_ ? previous_low_ : previous_high_;
        } else {
            long_ = start_ > 0.0;
            stop_ = long_ ? start_ : -start_;
        }
        factor_ = long_ ? long_step_ : short_step_;
        extreme_ = long_ ? high : low;
        previous_high_ = high;
        previous_low_ = low;
        open_ = true;
    }

    // Processes one bar and returns the value reported for it.
    double advance(double high, double low) {
        const double reported = long_ ? advance_long(high, low) : advance_short(high, low);
        previous_high_ = high;
        previous_low_ = low;
        return reported;
    }

    double advance_long(double high, double low) {
        if (low <= stop_) {
            const double reported = highest(extreme_, previous_high_, high);
            stop_ = reported + short_step_ * (low - reported);
            extreme_ = low;
            factor_ = short_step_;
            stop_ = highest(stop_, previous_high_, high);
            long_ = false;
            return reported;
        }
        const double reported = stop_;
        if (high > extreme_) {
            extreme_ = high;
            factor_ = std::min(factor_ + long_step_, long_maximum_);
        }
        stop_ = stop_ + factor_ * (extreme_ - stop_);
        stop_ = lowest(stop_, previous_low_, low);
        return reported;
    }

    double advance_short(double high, double low) {
        if (high >= stop_) {
            const double reported = lowest(extreme_, previous_low_, low);
            stop_ = reported + long_step_ * (high - reported);
            extreme_ = high;
            factor_ = long_step_;
            stop_ = lowest(stop_, previous_low_, low);
            long_ = true;
            return reported;
        }
        const double reported = stop_;
        if (low < extreme_) {
            extreme_ = low;
            factor_ = std::min(factor_ + short_step_, short_maximum_);
        }
        stop_ = stop_ + factor_ * (extreme_ - stop_);
        stop_ = highest(stop_, previous_high_, high);
        return reported;
    }

    double long_step_, long_maximum_, short_step_, short_maximum_;
    double start_;
    bool open_ = false;
    bool long_ = true;
    double factor_;
    double extreme_ = 0.0;
    double stop_ = 0.0;
    double previous_high_ = 0.0;
    double previous_low_ = 0.0;
    WarmUp warm_up_;
};

// The stop and the position it belongs to after the bar (+1 long, -1 short).
class TwoSidedSarKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 2;

    explicit TwoSidedSarKernel(const SarKernel& sar) : sar_(sar) {}

    Index history() const { return sar_.history(); }
    Index lookback() const { return sar_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!sar_.step(bars, i, out)) return false;
        out[1] = sar_.is_long() ? 1.0 : -1.0;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        sar_.steady(bars, i, out);
        out[1] = sar_.is_long() ? 1.0 : -1.0;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sar_);
    }

private:
    SarKernel sar_;
};

SarKernel sar_kernel(const double* params, const UnstablePeriods& unstable);
TwoSidedSarKernel sar_two_sided_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
