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

/* TRIX: one-bar rate of change (percent) of a triple EMA. period: default 15,
 * range 2..100000. Lookback 3 * (period - 1 + U) + 1, U the EMA's unstable
 * period. out may be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_trix(int32_t first_index, int32_t last_index, const double *input,
                                                    int32_t period, int32_t *out_begin, int32_t *out_count,
                                                    double *out);

/* True strength index. long_period: default 25, short_period: default 13,
 * both 2..100000. Lookback 1 + (long_period - 1 + U) + (short_period - 1 + U).
 * out may be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_tsi(int32_t first_index, int32_t last_index, const double *input,
                                                   int32_t long_period, int32_t short_period, int32_t *out_begin,
                                                   int32_t *out_count, double *out);

/* Know-sure-thing and its signal (SMA 9 of the line). roc_period_1..4:
 * defaults 10, 15, 20, 30; sma_period (smooths the first three): default 10;
 * last_sma_period (smooths the fourth): default 15; all 1..100000. Lookback
 * max(roc_period_k + sma_k - 1) + 8. Outputs may be the input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_kst(int32_t first_index, int32_t last_index, const double *input,
                                                   int32_t roc_period_1, int32_t roc_period_2, int32_t roc_period_3,
                                                   int32_t roc_period_4, int32_t sma_period, int32_t last_sma_period,
                                                   int32_t *out_begin, int32_t *out_count, double *out_kst,
                                                   double *out_signal);

/* Detrended price oscillator: input minus SMA(period) of period / 2 + 1 bars
 * earlier. period: default 20, range 2..100000. Lookback period - 1 +
 * period / 2 + 1. out may be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_dpo(int32_t first_index, int32_t last_index, const double *input,
                                                   int32_t period, int32_t *out_begin, int32_t *out_count,
                                                   double *out);

/* Coppock curve: WMA of the sum of two rates of change. long_roc_period:
 * default 14, short_roc_period: default 11, both 1..100000; wma_period:
 * default 10, 2..100000. Lookback max(long, short) + wma_period - 1. out may
 * be input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_coppock(int32_t first_index, int32_t last_index, const double *input,
                                                       int32_t long_roc_period, int32_t short_roc_period,
                                                       int32_t wma_period, int32_t *out_begin, int32_t *out_count,
                                                       double *out);

/* Awesome oscillator: SMA(fast) - SMA(slow) of (high + low) / 2. fast_period:
 * default 5, slow_period: default 34, both 1..100000. Lookback
 * max(fast, slow) - 1. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_ao(int32_t first_index, int32_t last_index, const double *high,
                                                  const double *low, int32_t fast_period, int32_t slow_period,
                                                  int32_t *out_begin, int32_t *out_count, double *out);

/* Fisher transform of the median price and its trigger (the previous bar's
 * value). period: default 10, range 2..100000. Lookback period. Outputs may
 * be inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_fisher(int32_t first_index, int32_t last_index, const double *high,
                                                      const double *low, int32_t period, int32_t *out_begin,
                                                      int32_t *out_count, double *out_fisher, double *out_trigger);

/* Vortex indicator, +VI and -VI. period: default 14, range 2..100000.
 * Lookback period. Outputs may be inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_vortex(int32_t first_index, int32_t last_index, const double *high,
                                                      const double *low, const double *close, int32_t period,
                                                      int32_t *out_begin, int32_t *out_count, double *out_plus_vi,
                                                      double *out_minus_vi);

/* Bull and bear power: high and low minus EMA(period) of the close. period:
 * default 13, range 2..100000. Lookback period - 1 + U. Outputs may be
 * inputs. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_bull_bear_power(int32_t first_index, int32_t last_index,
                                                               const double *high, const double *low,
                                                               const double *close, int32_t period,
                                                               int32_t *out_begin, int32_t *out_count,
                                                               double *out_bull, double *out_bear);

/* Percentage volume oscillator, its signal and histogram. fast_period:
 * default 12, slow_period: default 26, signal_period: default 9, all
 * 2..100000. Lookback (max(fast, slow) - 1 + U) + (signal_period - 1 + U).
 * Outputs may be the input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_pvo(int32_t first_index, int32_t last_index, const double *volume,
                                                   int32_t fast_period, int32_t slow_period, int32_t signal_period,
                                                   int32_t *out_begin, int32_t *out_count, double *out_pvo,
                                                   double *out_signal, double *out_hist);

/* Mass index. ema_period: default 9, 2..100000; sum_period: default 25,
 * 1..100000. Lookback 2 * (ema_period - 1 + U) + sum_period - 1. out may be
 * an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_mass_index(int32_t first_index, int32_t last_index,
                                                          const double *high, const double *low, int32_t ema_period,
                                                          int32_t sum_period, int32_t *out_begin, int32_t *out_count,
                                                          double *out);

/* Chaikin volatility: percent change of EMA(high - low) over roc_period bars.
 * ema_period: default 10, 2..100000; roc_period: default 10, 1..100000.
 * Lookback ema_period - 1 + U + roc_period. out may be an input. */
MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_chaikin_volatility(int32_t first_index, int32_t last_index,
                                                                  const double *high, const double *low,
                                                                  int32_t ema_period, int32_t roc_period,
                                                                  int32_t *out_begin, int32_t *out_count,
                                                                  double *out);

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

/* Every pattern, in the order of the indicator table and of the scan's
 * columns: MOVLEX_CANDLE_PATTERN_LIST(X) calls X(name) for each; the entry is
 * movlex_candle_<name>. */
#define MOVLEX_CANDLE_PATTERN_LIST(X) \
    X(doji) \
    X(long_legged_doji) \
    X(rickshaw_man) \
    X(dragonfly_doji) \
    X(gravestone_doji) \
    X(hammer) \
    X(hanging_man) \
    X(inverted_hammer) \
    X(shooting_star) \
    X(takuri) \
    X(marubozu) \
    X(closing_marubozu) \
    X(opening_marubozu) \
    X(spinning_top) \
    X(high_wave) \
    X(long_line) \
    X(short_line) \
    X(belt_hold) \
    X(engulfing) \
    X(harami) \
    X(harami_cross) \
    X(piercing) \
    X(dark_cloud_cover) \
    X(doji_star) \
    X(kicking) \
    X(counterattack) \
    X(separating_lines) \
    X(matching_low) \
    X(homing_pigeon) \
    X(in_neck) \
    X(on_neck) \
    X(thrusting) \
    X(tweezers) \
    X(hikkake) \
    X(morning_star) \
    X(evening_star) \
    X(morning_doji_star) \
    X(evening_doji_star) \
    X(abandoned_baby) \
    X(three_white_soldiers) \
    X(three_black_crows) \
    X(identical_three_crows) \
    X(three_inside) \
    X(three_outside) \
    X(three_line_strike) \
    X(three_stars_in_the_south) \
    X(two_crows) \
    X(upside_gap_two_crows) \
    X(unique_three_river) \
    X(advance_block) \
    X(stalled_pattern) \
    X(stick_sandwich) \
    X(tasuki_gap) \
    X(gap_three_methods) \
    X(side_by_side_white_lines) \
    X(tristar) \
    X(ladder_bottom) \
    X(concealing_baby_swallow) \
    X(breakaway) \
    X(three_methods) \
    X(mat_hold)

#define MOVLEX_CANDLE_ENTRY(name)                                                                                      \
    MOVLEX_EXTENDED_API RetCode MOVLEX_CALL movlex_candle_##name(                                                    \
        int32_t first_index, int32_t last_index, const double *open, const double *high, const double *low,          \
        const double *close, const MovlexCandleSettings *settings, int32_t *out_begin, int32_t *out_count, double *out);
MOVLEX_CANDLE_PATTERN_LIST(MOVLEX_CANDLE_ENTRY)
#undef MOVLEX_CANDLE_ENTRY

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
