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

/* Zero-lag exponential moving average. period: default 20, range 2..100000.
 * Lookback (period - 1) / 2 + period - 1 + the EMA's unstable period. out may
 * be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_zlema(int32_t first_index, int32_t last_index, const double *input,
                                                     int32_t period, int32_t *out_begin, int32_t *out_count,
                                                     double *out);

/* Volume-weighted moving average of input. period: default 20, range
 * 1..100000. Lookback period - 1. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_vwma(int32_t first_index, int32_t last_index, const double *input,
                                                    const double *volume, int32_t period, int32_t *out_begin,
                                                    int32_t *out_count, double *out);

/* Volume-weighted average of the typical price, cumulated from first_index
 * (the anchor is the first bar of the request). Lookback 0. out may be an
 * input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_vwap(int32_t first_index, int32_t last_index, const double *high,
                                                    const double *low, const double *close, const double *volume,
                                                    int32_t *out_begin, int32_t *out_count, double *out);

/* Volume-weighted average of the typical price over the last period bars.
 * period: default 20, range 1..100000. Lookback period - 1. out may be an
 * input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_vwap_rolling(int32_t first_index, int32_t last_index,
                                                            const double *high, const double *low,
                                                            const double *close, const double *volume,
                                                            int32_t period, int32_t *out_begin, int32_t *out_count,
                                                            double *out);

/* Arnaud Legoux moving average. window: default 9, range 1..100000; offset:
 * default 0.85, range 0..1; sigma: default 6, range 0.1..50. Lookback
 * window - 1. out may be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_alma(int32_t first_index, int32_t last_index, const double *input,
                                                    int32_t window, double offset, double sigma, int32_t *out_begin,
                                                    int32_t *out_count, double *out);

/* Keltner channels: EMA(period) of the close -/+ multiplier * ATR(atr_period).
 * period: default 20, range 2..100000; atr_period: default 10, range
 * 1..100000; multiplier: default 2, range 0..3e37. Lookback the larger of
 * the EMA's and the ATR's (each with its unstable period). Outputs may be
 * inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_keltner(int32_t first_index, int32_t last_index, const double *high,
                                                       const double *low, const double *close, int32_t period,
                                                       int32_t atr_period, double multiplier, int32_t *out_begin,
                                                       int32_t *out_count, double *out_upper, double *out_middle,
                                                       double *out_lower);

/* Donchian channels: highest high, midpoint, lowest low of the last period
 * bars. period: default 20, range 1..100000. Lookback period - 1. Outputs may
 * be inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_donchian(int32_t first_index, int32_t last_index, const double *high,
                                                        const double *low, int32_t period, int32_t *out_begin,
                                                        int32_t *out_count, double *out_upper, double *out_middle,
                                                        double *out_lower);

/* Ichimoku: conversion line, base line, leading spans A and B, lagging span,
 * every one at bar t from the bars up to t (a chart draws the spans
 * displacement bars ahead, the lagging span displacement bars back).
 * conversion 9, base 26, span_b 52, displacement 26 by default, each
 * 1..100000. Lookback the longest window less 1. Outputs may be inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_ichimoku(int32_t first_index, int32_t last_index, const double *high,
                                                        const double *low, const double *close, int32_t conversion,
                                                        int32_t base, int32_t span_b, int32_t displacement,
                                                        int32_t *out_begin, int32_t *out_count,
                                                        double *out_conversion, double *out_base, double *out_span_a,
                                                        double *out_span_b, double *out_lagging);

/* SuperTrend: the line and its direction (+1 up, -1 down). period: default
 * 10, range 1..100000; multiplier: default 3, range 0..3e37. Lookback the
 * ATR's (period plus its unstable period). Outputs may be inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_supertrend(int32_t first_index, int32_t last_index,
                                                          const double *high, const double *low, const double *close,
                                                          int32_t period, double multiplier, int32_t *out_begin,
                                                          int32_t *out_count, double *out_line,
                                                          double *out_direction);

/* Chandelier exit: highest high - multiplier * ATR and lowest low +
 * multiplier * ATR over period. period: default 22, range 1..100000;
 * multiplier: default 3, range 0..3e37. Lookback the ATR's. Outputs may be
 * inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_chandelier(int32_t first_index, int32_t last_index,
                                                          const double *high, const double *low, const double *close,
                                                          int32_t period, double multiplier, int32_t *out_begin,
                                                          int32_t *out_count, double *out_long, double *out_short);

/* ---- Momentum and oscillators ----------------------------------------- */

/* ---- Volume ------------------------------------------------------------- */

/* ---- Statistics --------------------------------------------------------- */

#ifdef __cplusplus
}
#endif

#endif /* MOVLEX_EXTENDED_H */
