// The exported indicator entries. Each passes its arguments unchanged to the
// indicator's validating routine and returns its code.
#include "averages/simple.hpp"
#include "directional/indicators.hpp"
#include "directional/movement.hpp"
#include "directional/sar.hpp"
#include "directional/trend_strength.hpp"
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
