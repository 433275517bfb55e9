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

/* The entries, one for each extended indicator, with the defaults and
 * ranges of their parameters: generated from the library's indicator list
 * and installed beside this header. */
#include "movlex_extended_entries.h"

#endif /* MOVLEX_EXTENDED_H */
