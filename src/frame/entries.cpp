// The exported indicator entries. Each passes its arguments unchanged to the
// indicator's validating routine and returns its code.
#include "averages/simple.hpp"
#include "oscillators/price_oscillators.hpp"
#include "oscillators/stochastic.hpp"
#include "statistics/bollinger.hpp"
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
