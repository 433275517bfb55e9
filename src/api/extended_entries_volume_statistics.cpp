// The extended set's volume and statistics entries (movlex_extended.h).
#include "api/extended_entry.hpp"
#include "movlex_extended.h"
#include "statistics/correlation.hpp"
#include "statistics/linear_regression.hpp"
#include "statistics/percent_rank.hpp"
#include "statistics/z_score.hpp"
#include "volume/chaikin_flow.hpp"
#include "volume/ease_of_movement.hpp"
#include "volume/force_index.hpp"
#include "volume/williams_ad.hpp"

using namespace movlex;

#define EXTENDED_ENTRY extern "C" MOVLEX_EXTENDED_API RetCode MOVLEX_CALL

// ---- Volume ------------------------------------------------------------------

EXTENDED_ENTRY movlex_cmf(int32_t first_index, int32_t last_index, const double* high, const double* low,
                          const double* close, const double* volume, int32_t period, int32_t* out_begin,
                          int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close, volume)
                           .params(CMF_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&cmf_kernel>(first_index, last_index, std::array{high, low, close, volume}, params,
                                           out_begin, out_count, std::array{out});
}

EXTENDED_ENTRY movlex_force(int32_t first_index, int32_t last_index, const double* close, const double* volume,
                            int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(close, volume).params(FORCE_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&force_kernel>(first_index, last_index, std::array{close, volume}, params, out_begin,
                                             out_count, std::array{out});
}

EXTENDED_ENTRY movlex_emv(int32_t first_index, int32_t last_index, const double* high, const double* low,
                          const double* volume, int32_t period, double volume_divisor, int32_t* out_begin,
                          int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, volume)
                           .params(EMV_PARAMS, period, volume_divisor)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period), volume_divisor};
    return run_extended_entry<&emv_kernel>(first_index, last_index, std::array{high, low, volume}, params, out_begin,
                                           out_count, std::array{out});
}

EXTENDED_ENTRY movlex_wad(int32_t first_index, int32_t last_index, const double* high, const double* low,
                          const double* close, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(high, low, close).outputs(out).result();
    if (rc != RC_OK) return rc;
    return run_extended_entry<&wad_kernel>(first_index, last_index, std::array{high, low, close}, nullptr, out_begin,
                                           out_count, std::array{out});
}

// ---- Statistics --------------------------------------------------------------

EXTENDED_ENTRY movlex_linreg(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                             int32_t* out_begin, int32_t* out_count, double* out_value, double* out_slope,
                             double* out_intercept, double* out_angle, double* out_forecast, double* out_stderr) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(LINREG_PARAMS, period)
                           .outputs(out_value, out_slope, out_intercept, out_angle, out_forecast, out_stderr)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&linreg_kernel>(
        first_index, last_index, std::array{input}, params, out_begin, out_count,
        std::array{out_value, out_slope, out_intercept, out_angle, out_forecast, out_stderr});
}

EXTENDED_ENTRY movlex_correl(int32_t first_index, int32_t last_index, const double* input, const double* other,
                             int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input, other).params(CORREL_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&correl_kernel>(first_index, last_index, std::array{input, other}, params, out_begin,
                                              out_count, std::array{out});
}

EXTENDED_ENTRY movlex_beta(int32_t first_index, int32_t last_index, const double* input, const double* other,
                           int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input, other).params(BETA_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&beta_kernel>(first_index, last_index, std::array{input, other}, params, out_begin,
                                            out_count, std::array{out});
}

EXTENDED_ENTRY movlex_zscore(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                             int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input).params(ZSCORE_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&zscore_kernel>(first_index, last_index, std::array{input}, params, out_begin,
                                              out_count, std::array{out});
}

EXTENDED_ENTRY movlex_percentrank(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                                  int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input).params(PERCENT_RANK_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&percent_rank_kernel>(first_index, last_index, std::array{input}, params, out_begin,
                                                    out_count, std::array{out});
}
