// The exported indicator entries. Each passes its arguments unchanged to the
// indicator's validating routine and returns its code.
#include "averages/exponential.hpp"
#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "directional/indicators.hpp"
#include "directional/movement.hpp"
#include "directional/sar.hpp"
#include "directional/trend_strength.hpp"
#include "directional/true_range.hpp"
#include "oscillators/balance_of_power.hpp"
#include "oscillators/commodity_channel.hpp"
#include "oscillators/momentum.hpp"
#include "oscillators/price_oscillators.hpp"
#include "oscillators/range_position.hpp"
#include "oscillators/rsi.hpp"
#include "oscillators/stochastic.hpp"
#include "oscillators/ultimate.hpp"
#include "statistics/bollinger.hpp"
#include "statistics/extremes.hpp"
#include "statistics/variance.hpp"
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

ENTRY MOVLEX_APO(int32_t first_index, int32_t last_index, const double* input, int32_t fast_period,
                 int32_t slow_period, MaType ma_type, int32_t* out_begin, int32_t* out_count, double* out) {
    return apo_compute(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count, out);
}

ENTRY MOVLEX_PPO(int32_t first_index, int32_t last_index, const double* input, int32_t fast_period,
                 int32_t slow_period, MaType ma_type, int32_t* out_begin, int32_t* out_count, double* out) {
    return ppo_compute(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count, out);
}

ENTRY MOVLEX_MACD(int32_t first_index, int32_t last_index, const double* input, int32_t fast_period,
                  MaType fast_ma_type, int32_t slow_period, MaType slow_ma_type, int32_t signal_period,
                  MaType signal_ma_type, int32_t* out_begin, int32_t* out_count, double* out_macd,
                  double* out_signal, double* out_hist) {
    return macd_compute(first_index, last_index, input, fast_period, fast_ma_type, slow_period, slow_ma_type,
                        signal_period, signal_ma_type, out_begin, out_count, out_macd, out_signal, out_hist);
}

ENTRY MOVLEX_MAC2(int32_t first_index, int32_t last_index, const double* input, int32_t fast_period,
                  MaType fast_ma_type, int32_t slow_period, MaType slow_ma_type, int32_t* out_begin,
                  int32_t* out_count, double* out_macd) {
    return mac2_compute(first_index, last_index, input, fast_period, fast_ma_type, slow_period, slow_ma_type,
                        out_begin, out_count, out_macd);
}

ENTRY MOVLEX_BBANDS(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                    double deviations_up, double deviations_down, MaType ma_type, int32_t* out_begin,
                    int32_t* out_count, double* out_upper, double* out_middle, double* out_lower) {
    return bbands_compute(first_index, last_index, input, period, deviations_up, deviations_down, ma_type, out_begin,
                          out_count, out_upper, out_middle, out_lower);
}

ENTRY MOVLEX_STOCH(int32_t first_index, int32_t last_index, const double* high, const double* low,
                   const double* close, int32_t fast_k_period, int32_t slow_k_period, MaType slow_k_ma_type,
                   int32_t slow_d_period, MaType slow_d_ma_type, int32_t* out_begin, int32_t* out_count,
                   double* out_k, double* out_d) {
    return stoch_compute(first_index, last_index, high, low, close, fast_k_period, slow_k_period, slow_k_ma_type,
                         slow_d_period, slow_d_ma_type, out_begin, out_count, out_k, out_d);
}

ENTRY MOVLEX_STOCHF(int32_t first_index, int32_t last_index, const double* high, const double* low,
                    const double* close, int32_t fast_k_period, int32_t fast_d_period, MaType fast_d_ma_type,
                    int32_t* out_begin, int32_t* out_count, double* out_k, double* out_d) {
    return stochf_compute(first_index, last_index, high, low, close, fast_k_period, fast_d_period, fast_d_ma_type,
                          out_begin, out_count, out_k, out_d);
}

ENTRY MOVLEX_STOCHRSI(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                      int32_t fast_k_period, int32_t fast_d_period, MaType fast_d_ma_type, int32_t* out_begin,
                      int32_t* out_count, double* out_k, double* out_d) {
    return stochrsi_compute(first_index, last_index, input, period, fast_k_period, fast_d_period, fast_d_ma_type,
                            out_begin, out_count, out_k, out_d);
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

ENTRY MOVLEX_TRIMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                   int32_t* out_count, double* out) {
    return trima_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_KAMA(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                  int32_t* out_count, double* out) {
    return kama_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_MAMA(int32_t first_index, int32_t last_index, const double* input, double fast_limit, double slow_limit,
                  int32_t* out_begin, int32_t* out_count, double* out_mama, double* out_fama) {
    return mama_compute(first_index, last_index, input, fast_limit, slow_limit, out_begin, out_count, out_mama,
                        out_fama);
}

ENTRY MOVLEX_T3(int32_t first_index, int32_t last_index, const double* input, int32_t period, double volume_factor,
                int32_t* out_begin, int32_t* out_count, double* out) {
    return t3_compute(first_index, last_index, input, period, volume_factor, out_begin, out_count, out);
}

ENTRY MOVLEX_MAX(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return max_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_MIN(int32_t first_index, int32_t last_index, const double* input, int32_t period, int32_t* out_begin,
                 int32_t* out_count, double* out) {
    return min_compute(first_index, last_index, input, period, out_begin, out_count, out);
}

ENTRY MOVLEX_VAR(int32_t first_index, int32_t last_index, const double* input, int32_t period, double deviations,
                 int32_t* out_begin, int32_t* out_count, double* out) {
    return var_compute(first_index, last_index, input, period, deviations, out_begin, out_count, out);
}

ENTRY MOVLEX_STDDEV(int32_t first_index, int32_t last_index, const double* input, int32_t period, double deviations,
                    int32_t* out_begin, int32_t* out_count, double* out) {
    return stddev_compute(first_index, last_index, input, period, deviations, out_begin, out_count, out);
}
