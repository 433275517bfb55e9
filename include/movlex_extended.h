/*
 * movlex extended set: indicators beyond the core set of movlex-ta-dll, in
 * the extended library libmovlex (link with -lmovlex -lmovlex-ta-dll).
 *
 * Every entry follows the calling contract of the core entries (movlex.h):
 * first_index and last_index (inclusive), the input arrays, the parameters
 * (DEFAULT_INT or DEFAULT_REAL selects a default), out_begin and out_count,
 * the output arrays, each with room for last_index - first_index + 1 values;
 * output element k belongs to input index out_begin + k. The checks run in
 * the core's order (range, inputs, parameters in argument order, outputs) and
 * give the core's codes; RC_NO_MEMORY when an internal ring cannot be had.
 * Indicators built on an average with an unstable period (EMA, Wilder's
 * average) take the unstable periods in force in movlex-ta-dll.
 *
 * docs/indicators.md defines each indicator: its formula in the order
 * computed, its seed, its lookback, its defaults and where it comes from.
 */
#ifndef MOVLEX_EXTENDED_H
#define MOVLEX_EXTENDED_H

#include <stdint.h>

#include "movlex.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifndef MOVLEX_EXTENDED_API
#if defined(_WIN32)
#if defined(MOVLEX_BUILDING_EXTENDED)
#define MOVLEX_EXTENDED_API __declspec(dllexport)
#else
#define MOVLEX_EXTENDED_API
#endif
#elif defined(__GNUC__)
#define MOVLEX_EXTENDED_API __attribute__((visibility("default")))
#else
#define MOVLEX_EXTENDED_API
#endif
#endif

/* ---- Averages and overlays ------------------------------------------- */

/* Hull moving average. period: default 9, range 4..100000. Lookback
 * period - 1 + floor(sqrt(period)) - 1. out may be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_hma(int32_t first_index, int32_t last_index, const double *input,
                                                   int32_t period, int32_t *out_begin, int32_t *out_count,
                                                   double *out);

/* ---- Momentum and oscillators ----------------------------------------- */

/* ---- Volume ------------------------------------------------------------- */

/* Chaikin money flow over high, low, close, volume. period: default 20,
 * range 1..100000. Lookback period - 1. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_cmf(int32_t first_index, int32_t last_index, const double *high,
                                                   const double *low, const double *close, const double *volume,
                                                   int32_t period, int32_t *out_begin, int32_t *out_count,
                                                   double *out);

/* Force index over close and volume. period: default 13, range 1..100000.
 * Lookback period plus the EMA's unstable period. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_force(int32_t first_index, int32_t last_index, const double *close,
                                                     const double *volume, int32_t period, int32_t *out_begin,
                                                     int32_t *out_count, double *out);

/* Ease of movement over high, low, volume. period: default 14, range
 * 1..100000; volume_divisor: default 100000000, range 1..3e37. Lookback
 * period. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_emv(int32_t first_index, int32_t last_index, const double *high,
                                                   const double *low, const double *volume, int32_t period,
                                                   double volume_divisor, int32_t *out_begin, int32_t *out_count,
                                                   double *out);

/* Williams accumulation/distribution over high, low, close. Lookback 1.
 * out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_wad(int32_t first_index, int32_t last_index, const double *high,
                                                   const double *low, const double *close, int32_t *out_begin,
                                                   int32_t *out_count, double *out);

/* ---- Statistics --------------------------------------------------------- */

/* Linear regression over a window: the least-squares line's value at the
 * newest bar, its slope, its intercept (at the oldest bar), its angle in
 * degrees, its value one bar ahead and the standard error of the estimate.
 * period: default 14, range 3..100000. Lookback period - 1. Any output may be
 * the input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_linreg(int32_t first_index, int32_t last_index, const double *input,
                                                      int32_t period, int32_t *out_begin, int32_t *out_count,
                                                      double *out_value, double *out_slope, double *out_intercept,
                                                      double *out_angle, double *out_forecast, double *out_stderr);

/* Pearson correlation of input and other over a window. period: default 30,
 * range 2..100000. Lookback period - 1. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_correl(int32_t first_index, int32_t last_index, const double *input,
                                                      const double *other, int32_t period, int32_t *out_begin,
                                                      int32_t *out_count, double *out);

/* Beta of input on other over a window (covariance over the variance of
 * other). period: default 30, range 2..100000. Lookback period - 1. out may
 * be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_beta(int32_t first_index, int32_t last_index, const double *input,
                                                    const double *other, int32_t period, int32_t *out_begin,
                                                    int32_t *out_count, double *out);

/* Z-score over a window. period: default 20, range 2..100000. Lookback
 * period - 1. out may be the input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_zscore(int32_t first_index, int32_t last_index, const double *input,
                                                      int32_t period, int32_t *out_begin, int32_t *out_count,
                                                      double *out);

/* Percent rank against the previous period values. period: default 20,
 * range 1..100000. Lookback period. out may be the input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_percentrank(int32_t first_index, int32_t last_index,
                                                           const double *input, int32_t period, int32_t *out_begin,
                                                           int32_t *out_count, double *out);

#ifdef __cplusplus
}
#endif

#endif /* MOVLEX_EXTENDED_H */
