// The exported indicator entries. Each passes its arguments unchanged to the
// indicator's validating routine and returns its code.
#include "averages/exponential.hpp"
#include "averages/simple.hpp"
#include "directional/indicators.hpp"
#include "directional/movement.hpp"
#include "directional/sar.hpp"
#include "directional/trend_strength.hpp"
#include "directional/true_range.hpp"
#include "oscillators/balance_of_power.hpp"
#include "oscillators/commodity_channel.hpp"
#include "oscillators/momentum.hpp"
#include "oscillators/range_position.hpp"
#include "oscillators/rsi.hpp"
#include "oscillators/ultimate.hpp"
#include "volume/accumulation.hpp"
#include "volume/money_flow.hpp"
#include "volume/on_balance.hpp"
#include "movlex.h"

using namespace movlex;

#define ENTRY extern "C" MOVLEX_API RetCode MOVLEX_CALL

ENTRY MOVLEX_SMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return sma_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_WMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return wma_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_MOM(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return mom_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_ROC(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return roc_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_WILLR(int32_t first_index, int32_t last_index, const double* high, const double* low,
                   const double* close, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return willr_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_AROON(int32_t first_index, int32_t last_index, const double* high, const double* low, int32_t period,
                   int32_t* out_begin, int32_t* out_count, double* out_aroon_down, double* out_aroon_up) {
    return aroon_compute(first_index, last_index, high, low, period, out_begin, out_count, out_aroon_down,
                         out_aroon_up);
}

ENTRY MOVLEX_ULTOSC(int32_t first_index, int32_t last_index, const double* high, const double* low,
                    const double* close, int32_t period1, int32_t period2, int32_t period3, int32_t* out_begin,
                    int32_t* out_count, double* out) {
    return ultosc_compute(first_index, last_index, high, low, close, period1, period2, period3, out_begin, out_count,
                          out);
}

ENTRY MOVLEX_CCI(int32_t first_index, int32_t last_index, const double* high, const double* low, const double* close,
                 int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return cci_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_BOP(int32_t first_index, int32_t last_index, const double* open, const double* high, const double* low,
                 const double* close, int32_t* out_begin, int32_t* out_count, double* out) {
    return bop_compute(first_index, last_index, open, high, low, close, out_begin, out_count, out);
}

ENTRY MOVLEX_AD(int32_t first_index, int32_t last_index, const double* high, const double* low, const double* close,
                const double* volume, int32_t* out_begin, int32_t* out_count, double* out) {
    return ad_compute(first_index, last_index, high, low, close, volume, out_begin, out_count, out);
}

ENTRY MOVLEX_ADOSC(int32_t first_index, int32_t last_index, const double* high, const double* low,
                   const double* close, const double* volume, int32_t fast_period, int32_t slow_period,
                   int32_t* out_begin, int32_t* out_count, double* out) {
    return adosc_compute(first_index, last_index, high, low, close, volume, fast_period, slow_period, out_begin,
                         out_count, out);
}

ENTRY MOVLEX_OBV(int32_t first_index, int32_t last_index, const double* input, const double* volume,
                 int32_t* out_begin, int32_t* out_count, double* out) {
    return obv_compute(first_index, last_index, input, volume, out_begin, out_count, out);
}

ENTRY MOVLEX_MFI(int32_t first_index, int32_t last_index, const double* high, const double* low, const double* close,
                 const double* volume, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return mfi_compute(first_index, last_index, high, low, close, volume, period, out_begin, out_count, out);
}

ENTRY MOVLEX_EMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return ema_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_DEMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                  int32_t* out_count, double* out) {
    return dema_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_TEMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                  int32_t* out_count, double* out) {
    return tema_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_RSI(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return rsi_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_CMO(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return cmo_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_TRANGE(int32_t first_index, int32_t last_index, const double* high, const double* low,
                    const double* close, int32_t* out_begin, int32_t* out_count, double* out) {
    return trange_compute(first_index, last_index, high, low, close, out_begin, out_count, out);
}

ENTRY MOVLEX_ATR(int32_t first_index, int32_t last_index, const double* high, const double* low, const double* close,
                 int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return atr_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_NATR(int32_t first_index, int32_t last_index, const double* high, const double* low, const double* close,
                  int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return natr_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_PLUS_DM(int32_t first_index, int32_t last_index, const double* high, const double* low, int32_t period,
                     int32_t* out_begin, int32_t* out_count, double* out) {
    return plus_dm_compute(first_index, last_index, high, low, period, out_begin, out_count, out);
}

ENTRY MOVLEX_MINUS_DM(int32_t first_index, int32_t last_index, const double* high, const double* low, int32_t period,
                      int32_t* out_begin, int32_t* out_count, double* out) {
    return minus_dm_compute(first_index, last_index, high, low, period, out_begin, out_count, out);
}

ENTRY MOVLEX_PLUS_DI(int32_t first_index, int32_t last_index, const double* high, const double* low,
                     const double* close, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return plus_di_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_MINUS_DI(int32_t first_index, int32_t last_index, const double* high, const double* low,
                      const double* close, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return minus_di_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_DX(int32_t first_index, int32_t last_index, const double* high, const double* low,
                const double* close, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return dx_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_ADX(int32_t first_index, int32_t last_index, const double* high, const double* low,
                 const double* close, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return adx_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_ADXR(int32_t first_index, int32_t last_index, const double* high, const double* low,
                  const double* close, int32_t period, int32_t* out_begin, int32_t* out_count, double* out) {
    return adxr_compute(first_index, last_index, high, low, close, period, out_begin, out_count, out);
}

ENTRY MOVLEX_SAR(int32_t first_index, int32_t last_index, const double* high, const double* low, double acceleration,
                 double maximum, int32_t* out_begin, int32_t* out_count, double* out) {
    return sar_compute(first_index, last_index, high, low, acceleration, maximum, out_begin, out_count, out);
}
