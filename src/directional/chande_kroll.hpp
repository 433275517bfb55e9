// The Chande Kroll stop (Tushar S. Chande and Stanley Kroll): stops hung an
// ATR multiple from the recent extremes, then taken at their own extreme over
// a second window, so that they move only when the market has moved.
#pragma once

#include <array>
#include <cstdint>

#include "directional/true_range.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array CHANDE_KROLL_PARAMS{integer_param("atr_period", 10, 1),
                                                real_param("multiplier", 1.0, 0.0),
                                                integer_param("stop_period", 9, 1)};

// Inputs high, low, close; outputs stop_long, stop_short. From the bar with
// the first ATR(atr_period): high_stop = hh - multiplier * ATR and
// low_stop = ll + multiplier * ATR, hh and ll the highest high and lowest low
// of the last atr_period bars; stop_short is the highest high_stop and
// stop_long the lowest low_stop of the last stop_period bars.
class ChandeKrollKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    ChandeKrollKernel(std::int32_t atr_period, double multiplier, std::int32_t stop_period, std::int32_t unstable)
        : atr_period_(atr_period),
          stop_period_(stop_period),
          multiplier_(multiplier),
          range_(atr_period, unstable),
          highest_high_(atr_period),
          lowest_low_(atr_period),
          high_stops_(stop_period),
          low_stops_(stop_period),
          highest_stop_(stop_period),
          lowest_stop_(stop_period),
          warm_up_(stop_period - 1) {}

    Index history() const { return atr_period_; }
    Index lookback() const { return range_.lookback() + stop_period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double range;
        if (!range_.step(bars, i, &range)) return false;
        const Stops stops = push_stops(bars, i, range);
        if (warm_up_.consume()) return false;
        write(stops, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double range;
        range_.steady(bars, i, &range);
        write(push_stops(bars, i, range), i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(range_);
        archive(highest_high_);
        archive(lowest_low_);
        archive(high_stops_);
        archive(low_stops_);
        archive(highest_stop_);
        archive(lowest_stop_);
        archive(warm_up_);
    }

private:
    // The first stops of the recent bars, the newest one pushed.
    struct Stops {
        const RingBars<1>& high;
        const RingBars<1>& low;
    };

    template <class Bars>
    Stops push_stops(const Bars& bars, Index i, double range) {
        const double distance = multiplier_ * range;
        const double high_stop = highest_high_.advance(input_series(bars, 0), i) - distance;
        const double low_stop = lowest_low_.advance(input_series(bars, 1), i) + distance;
        return {high_stops_.push(i, high_stop), low_stops_.push(i, low_stop)};
    }

    void write(const Stops& stops, Index i, double* out) {
        out[0] = lowest_stop_.advance(input_series(stops.low, 0), i);
        out[1] = highest_stop_.advance(input_series(stops.high, 0), i);
    }

    Index atr_period_;
    Index stop_period_;
    double multiplier_;
    AtrKernel range_;
    WindowExtreme<Highest> highest_high_;
    WindowExtreme<Lowest> lowest_low_;
    DerivedSeries high_stops_;
    DerivedSeries low_stops_;
    WindowExtreme<Highest> highest_stop_;
    WindowExtreme<Lowest> lowest_stop_;
    WarmUp warm_up_;
};

inline ChandeKrollKernel chande_kroll_kernel(const double* params, const UnstablePeriods& unstable) {
    return ChandeKrollKernel(std::int32_t(params[0]), params[1], std::int32_t(params[2]), unstable[UNSTABLE_ATR]);
}

}  // namespace movlex
