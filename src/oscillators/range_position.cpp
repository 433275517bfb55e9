// Both indicators carry the window's highest high and lowest low from bar to
// bar and rescan only when the bar holding one of them leaves the window.
// They differ in the tie rule of the rescan: Williams %R keeps the oldest of
// equal extremes (which only decides when the next rescan happens), Aroon
// takes the newest, which its output shows.
//
// An output element is written after every read of its bar, and later bars
// read nothing below their trailing index, which lies above the output
// position; so an output may be one of the inputs.
#include "oscillators/range_position.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

std::int32_t willr_lookback(std::int32_t period) {
    if (!resolve(WILLR_PARAMS, period)) return -1;
    return period - 1;
}

std::int32_t aroon_lookback(std::int32_t period) {
    if (!resolve(AROON_PARAMS, period)) return -1;
    return period;
}

// -100 * (highest - close) / (highest - lowest) over `period` bars, computed
// as a division by the range divided by -100; 0 when that is exactly 0.
RetCode willr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                      double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(WILLR_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    WindowExtreme<Lowest> lowest;
    WindowExtreme<Highest> highest;
    Index k = 0;
    for (Index today = start; today <= last_index; ++today, ++k) {
        const Index trailing = today - lookback;
        const double lowest_low = lowest.advance(low, trailing, today);
        const double highest_high = highest.advance(high, trailing, today);
        const double scaled_range = (highest_high - lowest_low) / -100.0;
        out[k] = scaled_range == 0.0 ? 0.0 : (highest_high - close[today]) / scaled_range;
    }
    return report_output(out_begin, out_count, start, last_index);
}

// Over the `period` + 1 bars ending today: 100 when the extreme is today's
// bar, 0 when it is the oldest; among equal extremes the newest bar counts.
RetCode aroon_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out_aroon_down,
                      double* out_aroon_up) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(AROON_PARAMS, period)
                           .outputs(out_aroon_down, out_aroon_up)
                           .result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, period);
    if (start > last_index) return no_output(out_begin, out_count);

    const double factor = 100.0 / static_cast<double>(period);
    WindowExtreme<Lowest, RescanTies::take_newest> lowest;
    WindowExtreme<Highest, RescanTies::take_newest> highest;
    Index k = 0;
    for (Index today = start; today <= last_index; ++today, ++k) {
        const Index trailing = today - period;
        lowest.advance(low, trailing, today);
        highest.advance(high, trailing, today);
        out_aroon_up[k] = static_cast<double>(highest.index() - today + period) * factor;
        out_aroon_down[k] = static_cast<double>(lowest.index() - today + period) * factor;
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
