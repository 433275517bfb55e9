// The exported indicator entries. Each passes its arguments unchanged to the
// indicator's validating routine and returns its code.
#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "movlex.h"
#include "statistics/extremes.hpp"
#include "statistics/variance.hpp"

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
