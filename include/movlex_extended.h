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
#include "movlex_stream.h" /* MOVLEX_EXTENDED_API, the library's other half */

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Candlestick patterns ----------------------------------------------
 * docs/patterns.md defines each pattern, the settings and the output. Every
 * pattern entry takes open, high, low, close and the settings (NULL for the
 * defaults; a field holding DEFAULT_INT or DEFAULT_REAL takes its default),
 * and writes one value per bar: +1 bullish, -1 bearish, +2 or -2 a delayed
 * confirmation (hikkake), 0 nothing, each a whole number held in a double.
 * Lookback period + the pattern's candles - 1. out may be an input. */

typedef struct MovlexCandleSettings {
    int32_t period;           /* candles averaged: default 10, range 1..100 */
    double long_body;         /* body > m x average body: default 1.3 */
    double short_body;        /* body <= m x average body: default 0.6 */
    double doji_body;         /* body <= m x average range: default 0.08 */
    double long_shadow;       /* shadow >= m x its candle's body: default 2 */
    double very_short_shadow; /* shadow <= m x average range: default 0.06 */
    double prices_near;       /* |a - b| <= m x average range: default 0.15 */
    double prices_far;        /* |a - b| > m x average range: default 0.5 */
    double prices_equal;      /* |a - b| <= m x average range: default 0.04 */
} MovlexCandleSettings; /* every multiple m in 0..100 */

/* Fills in the defaults. */
MOVLEX_EXTENDED_API void MOVLEX_CALL movlex_candle_settings_default(MovlexCandleSettings *settings);

#ifdef __cplusplus
}
#endif

/* The entries, one for each extended indicator, with the defaults and
 * ranges of their parameters, then one for each candlestick pattern,
 * movlex_candle_<name>, in the order of the scan's columns: generated from
 * the library's indicator list and installed beside this header. */
#include "movlex_extended_entries.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Number of patterns (the scan's columns), and the name of pattern k
 * ("hammer"), NULL out of range. */
MOVLEX_EXTENDED_API int32_t MOVLEX_CALL movlex_candle_pattern_count(void);
MOVLEX_EXTENDED_API const char *MOVLEX_CALL movlex_candle_pattern_name(int32_t pattern);

/* The scan: every pattern over one series in one pass. out holds one row of
 * movlex_candle_pattern_count() values per bar (row k for input index
 * out_begin + k, column j for pattern j), with room for
 * (last_index - first_index + 1) rows; each value is the one the pattern's own
 * entry gives at that bar. Lookback period + the longest pattern's candles - 1
 * (period + 5). */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_candle_scan(int32_t first_index, int32_t last_index,
                                                           const double *open, const double *high,
                                                           const double *low, const double *close,
                                                           const MovlexCandleSettings *settings, int32_t *out_begin,
                                                           int32_t *out_count, int8_t *out);

#ifdef __cplusplus
}
#endif

#endif /* MOVLEX_EXTENDED_H */
