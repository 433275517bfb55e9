/*
 * movlex streams: every indicator updated one bar at a time.
 *
 * A stream is created for one indicator with one set of parameters, is fed
 * one bar of the indicator's inputs at a time, and after each bar gives that
 * bar's outputs. After bars 0 .. t its outputs are, bit for bit, the outputs at
 * index t of the indicator's batch entry called over 0 .. t with the same
 * parameters. Before the first bar the batch entry would output, a stream has
 * no value yet and says so; it never makes a number up.
 *
 * Streams live in the extended library (libmovlex), beside the core library
 * movlex-ta-dll, which it uses. Link with -lmovlex.
 *
 * Library state. A stream takes the unstable periods in force when it is
 * created (MOVLEX_INIT sets them, MOVLEX_SHUTDOWN clears them) and keeps them
 * for its whole life, whatever MOVLEX_INIT or MOVLEX_SHUTDOWN do later; a
 * saved state carries them too.
 *
 * Cost. Each update does constant work and each stream holds memory in
 * proportion to its periods, whatever the number of bars fed, except CCI,
 * whose mean deviation needs its whole window at every bar (work in proportion
 * to its period).
 *
 * Threads. A stream is used by one thread at a time; different streams may be
 * used on different threads at once. Creating, copying, restoring and
 * destroying streams are safe from any thread.
 *
 * Ownership. movlex_stream_create, movlex_stream_copy and
 * movlex_stream_from_state give the caller a stream that the caller releases
 * with movlex_stream_destroy. Every other function borrows its arguments.
 *
 * Results. Every function but movlex_stream_destroy returns a RetCode: RC_OK,
 * or one of the core codes (RC_BAD_ARGUMENT for a null pointer, a parameter
 * outside its range or a bad count; RC_NO_MEMORY), or one of the codes below.
 * On failure no out-parameter is written and the stream is left as it was.
 */
#ifndef MOVLEX_STREAM_H
#define MOVLEX_STREAM_H

#include <stddef.h>
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

/* Result codes of the extended library, beside those of movlex.h. */
enum {
    RC_UNKNOWN_INDICATOR = 20, /* no indicator of that name or number */
    RC_STATE_CORRUPT = 21,     /* a state buffer that is truncated, altered or malformed */
    RC_STATE_VERSION = 22,     /* a state buffer of a format version this library does not read */
    RC_STATE_MISMATCH = 23,    /* a state buffer of another indicator or other parameters */
    RC_BUFFER_TOO_SMALL = 24   /* the buffer cannot hold the state; the size needed is reported */
};

/* No indicator has more outputs (or inputs) than these. */
#define MOVLEX_MAX_OUTPUTS 9
#define MOVLEX_MAX_INPUTS 4

/* The version of the state format movlex_stream_save writes. */
#define MOVLEX_STREAM_STATE_VERSION 1

typedef struct MovlexStream MovlexStream;
typedef struct MovlexStreamSet MovlexStreamSet;

/* ---- The indicators ----------------------------------------------------
 * Indicators are numbered 0 .. movlex_indicator_count() - 1 in the order of
 * the indicator table (`movlex --list`). */

MOVLEX_EXTENDED_API int32_t movlex_indicator_count(void);
/* Number of the indicator named `name` (lower case, "rsi"), or -1. */
MOVLEX_EXTENDED_API int32_t movlex_indicator_find(const char *name);
/* Name of indicator `number` ("rsi"), or NULL. The string is static. */
MOVLEX_EXTENDED_API const char *movlex_indicator_name(int32_t number);
/* How many inputs, parameters and outputs indicator `number` has; -1 for an
 * unknown number. */
MOVLEX_EXTENDED_API int32_t movlex_indicator_input_count(int32_t number);
MOVLEX_EXTENDED_API int32_t movlex_indicator_param_count(int32_t number);
MOVLEX_EXTENDED_API int32_t movlex_indicator_output_count(int32_t number);

/* ---- Streams ------------------------------------------------------------ */

/* Creates a stream of indicator `number` (see movlex_indicator_find).
 * params: param_count values in the order of the indicator's parameters
 * (integer and moving-average-type parameters as whole numbers); a value of
 * DEFAULT_INT or DEFAULT_REAL, or a parameter beyond param_count, takes its
 * default. Parameters are checked exactly as the batch entry checks them: a
 * bad one gives RC_BAD_ARGUMENT and no stream. params may be NULL when
 * param_count is 0. */
MOVLEX_EXTENDED_API RetCode movlex_stream_create(int32_t number, const double *params, int32_t param_count,
                                                 MovlexStream **stream);

/* Feeds one bar: inputs holds one value per input of the indicator, in the
 * order of its inputs (for example high, low, close). On RC_OK *has_value is 1
 * and outputs (room for one value per output) holds this bar's outputs, or
 * *has_value is 0 and outputs is left as it was: no value yet. Any double is
 * accepted, NaN and infinities included, as by the batch entries. */
MOVLEX_EXTENDED_API RetCode movlex_stream_update(MovlexStream *stream, const double *inputs, double *outputs,
                                                 int32_t *has_value);

/* Number of bars fed so far, and the indicator's number. */
MOVLEX_EXTENDED_API RetCode movlex_stream_bars(const MovlexStream *stream, int64_t *bars);
MOVLEX_EXTENDED_API RetCode movlex_stream_indicator(const MovlexStream *stream, int32_t *number);

/* A new stream in the same state: both go on independently. */
MOVLEX_EXTENDED_API RetCode movlex_stream_copy(const MovlexStream *stream, MovlexStream **copy);

/* Writes the stream's state to buffer (capacity bytes) and its length to
 * *size. When capacity is too small (buffer may then be NULL), *size is set to
 * the length needed and RC_BUFFER_TOO_SMALL returned. The format is described
 * in docs/streams.md: little-endian on every machine, versioned, checksummed. */
MOVLEX_EXTENDED_API RetCode movlex_stream_save(const MovlexStream *stream, void *buffer, size_t capacity,
                                               size_t *size);

/* A new stream from a saved state: it goes on where the saved one was. */
MOVLEX_EXTENDED_API RetCode movlex_stream_from_state(const void *buffer, size_t size, MovlexStream **stream);

/* Replaces the state of an existing stream by a saved one of the same
 * indicator and parameters (RC_STATE_MISMATCH otherwise). */
MOVLEX_EXTENDED_API RetCode movlex_stream_restore(MovlexStream *stream, const void *buffer, size_t size);

/* Releases a stream; NULL is accepted. */
MOVLEX_EXTENDED_API void movlex_stream_destroy(MovlexStream *stream);

/* ---- Stream sets ---------------------------------------------------------
 * One indicator with one set of parameters over `symbols` symbols, fed one bar
 * of every symbol per call: for hosts that receive a whole universe at each
 * bar. Each symbol's outputs are, bit for bit, those of its own stream (and so
 * of the batch entry). Kernels written over SIMD lanes (those movlex_batch
 * runs in lanes) step several symbols per instruction, and the symbols'
 * recursive chains overlap. A set is used by one thread at a time. */

/* Creates a set of `symbols` streams (0 or more) of indicator `number`, with
 * parameters as for movlex_stream_create. */
MOVLEX_EXTENDED_API RetCode movlex_stream_set_create(int32_t number, const double *params, int32_t param_count,
                                                     int32_t symbols, MovlexStreamSet **set);

/* Feeds one bar of every symbol: inputs holds one array per input of the
 * indicator (in the order of its inputs), each of `symbols` values, symbol s
 * at index s; outputs one array per output, each with room for `symbols`
 * values. On RC_OK *has_value is 1 and outputs[k][s] holds output k of symbol
 * s at this bar, or *has_value is 0 and outputs are left as they were (every
 * symbol has been fed as many bars, so all have values from the same bar on).
 * An output array may be an input array. */
MOVLEX_EXTENDED_API RetCode movlex_stream_set_update(MovlexStreamSet *set, const double *const *inputs,
                                                     double *const *outputs, int32_t *has_value);

/* Number of symbols, and of bars fed so far. */
MOVLEX_EXTENDED_API RetCode movlex_stream_set_symbols(const MovlexStreamSet *set, int32_t *symbols);
MOVLEX_EXTENDED_API RetCode movlex_stream_set_bars(const MovlexStreamSet *set, int64_t *bars);

/* Releases a set; NULL is accepted. */
MOVLEX_EXTENDED_API void movlex_stream_set_destroy(MovlexStreamSet *set);

#ifdef __cplusplus
}
#endif

#endif /* MOVLEX_STREAM_H */
