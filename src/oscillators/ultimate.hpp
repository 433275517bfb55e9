// Ultimate oscillator (ULTOSC).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array ULTOSC_PARAMS{integer_param("period1", 7, 1), integer_param("period2", 14, 1),
                                          integer_param("period3", 28, 1)};

// The longest of the three periods; -1 if one is out of range.
std::int32_t ultosc_lookback(std::int32_t period1, std::int32_t period2, std::int32_t period3);

// Buying pressure against true range over three windows, the shortest
// weighted 4, the middle 2 and the longest 1, whatever order the periods come
// in. Each window keeps running sums; the bar that leaves a window is
// recomputed from the inputs instead of being stored. A window whose
// true-range sum lies inside the band (-1e-8, 1e-8) adds nothing, and the sum
// of the terms is still divided by 7. The first bar fed only gives the
// previous close of the second.
class UltoscKernel {
public:
    static constexpr int inputs = 3;  // high, low, close
    static constexpr int outputs = 1;

    UltoscKernel(std::int32_t period1, std::int32_t period2, std::int32_t period3) {
        std::array<std::int32_t, 3> periods = {period1, period2, period3};
        std::sort(periods.begin(), periods.end());
        for (int w = 0; w < 3; ++w) windows_[w].period = periods[w];
        warm_up_ = WarmUp(periods[2]);
    }

    Index history() const { return windows_[2].period + 1; }
    Index lookback() const { return windows_[2].period; }

    // Until the first output, a window collects the bars that precede it in
    // its first window: those fed when fewer than its period warm-up bars
    // remain.
    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.remaining() == 0) {
            steady(bars, i, out);
            return true;
        }
        if (warm_up_.remaining() < lookback()) {
            const Pressure bar = bar_pressure(bars, i);
            for (Window& window : windows_)
                if (warm_up_.remaining() < window.period) {
                    window.buying += bar.buying;
                    window.range += bar.range;
                }
        }
        warm_up_.consume();
        return false;
    }

    template <class Bars>
    void steady(const Bars& bars, Index today, double* out) {
        Window& shortest = windows_[0];
        Window& middle = windows_[1];
        Window& longest = windows_[2];
        const Pressure bar = bar_pressure(bars, today);
        for (Window& window : windows_) window.range += bar.range;

        double sum = 0.0;
        if (shortest.has_range()) sum = ((bar.buying + shortest.buying) / shortest.range) * 4.0 + sum;
        if (middle.has_range()) {
            const double ratio = (middle.buying + bar.buying) / middle.range;
            sum = (ratio + ratio) + sum;
        }
        if (longest.has_range()) sum = (longest.buying + bar.buying) / longest.range + sum;

        for (Window& window : windows_) {
            const Pressure leaving = bar_pressure(bars, today - window.period + 1);
            window.buying = (window.buying + bar.buying) - leaving.buying;
            window.range = window.range - leaving.range;
        }
        out[0] = (sum / 7.0) * 100.0;
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (Window& window : windows_) {
            archive(window.buying);
            archive(window.range);
        }
        archive(warm_up_);
    }

private:
    static constexpr double RANGE_BAND = 1e-8;

    // Buying pressure (close above the true low) and true range of a bar
    // after the first.
    struct Pressure {
        double buying;
        double range;
    };

    template <class Bars>
    static Pressure bar_pressure(const Bars& bars, Index i) {
        const double high = bars(0, i), low = bars(1, i), close = bars(2, i);
        const double previous_close = bars(2, i - 1);
        const double true_low = low < previous_close ? low : previous_close;
        return {close - true_low, true_range(high, low, previous_close)};
    }

    // Running sums of one window; between bars they cover the period - 1 bars
    // before the next one.
    struct Window {
        Index period = 1;
        double buying = 0.0;
        double range = 0.0;

        bool has_range() const { return range <= -RANGE_BAND || range >= RANGE_BAND; }
    };

    std::array<Window, 3> windows_{};
    WarmUp warm_up_;
};

UltoscKernel ultosc_kernel(const double* params, const UnstablePeriods& unstable);

// Its entry reports an empty result before it looks at the range.
template <>
inline constexpr EntryForm entry_form<&ultosc_kernel>{.clears_outputs = true};

}  // namespace movlex
