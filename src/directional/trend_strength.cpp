// DX and ADX smooth both sides' movement and the true range in one pass. A
// bar whose smoothed range, or whose indicator sum, is near zero has no DX:
// DX then repeats its previous output (0 for the first), the ADX seed adds
// nothing for it and the ADX keeps its value. ADXR averages pairs of values
// from one ADX run that starts period - 1 bars before its own start.
#include "directional/trend_strength.hpp"

#include <algorithm>

#include "directional/directional_smoother.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"
#include "frame/scratch.hpp"
#include "frame/wilder.hpp"

namespace movlex {

using directional::DirectionalSmoother;

namespace {

RetCode validate(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                 const double* close, std::int32_t& period, const double* out) {
    return Validation(first_index, last_index)
        .inputs(high, low, close)
        .params(DX_PARAMS, period)
        .outputs(out)
        .result();
}

}  // namespace

std::int32_t dx_lookback(std::int32_t period) {
    if (!resolve(DX_PARAMS, period)) return -1;
    return period + unstable_period(UNSTABLE_DX);
}

std::int32_t adx_lookback(std::int32_t period) {
    if (!resolve(ADX_PARAMS, period)) return -1;
    return 2 * period - 1 + unstable_period(UNSTABLE_ADX);
}

std::int32_t adxr_lookback(std::int32_t period) {
    if (!resolve(ADXR_PARAMS, period)) return -1;
    return adx_lookback(period) + period - 1;
}

RetCode dx_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                   const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                   double* out) {
    const RetCode rc = validate(first_index, last_index, high, low, close, period, out);
    if (rc != RC_OK) return rc;

    const Index lookback = dx_lookback(period);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    // Seed over period - 1 bars, then U + 1 smoothing steps up to bar start.
    DirectionalSmoother smoother(high, low, close, start - lookback, period);
    smoother.seed();
    const Index warm_up_steps = lookback - (period - 1);
    for (Index n = 0; n < warm_up_steps; ++n) smoother.step();
    double dx = 0.0;
    smoother.index(dx);
    out[0] = dx;
    for (Index i = start + 1, k = 1; i <= last_index; ++i, ++k) {
        smoother.step();
        smoother.index(dx);
        out[k] = dx;
    }
    return report_output(out_begin, out_count, start, last_index);
}

RetCode adx_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = validate(first_index, last_index, high, low, close, period, out);
    if (rc != RC_OK) return rc;

    const Index lookback = adx_lookback(period);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    DirectionalSmoother smoother(high, low, close, start - lookback, period);
    smoother.seed();

    // The first ADX is the plain mean of the DX of the next period bars; a
    // bar without DX adds nothing but still counts.
    double dx_sum = 0.0;
    for (Index n = 0; n < period; ++n) {
        smoother.step();
        double dx;
        if (smoother.index(dx)) dx_sum += dx;
    }
    const double divisor = static_cast<double>(period);
    double adx = dx_sum / divisor;

    const auto next_adx = [&] {
        smoother.step();
        double dx;
        if (smoother.index(dx)) adx = wilder_average_step(adx, divisor, dx);
        return adx;
    };
    const Index unstable_steps = lookback - (2 * Index{period} - 1);
    for (Index n = 0; n < unstable_steps; ++n) next_adx();
    out[0] = adx;
    for (Index i = start + 1, k = 1; i <= last_index; ++i, ++k) out[k] = next_adx();
    return report_output(out_begin, out_count, start, last_index);
}

RetCode adxr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                     const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                     double* out) {
    const RetCode rc = validate(first_index, last_index, high, low, close, period, out);
    if (rc != RC_OK) return rc;

    const Index lookback = adxr_lookback(period);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    // Element k holds the ADX of bar start - (period - 1) + k.
    const Index gap = period - 1;
    ScratchArray adx(period + (last_index - start));
    if (!adx) return RC_NO_MEMORY;
    const RetCode adx_rc = adx_compute(static_cast<std::int32_t>(start - gap), last_index, high, low, close, period,
                                       out_begin, out_count, adx.data());
    if (adx_rc != RC_OK) return adx_rc;

    const double* values = adx.data();
    for (Index j = 0; j <= last_index - start; ++j) out[j] = (values[j] + values[j + gap]) * 0.5;
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
