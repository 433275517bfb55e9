// The entries of the extended set's averages and overlays.
#include "api/extended_entry.hpp"
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
