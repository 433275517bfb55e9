/*
 * movlex batches: one indicator, one set of parameters, many series.
 *
 * Screening a universe runs the same indicator over thousands of series.
 * movlex_batch computes indicator `number` (see movlex_indicator_find in
 * movlex_stream.h) over `series` series of `bars` bars each and writes one
 * block of `bars` values per series and output. Every block holds, bit for
 * bit, what the indicator's batch entry gives for that series called over
 * 0 .. bars - 1 with the same parameters: the value of bar t sits at index t of
 * the block, for out_begin <= t < out_begin + out_count. Indices before
 * out_begin are left as they were.
 *
 * Independent series are computed together so that the chains of recursive
 * indicators overlap: RSI, CMO, ATR, NATR and the directional family (PLUS_DM,
 * MINUS_DM, PLUS_DI, MINUS_DI, DX, ADX, ADXR) several series per instruction
 * in SIMD lanes, on the widest instruction set the processor has (on x86-64:
 * AVX-512, AVX2, else SSE2; chosen at run time), the EMA family interleaved.
 * Every instruction set gives the same bits. The series are spread over
 * threads.
 *
 * Layout. Input k of series s starts at inputs[k] + s * input_stride, output k
 * of series s at outputs[k] + s * output_stride (strides in values; series laid
 * one after another have stride bars). inputs holds one array per input of the
 * indicator, in the order of its inputs (for example high, low, close);
 * outputs one array per output. Output blocks must not overlap each other or
 * any input block.
 *
 * Parameters: param_count values in the order of the indicator's parameters,
 * as for movlex_stream_create (DEFAULT_INT or DEFAULT_REAL, or a parameter
 * beyond param_count, takes its default). The unstable periods are those in
 * force (MOVLEX_INIT, MOVLEX_SHUTDOWN).
 *
 * Threads: threads = 0 uses one per hardware thread, 1 only the calling
 * thread, n at most n. The library keeps its threads between calls.
 * movlex_batch may be called from several threads at once.
 *
 * Results, checked in this order, with nothing written on failure:
 * RC_UNKNOWN_INDICATOR for a bad number; RC_BAD_ARGUMENT for a null
 * out_begin or out_count, series, bars or threads below 0, a null inputs or
 * outputs or a null array in them, a stride below bars when series > 1, or a
 * parameter outside its range; RC_NO_MEMORY. RC_OK with *out_begin = 0 and
 * *out_count = 0 when there is nothing to compute (no series, or no more bars
 * than the indicator's lookback).
 *
 * Link with -lmovlex (the extended library).
 */
#ifndef MOVLEX_BATCH_H
#define MOVLEX_BATCH_H

#include <stdint.h>

#include "movlex_stream.h"

#ifdef __cplusplus
extern "C" {
#endif

MOVLEX_EXTENDED_API RetCode movlex_batch(int32_t number, const double *params, int32_t param_count,
                                         int32_t series, int32_t bars, const double *const *inputs,
                                         int64_t input_stride, double *const *outputs, int64_t output_stride,
                                         int32_t threads, int32_t *out_begin, int32_t *out_count);

#ifdef __cplusplus
}
#endif

#endif /* MOVLEX_BATCH_H */
