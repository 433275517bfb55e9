// Buying pressure against true range over three windows, the shortest
// weighted 4, the middle 2 and the longest 1, whatever order the periods come
// in. Each window keeps running sums; the bar that leaves a window is
// recomputed from the inputs instead of being stored. A window whose
// true-range sum lies inside the band (-1e-8, 1e-8) adds nothing, and the sum
// of the terms is still divided by 7.
#include "oscillators/ultimate.hpp"

#include <algorithm>
#include <array>

#include "directional/bar_measures.hpp"
#include "frame/contract.hpp"

namespace movlex {

namespace {

constexpr double RANGE_BAND = 1e-8;

// Buying pressure (close above the true low) and true range of bar i >= 1.
struct Pressure {
    double buying;
    double range;
};

Pressure bar_pressure(const double* high, const double* low, const double* close, Index i) {
    const double previous_close = close[i - 1];
    const double true_low = low[i] < previous_close ? low[i] : previous_close;
    return {close[i] - true_low, true_range(high[i], low[i], previous_close)};
}

// Running sums of one window; between bars they cover the period - 1 bars
// before the next one.
struct PressureWindow {
    Index period;
    double buying = 0.0;
    double range = 0.0;

    bool has_range() const { return range <= -RANGE_BAND || range >= RANGE_BAND; }
};

}  // namespace

std::int32_t ultosc_lookback(std::int32_t period1, std::int32_t period2, std::int32_t period3) {
    if (!resolve(ULTOSC_PARAMS, period1, period2, period3)) return -1;
    return std::max({period1, period2, period3});
}

RetCode ultosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t period1, std::int32_t period2, std::int32_t period3,
                       std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(ULTOSC_PARAMS, period1, period2, period3)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    *out_begin = 0;
    *out_count = 0;

    std::array<std::int32_t, 3> periods = {period1, period2, period3};
    std::sort(periods.begin(), periods.end());
    std::array<PressureWindow, 3> windows = {PressureWindow{periods[0]}, PressureWindow{periods[1]},
                                             PressureWindow{periods[2]}};
    PressureWindow& shortest = windows[0];
    PressureWindow& middle = windows[1];
    PressureWindow& longest = windows[2];

    const Index start = std::max<Index>(first_index, ultosc_lookback(period1, period2, period3));
    if (start > last_index) return RC_OK;

    for (PressureWindow& window : windows)
        for (Index i = start - window.period + 1; i < start; ++i) {
            const Pressure bar = bar_pressure(high, low, close, i);
            window.buying += bar.buying;
            window.range += bar.range;
        }

    Index k = 0;
    for (Index today = start; today <= last_index; ++today, ++k) {
        const Pressure bar = bar_pressure(high, low, close, today);
        for (PressureWindow& window : windows) window.range += bar.range;

        double sum = 0.0;
        if (shortest.has_range()) sum = ((bar.buying + shortest.buying) / shortest.range) * 4.0 + sum;
        if (middle.has_range()) {
            const double ratio = (middle.buying + bar.buying) / middle.range;
            sum = (ratio + ratio) + sum;
        }
        if (longest.has_range()) sum = (longest.buying + bar.buying) / longest.range + sum;

        for (PressureWindow& window : windows) {
            const Pressure leaving = bar_pressure(high, low, close, today - window.period + 1);
            window.buying = (window.buying + bar.buying) - leaving.buying;
            window.range = window.range - leaving.range;
        }
        out[k] = (sum / 7.0) * 100.0;
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
