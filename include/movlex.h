/*
 * movlex: technical-analysis indicators with a plain C ABI.
 *
 * Calling contract shared by every indicator entry:
 *
 *   RetCode MOVLEX_X(first_index, last_index,       range of input indices, both inclusive
 *                    inputs...,                      caller-owned price arrays, read-only
 *                    parameters...,                  DEFAULT_INT / DEFAULT_REAL select the default
 *                    out_begin, out_count,           where the output starts, how many values
 *                    outputs...);                    caller-owned arrays, packed from element 0
 *
 * Checks run in this order and stop at the first failure, before anything is
 * written: first_index < 0 (RC_START_OUT_OF_RANGE); last_index < 0 or below
 * first_index, or a range of more than INT32_MAX indices, whose count could not
 * be reported (RC_END_OUT_OF_RANGE); a null input array, a parameter outside
 * its range, a null output array (RC_BAD_ARGUMENT).
 *
 * Output element k belongs to input index *out_begin + k. Every output array
 * needs room for last_index - first_index + 1 values. A range too short for
 * the indicator's lookback is not an error: RC_OK with *out_begin = 0 and
 * *out_count = 0. *out_begin and *out_count are meaningful only after RC_OK.
 *
 * MOVLEX_INIT sets the unstable periods of the recursive indicators (EMA, RSI,
 * ATR, ADX, ...) to 150, which delays their first output by that many bars so
 * that it depends less on the seed; indicators also work without it.
 * MOVLEX_INIT and MOVLEX_SHUTDOWN must not run concurrently with any other
 * call; indicator calls are reentrant and may run on any threads.
 */
#ifndef MOVLEX_H
#define MOVLEX_H

#include <stdint.h>

#include "movlex_version.h" /* MOVLEX_VERSION_MAJOR, _MINOR, _PATCH, MOVLEX_VERSION_STRING */

#if defined(_WIN32) && !defined(_WIN64)
#define MOVLEX_CALL __stdcall
#else
#define MOVLEX_CALL
#endif

#if defined(_WIN32)
#if defined(MOVLEX_BUILDING_LIBRARY)
#define MOVLEX_API __declspec(dllexport)
#else
#define MOVLEX_API
#endif
#elif defined(__GNUC__)
#define MOVLEX_API __attribute__((visibility("default")))
#else
#define MOVLEX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result of every entry. */
typedef int32_t RetCode;
enum {
    RC_OK = 0,                  /* success, also when nothing could be computed */
    RC_NOT_INITIALIZED = 1,     /* MOVLEX_SHUTDOWN without MOVLEX_INIT */
    RC_BAD_ARGUMENT = 2,        /* null array or parameter out of range */
    RC_NO_MEMORY = 3,           /* a scratch array could not be allocated */
    RC_START_OUT_OF_RANGE = 12, /* first_index < 0 */
    RC_END_OUT_OF_RANGE = 13,   /* last_index < 0 or last_index < first_index */
    RC_INTERNAL_ERROR = 5119    /* MACD/MAC2: its two averages were not aligned */
};

/* Moving-average kinds for the ma_type parameters (DEFAULT_INT means MA_SMA). */
typedef int32_t MaType;
enum {
    MA_SMA = 0,
    MA_EMA = 1,
    MA_WMA = 2,
    MA_DEMA = 3,
    MA_TEMA = 4,
    MA_TRIMA = 5,
    MA_KAMA = 6,
    MA_MAMA = 7, /* fixed limits 0.5 and 0.05; the period is ignored */
    MA_T3 = 8    /* fixed volume factor 0.7 */
};

/* Parameter values that select the parameter's default. */
#define DEFAULT_INT ((int32_t)INT32_MIN)
#define DEFAULT_REAL (-4e37)

/* ---- Library state --------------------------------------------------- */

/* Sets every unstable period to 150. Always RC_OK. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_INIT(void);
/* Clears the state (unstable periods back to 0). RC_NOT_INITIALIZED unless initialised. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_SHUTDOWN(void);

/* ---- Moving averages ---------------------------------------------------
 * period: default 30, range 2..100000 unless stated. out may be input. */

/* Simple moving average. Lookback period - 1. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_SMA(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Weighted moving average (weights 1..period, newest heaviest). Lookback period - 1. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_WMA(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Exponential moving average, seeded with the simple mean. Lookback period - 1 + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_EMA(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Double exponential moving average 2*EMA1 - EMA2. Lookback twice the EMA's. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_DEMA(int32_t first_index, int32_t last_index, const double *input,
                                           int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Triple exponential moving average 3*EMA1 - 3*EMA2 + EMA3. Lookback three times the EMA's. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_TEMA(int32_t first_index, int32_t last_index, const double *input,
                                           int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Triangular moving average. Lookback period - 1. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_TRIMA(int32_t first_index, int32_t last_index, const double *input,
                                            int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Kaufman adaptive moving average; period sets the efficiency-ratio window. Lookback period + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_KAMA(int32_t first_index, int32_t last_index, const double *input,
                                           int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* MESA adaptive moving average and its following average FAMA.
 * fast_limit default 0.5, slow_limit default 0.05, each 0.01..0.99. Lookback 32 + unstable period.
 * Either output may be input. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MAMA(int32_t first_index, int32_t last_index, const double *input,
                                           double fast_limit, double slow_limit, int32_t *out_begin,
                                           int32_t *out_count, double *out_mama, double *out_fama);
/* T3 moving average. period default 5 (2..100000), volume_factor default 0.7 (0..1).
 * Lookback 6 * (period - 1) + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_T3(int32_t first_index, int32_t last_index, const double *input,
                                         int32_t period, double volume_factor, int32_t *out_begin,
                                         int32_t *out_count, double *out);

/* ---- Price oscillators --------------------------------------------------
 * The smaller period is always used as the fast one. ma_type: 0..8, default MA_SMA. */

/* Absolute price oscillator: fast average - slow average. fast_period 12, slow_period 26 (2..100000). */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_APO(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t fast_period, int32_t slow_period, MaType ma_type,
                                          int32_t *out_begin, int32_t *out_count, double *out);
/* Percentage price oscillator: (fast - slow) / slow * 100. Parameters as APO. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_PPO(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t fast_period, int32_t slow_period, MaType ma_type,
                                          int32_t *out_begin, int32_t *out_count, double *out);
/* MACD line, signal line and histogram. fast_period 12, slow_period 26 (2..100000),
 * signal_period 9 (1..100000); each average has its own type. out_signal and out_hist may be one array. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MACD(int32_t first_index, int32_t last_index, const double *input,
                                           int32_t fast_period, MaType fast_ma_type, int32_t slow_period,
                                           MaType slow_ma_type, int32_t signal_period, MaType signal_ma_type,
                                           int32_t *out_begin, int32_t *out_count, double *out_macd,
                                           double *out_signal, double *out_hist);
/* MACD line only, with the lookback of a MACD whose signal is a 3-value simple average. Parameters as MACD. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MAC2(int32_t first_index, int32_t last_index, const double *input,
                                           int32_t fast_period, MaType fast_ma_type, int32_t slow_period,
                                           MaType slow_ma_type, int32_t *out_begin, int32_t *out_count,
                                           double *out_macd);

/* ---- Momentum oscillators ---------------------------------------------- */

/* Momentum: input[i] - input[i - period]. period default 10, 1..100000. out may be input. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MOM(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Rate of change in percent; 0 where the reference value is 0. period default 10, 1..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_ROC(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Relative strength index, 0..100. period default 14, 2..100000. Lookback period + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_RSI(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Chande momentum oscillator, -100..100. period default 14, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_CMO(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Slow stochastic %K and %D. fast_k_period 5, slow_k_period 3, slow_d_period 3 (each 1..100000),
 * ma types default MA_SMA. An output may be one of the inputs. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_STOCH(int32_t first_index, int32_t last_index, const double *high,
                                            const double *low, const double *close, int32_t fast_k_period,
                                            int32_t slow_k_period, MaType slow_k_ma_type, int32_t slow_d_period,
                                            MaType slow_d_ma_type, int32_t *out_begin, int32_t *out_count,
                                            double *out_k, double *out_d);
/* Fast stochastic %K and %D. fast_k_period 5, fast_d_period 3 (1..100000), fast_d_ma_type MA_SMA. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_STOCHF(int32_t first_index, int32_t last_index, const double *high,
                                             const double *low, const double *close, int32_t fast_k_period,
                                             int32_t fast_d_period, MaType fast_d_ma_type, int32_t *out_begin,
                                             int32_t *out_count, double *out_k, double *out_d);
/* Fast stochastic of the RSI. period (RSI) 14 (2..100000), fast_k_period 5, fast_d_period 3 (1..100000). */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_STOCHRSI(int32_t first_index, int32_t last_index, const double *input,
                                               int32_t period, int32_t fast_k_period, int32_t fast_d_period,
                                               MaType fast_d_ma_type, int32_t *out_begin, int32_t *out_count,
                                               double *out_k, double *out_d);
/* Williams %R, -100..0. period default 14, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_WILLR(int32_t first_index, int32_t last_index, const double *high,
                                            const double *low, const double *close, int32_t period,
                                            int32_t *out_begin, int32_t *out_count, double *out);
/* Aroon down and up, 0..100, over period + 1 bars. period default 14, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_AROON(int32_t first_index, int32_t last_index, const double *high,
                                            const double *low, int32_t period, int32_t *out_begin,
                                            int32_t *out_count, double *out_aroon_down, double *out_aroon_up);
/* Ultimate oscillator. period1 7, period2 14, period3 28 (each 1..100000, any order). */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_ULTOSC(int32_t first_index, int32_t last_index, const double *high,
                                             const double *low, const double *close, int32_t period1,
                                             int32_t period2, int32_t period3, int32_t *out_begin,
                                             int32_t *out_count, double *out);
/* Commodity channel index. period default 14, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_CCI(int32_t first_index, int32_t last_index, const double *high,
                                          const double *low, const double *close, int32_t period,
                                          int32_t *out_begin, int32_t *out_count, double *out);
/* Balance of power: (close - open) / (high - low). No parameters, no lookback. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_BOP(int32_t first_index, int32_t last_index, const double *open,
                                          const double *high, const double *low, const double *close,
                                          int32_t *out_begin, int32_t *out_count, double *out);

/* ---- Directional movement and volatility -------------------------------- */

/* Plus directional movement (Wilder sum). period default 14, 1..100000 (1: raw one-bar movement). */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_PLUS_DM(int32_t first_index, int32_t last_index, const double *high,
                                              const double *low, int32_t period, int32_t *out_begin,
                                              int32_t *out_count, double *out);
/* Minus directional movement. Parameters as PLUS_DM. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MINUS_DM(int32_t first_index, int32_t last_index, const double *high,
                                               const double *low, int32_t period, int32_t *out_begin,
                                               int32_t *out_count, double *out);
/* Plus directional indicator, percent of true range. period default 14, 1..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_PLUS_DI(int32_t first_index, int32_t last_index, const double *high,
                                              const double *low, const double *close, int32_t period,
                                              int32_t *out_begin, int32_t *out_count, double *out);
/* Minus directional indicator. Parameters as PLUS_DI. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MINUS_DI(int32_t first_index, int32_t last_index, const double *high,
                                               const double *low, const double *close, int32_t period,
                                               int32_t *out_begin, int32_t *out_count, double *out);
/* Directional movement index. period default 14, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_DX(int32_t first_index, int32_t last_index, const double *high,
                                         const double *low, const double *close, int32_t period,
                                         int32_t *out_begin, int32_t *out_count, double *out);
/* Average directional index. period default 14, 2..100000. Lookback 2 * period - 1 + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_ADX(int32_t first_index, int32_t last_index, const double *high,
                                          const double *low, const double *close, int32_t period,
                                          int32_t *out_begin, int32_t *out_count, double *out);
/* ADX rating: mean of ADX now and period - 1 bars ago. period default 14, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_ADXR(int32_t first_index, int32_t last_index, const double *high,
                                           const double *low, const double *close, int32_t period,
                                           int32_t *out_begin, int32_t *out_count, double *out);
/* True range. No parameters; lookback 1. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_TRANGE(int32_t first_index, int32_t last_index, const double *high,
                                             const double *low, const double *close, int32_t *out_begin,
                                             int32_t *out_count, double *out);
/* Average true range (Wilder). period default 14, 1..100000. Lookback period + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_ATR(int32_t first_index, int32_t last_index, const double *high,
                                          const double *low, const double *close, int32_t period,
                                          int32_t *out_begin, int32_t *out_count, double *out);
/* Average true range in percent of each bar's close. Parameters as ATR. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_NATR(int32_t first_index, int32_t last_index, const double *high,
                                           const double *low, const double *close, int32_t period,
                                           int32_t *out_begin, int32_t *out_count, double *out);
/* Parabolic stop and reverse. acceleration default 0.02, maximum default 0.2 (each 0..3e37). Lookback 1. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_SAR(int32_t first_index, int32_t last_index, const double *high,
                                          const double *low, double acceleration, double maximum,
                                          int32_t *out_begin, int32_t *out_count, double *out);

/* ---- Statistics and bands ------------------------------------------------ */

/* Highest value over period values. period default 30, 2..100000. out may be input. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MAX(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Lowest value over period values. period default 30, 2..100000. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MIN(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);
/* Population variance. period default 5, 1..100000; deviations (-3e37..3e37) is accepted and ignored. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_VAR(int32_t first_index, int32_t last_index, const double *input,
                                          int32_t period, double deviations, int32_t *out_begin,
                                          int32_t *out_count, double *out);
/* Population standard deviation times deviations. period default 5, 2..100000; deviations default 1.0. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_STDDEV(int32_t first_index, int32_t last_index, const double *input,
                                             int32_t period, double deviations, int32_t *out_begin,
                                             int32_t *out_count, double *out);
/* Bollinger bands. period default 5 (2..100000), deviations_up/down default 2.0 (-3e37..3e37),
 * ma_type default MA_SMA. The three outputs must be distinct; input may be one of them. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_BBANDS(int32_t first_index, int32_t last_index, const double *input,
                                             int32_t period, double deviations_up, double deviations_down,
                                             MaType ma_type, int32_t *out_begin, int32_t *out_count,
                                             double *out_upper, double *out_middle, double *out_lower);

/* ---- Volume --------------------------------------------------------------- */

/* Accumulation/distribution line, starting at 0 at first_index. No parameters. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_AD(int32_t first_index, int32_t last_index, const double *high,
                                         const double *low, const double *close, const double *volume,
                                         int32_t *out_begin, int32_t *out_count, double *out);
/* Accumulation/distribution oscillator. fast_period 3, slow_period 10 (2..100000). */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_ADOSC(int32_t first_index, int32_t last_index, const double *high,
                                            const double *low, const double *close, const double *volume,
                                            int32_t fast_period, int32_t slow_period, int32_t *out_begin,
                                            int32_t *out_count, double *out);
/* On-balance volume, starting at volume[first_index]. No parameters. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_OBV(int32_t first_index, int32_t last_index, const double *input,
                                          const double *volume, int32_t *out_begin, int32_t *out_count,
                                          double *out);
/* Money-flow index, 0..100. period default 14, 2..100000. Lookback period + unstable period. */
MOVLEX_API RetCode MOVLEX_CALL MOVLEX_MFI(int32_t first_index, int32_t last_index, const double *high,
                                          const double *low, const double *close, const double *volume,
                                          int32_t period, int32_t *out_begin, int32_t *out_count, double *out);

#ifdef __cplusplus
}
#endif

#endif /* MOVLEX_H */
