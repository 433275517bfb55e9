// The exported indicator entries. Each passes its arguments unchanged to the
// indicator's validating routine and returns its code.
#include "averages/exponential.hpp"
#include "averages/simple.hpp"
#include "directional/true_range.hpp"
#include "oscillators/rsi.hpp"
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
