// Both sides run the same routine. Period 1 divides each bar's own movement
// by its own true range; longer periods divide the smoothed movement by the
// smoothed range, one smoothing step past the seed before the first output.
#include "directional/indicators.hpp"

#include <algorithm>

#include "directional/directional_smoother.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

using directional::BarMeasures;
using directional::BarWalk;
using directional::DirectionalSmoother;
using directional::Side;
using directional::percent_of_range;
using directional::side_of;

namespace {

std::int32_t indicator_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(PLUS_DI_PARAMS, period)) return -1;
    if (period == 1) return 1;
    return period + unstable_period(slot);
}

// A bar without movement on this side is 0 whatever its range.
double one_bar_indicator(const BarMeasures& bar, Side side) {
    const double movement = side_of(bar.movement, side);
    return movement == 0.0 ? 0.0 : percent_of_range(movement, bar.range);
}

template <Side side>
RetCode indicator_compute(UnstableSlot slot, std::int32_t first_index, std::int32_t last_index, const double* high,
                          const double* low, const double* close, std::int32_t period, std::int32_t* out_begin,
                          std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(PLUS_DI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = indicator_lookback(period, slot);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    if (period == 1) {
        BarWalk bars(high, low, close, start - 1);
        for (Index i = start, k = 0; i <= last_index; ++i, ++k) out[k] = one_bar_indicator(bars.next(), side);
        return report_output(out_begin, out_count, start, last_index);
    }

    // Seed over period - 1 bars, then U + 1 smoothing steps up to bar start.
    DirectionalSmoother smoother(high, low, close, start - lookback, period);
    smoother.seed();
    const Index warm_up_steps = lookback - (period - 1);
    for (Index n = 0; n < warm_up_steps; ++n) smoother.step();
    out[0] = smoother.indicator(side);
    for (Index i = start + 1, k = 1; i <= last_index; ++i, ++k) {
        smoother.step();
        out[k] = smoother.indicator(side);
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t plus_di_lookback(std::int32_t period) { return indicator_lookback(period, UNSTABLE_PLUS_DI); }

std::int32_t minus_di_lookback(std::int32_t period) { return indicator_lookback(period, UNSTABLE_MINUS_DI); }

RetCode plus_di_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                        const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                        double* out) {
    return indicator_compute<Side::plus>(UNSTABLE_PLUS_DI, first_index, last_index, high, low, close, period, out_begin,
                                         out_count, out);
}

RetCode minus_di_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                         const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                         double* out) {
    return indicator_compute<Side::minus>(UNSTABLE_MINUS_DI, first_index, last_index, high, low, close, period,
                                          out_begin, out_count, out);
}

}  // namespace movlex
