// The entries of the extended set's momentum indicators and oscillators
// (movlex_extended.h): each checks its request as the core entries do and
// runs its indicator's kernel.
#include "api/extended_entry.hpp"
#include "directional/vortex.hpp"
#include "movlex_extended.h"
#include "oscillators/average_distance.hpp"
#include "oscillators/fisher.hpp"
#include "oscillators/range_expansion.hpp"
#include "oscillators/smoothed_momentum.hpp"
#include "volume/volume_oscillator.hpp"

using namespace movlex;

#define EXTENDED_ENTRY extern "C" MOVLEX_EXTENDED_API RetCode MOVLEX_CALL

EXTENDED_ENTRY movlex_trix(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                           int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input).params(TRIX_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&trix_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                            std::array{out});
}

EXTENDED_ENTRY movlex_tsi(int32_t first_index, int32_t last_index, const double* input, int32_t long_period,
                          int32_t short_period, int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(TSI_PARAMS, long_period, short_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(long_period), double(short_period)};
    return run_extended_entry<&tsi_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                           std::array{out});
}

EXTENDED_ENTRY movlex_kst(int32_t first_index, int32_t last_index, const double* input, int32_t roc_period_1,
                          int32_t roc_period_2, int32_t roc_period_3, int32_t roc_period_4, int32_t sma_period,
                          int32_t last_sma_period, int32_t* out_begin, int32_t* out_count, double* out_kst,
                          double* out_signal) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(KST_PARAMS, roc_period_1, roc_period_2, roc_period_3, roc_period_4, sma_period,
                                   last_sma_period)
                           .outputs(out_kst, out_signal)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(roc_period_1), double(roc_period_2), double(roc_period_3),
                             double(roc_period_4), double(sma_period),   double(last_sma_period)};
    return run_extended_entry<&kst_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                           std::array{out_kst, out_signal});
}

EXTENDED_ENTRY movlex_dpo(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                          int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input).params(DPO_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&dpo_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                           std::array{out});
}

EXTENDED_ENTRY movlex_coppock(int32_t first_index, int32_t last_index, const double* input, int32_t long_roc_period,
                              int32_t short_roc_period, int32_t wma_period, int32_t* out_begin, int32_t* out_count,
                              double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(COPPOCK_PARAMS, long_roc_period, short_roc_period, wma_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(long_roc_period), double(short_roc_period), double(wma_period)};
    return run_extended_entry<&coppock_kernel>(first_index, last_index, std::array{input}, params, out_begin,
                                               out_count, std::array{out});
}

EXTENDED_ENTRY movlex_ao(int32_t first_index, int32_t last_index, const double* high, const double* low,
                         int32_t fast_period, int32_t slow_period, int32_t* out_begin, int32_t* out_count,
                         double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(AO_PARAMS, fast_period, slow_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(fast_period), double(slow_period)};
    return run_extended_entry<&ao_kernel>(first_index, last_index, std::array{high, low}, params, out_begin,
                                          out_count, std::array{out});
}

EXTENDED_ENTRY movlex_fisher(int32_t first_index, int32_t last_index, const double* high, const double* low,
                             int32_t period, int32_t* out_begin, int32_t* out_count, double* out_fisher,
                             double* out_trigger) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(FISHER_PARAMS, period)
                           .outputs(out_fisher, out_trigger)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&fisher_kernel>(first_index, last_index, std::array{high, low}, params, out_begin,
                                              out_count, std::array{out_fisher, out_trigger});
}

EXTENDED_ENTRY movlex_vortex(int32_t first_index, int32_t last_index, const double* high, const double* low,
                             const double* close, int32_t period, int32_t* out_begin, int32_t* out_count,
                             double* out_plus_vi, double* out_minus_vi) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(VORTEX_PARAMS, period)
                           .outputs(out_plus_vi, out_minus_vi)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&vortex_kernel>(first_index, last_index, std::array{high, low, close}, params,
                                              out_begin, out_count, std::array{out_plus_vi, out_minus_vi});
}

EXTENDED_ENTRY movlex_bull_bear_power(int32_t first_index, int32_t last_index, const double* high, const double* low,
                                      const double* close, int32_t period, int32_t* out_begin, int32_t* out_count,
                                      double* out_bull, double* out_bear) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(BULL_BEAR_POWER_PARAMS, period)
                           .outputs(out_bull, out_bear)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&bull_bear_power_kernel>(first_index, last_index, std::array{high, low, close}, params,
                                                       out_begin, out_count, std::array{out_bull, out_bear});
}

EXTENDED_ENTRY movlex_pvo(int32_t first_index, int32_t last_index, const double* volume, int32_t fast_period,
                          int32_t slow_period, int32_t signal_period, int32_t* out_begin, int32_t* out_count,
                          double* out_pvo, double* out_signal, double* out_hist) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(volume)
                           .params(PVO_PARAMS, fast_period, slow_period, signal_period)
                           .outputs(out_pvo, out_signal, out_hist)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(fast_period), double(slow_period), double(signal_period)};
    return run_extended_entry<&pvo_kernel>(first_index, last_index, std::array{volume}, params, out_begin, out_count,
                                           std::array{out_pvo, out_signal, out_hist});
}

EXTENDED_ENTRY movlex_mass_index(int32_t first_index, int32_t last_index, const double* high, const double* low,
                                 int32_t ema_period, int32_t sum_period, int32_t* out_begin, int32_t* out_count,
                                 double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(MASS_INDEX_PARAMS, ema_period, sum_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(ema_period), double(sum_period)};
    return run_extended_entry<&mass_index_kernel>(first_index, last_index, std::array{high, low}, params, out_begin,
                                                  out_count, std::array{out});
}

EXTENDED_ENTRY movlex_chaikin_volatility(int32_t first_index, int32_t last_index, const double* high,
                                         const double* low, int32_t ema_period, int32_t roc_period,
                                         int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(CHAIKIN_VOLATILITY_PARAMS, ema_period, roc_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(ema_period), double(roc_period)};
    return run_extended_entry<&chaikin_volatility_kernel>(first_index, last_index, std::array{high, low}, params,
                                                          out_begin, out_count, std::array{out});
}
