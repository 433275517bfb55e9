// The entries of the extended set's averages and overlays.
#include "api/extended_entry.hpp"
#include "averages/ichimoku.hpp"
#include "averages/legoux.hpp"
#include "averages/price_channels.hpp"
#include "averages/supertrend.hpp"
#include "averages/volume_weighted.hpp"
#include "averages/zero_lag.hpp"
#include "movlex_extended.h"

using namespace movlex;

#define EXTENDED_ENTRY extern "C" MOVLEX_EXTENDED_API RetCode MOVLEX_CALL

EXTENDED_ENTRY movlex_zlema(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                            int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input).params(ZLEMA_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&zlema_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                             std::array{out});
}

EXTENDED_ENTRY movlex_vwma(int32_t first_index, int32_t last_index, const double* input, const double* volume,
                           int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input, volume).params(VWMA_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&vwma_kernel>(first_index, last_index, std::array{input, volume}, params, out_begin,
                                            out_count, std::array{out});
}

EXTENDED_ENTRY movlex_vwap(int32_t first_index, int32_t last_index, const double* high, const double* low,
                           const double* close, const double* volume, int32_t* out_begin, int32_t* out_count,
                           double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(high, low, close, volume).outputs(out).result();
    if (rc != RC_OK) return rc;
    return run_extended_entry<&vwap_kernel>(first_index, last_index, std::array{high, low, close, volume}, nullptr,
                                            out_begin, out_count, std::array{out});
}

EXTENDED_ENTRY movlex_vwap_rolling(int32_t first_index, int32_t last_index, const double* high, const double* low,
                                   const double* close, const double* volume, int32_t period, int32_t* out_begin,
                                   int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close, volume)
                           .params(VWAP_ROLLING_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&vwap_rolling_kernel>(first_index, last_index, std::array{high, low, close, volume},
                                                    params, out_begin, out_count, std::array{out});
}

EXTENDED_ENTRY movlex_alma(int32_t first_index, int32_t last_index, const double* input, int32_t window,
                           double offset, double sigma, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(ALMA_PARAMS, window, offset, sigma)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(window), offset, sigma};
    return run_extended_entry<&alma_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                            std::array{out});
}

EXTENDED_ENTRY movlex_keltner(int32_t first_index, int32_t last_index, const double* high, const double* low,
                              const double* close, int32_t period, int32_t atr_period, double multiplier,
                              int32_t* out_begin, int32_t* out_count, double* out_upper, double* out_middle,
                              double* out_lower) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(KELTNER_PARAMS, period, atr_period, multiplier)
                           .outputs(out_upper, out_middle, out_lower)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period), double(atr_period), multiplier};
    return run_extended_entry<&keltner_kernel>(first_index, last_index, std::array{high, low, close}, params,
                                               out_begin, out_count, std::array{out_upper, out_middle, out_lower});
}

EXTENDED_ENTRY movlex_donchian(int32_t first_index, int32_t last_index, const double* high, const double* low,
                               int32_t period, int32_t* out_begin, int32_t* out_count, double* out_upper,
                               double* out_middle, double* out_lower) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(DONCHIAN_PARAMS, period)
                           .outputs(out_upper, out_middle, out_lower)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&donchian_kernel>(first_index, last_index, std::array{high, low}, params, out_begin,
                                                out_count, std::array{out_upper, out_middle, out_lower});
}

EXTENDED_ENTRY movlex_ichimoku(int32_t first_index, int32_t last_index, const double* high, const double* low,
                               const double* close, int32_t conversion, int32_t base, int32_t span_b,
                               int32_t displacement, int32_t* out_begin, int32_t* out_count, double* out_conversion,
                               double* out_base, double* out_span_a, double* out_span_b, double* out_lagging) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(ICHIMOKU_PARAMS, conversion, base, span_b, displacement)
                           .outputs(out_conversion, out_base, out_span_a, out_span_b, out_lagging)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(conversion), double(base), double(span_b), double(displacement)};
    return run_extended_entry<&ichimoku_kernel>(
        first_index, last_index, std::array{high, low, close}, params, out_begin, out_count,
        std::array{out_conversion, out_base, out_span_a, out_span_b, out_lagging});
}

EXTENDED_ENTRY movlex_supertrend(int32_t first_index, int32_t last_index, const double* high, const double* low,
                                 const double* close, int32_t period, double multiplier, int32_t* out_begin,
                                 int32_t* out_count, double* out_line, double* out_direction) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(SUPERTREND_PARAMS, period, multiplier)
                           .outputs(out_line, out_direction)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period), multiplier};
    return run_extended_entry<&supertrend_kernel>(first_index, last_index, std::array{high, low, close}, params,
                                                  out_begin, out_count, std::array{out_line, out_direction});
}

EXTENDED_ENTRY movlex_chandelier(int32_t first_index, int32_t last_index, const double* high, const double* low,
                                 const double* close, int32_t period, double multiplier, int32_t* out_begin,
                                 int32_t* out_count, double* out_long, double* out_short) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(CHANDELIER_PARAMS, period, multiplier)
                           .outputs(out_long, out_short)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period), multiplier};
    return run_extended_entry<&chandelier_kernel>(first_index, last_index, std::array{high, low, close}, params,
                                                  out_begin, out_count, std::array{out_long, out_short});
}
