/*
 * A host program that loads movlex-ta-dll at run time, as any application
 * would, resolves the entries by name and calls them on fixed price data.
 *
 *   abi_host [--partial] [--values] LIBRARY > results.txt
 *
 * stdout gets one line per call: the result code, out_begin, out_count and
 * for each output array a hash of its bit pattern plus the first and last
 * value written, in hex (--values: every value). The same program built for
 * another platform must print the same lines: results are bit-identical
 * everywhere.
 *
 * On 32-bit Windows it also checks the stdcall ABI of every entry: it resolves
 * both the plain name and the decorated alias name@N, requires both to lead to
 * the same code, makes every call through both names with the stack pointer
 * deliberately off 16-byte alignment, measures how many bytes the callee
 * removed from the stack (must be N) and requires both names to give identical
 * results. A loop of ordinary calls through a stdcall function pointer must
 * leave the stack pointer where it was.
 *
 * Two lines "runtime atan" and "runtime sqrt" give a hash of the platform's
 * own functions over fixed arguments, for information: runtimes round atan
 * differently in the last bit (sqrt never), which is why the library computes
 * MAMA's arc tangent itself. Lines of results that went through that arc
 * tangent (MAMA, and every average selected as MA_MAMA) end in " atan".
 *
 * Entries the library does not export are a failure, or with --partial only
 * reported. Problems go to stderr; the exit code is 1 if there was any.
 */
#include <inttypes.h>
#include <math.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "movlex.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#if defined(_WIN32) && defined(__i386__)
#define STDCALL_ABI 1
#else
#define STDCALL_ABI 0
#endif

enum { BARS = 700, MAX_INPUTS = 4, MAX_PARAMS = 6, MAX_OUTPUTS = 3, MAX_ARGS = 16, MA_TYPES = 9 };

/* ---- The entries ------------------------------------------------------------ */

/* Shape of an indicator entry: its input arrays (o h l c v; c is also the
 * single "input" series), its parameters (i integer, m MaType, d double), its
 * output count, and each parameter's default and range. */
typedef struct {
    double default_value, lowest, highest;
} ParamRange;

typedef struct {
    const char *name;
    const char *inputs;
    const char *params;
    int outputs;
    ParamRange ranges[MAX_PARAMS];
} EntryInfo;

/* The core entries, from the library's indicator list (generated at build
 * time beside movlex_version.h). */
static const EntryInfo ENTRIES[] = {
#include "movlex_core_entry_table.inc"
};
enum { ENTRY_COUNT = sizeof ENTRIES / sizeof ENTRIES[0] };

/* The parameter values of the calls that do not use defaults: each away from
 * its default and from its neighbours', so that arguments passed in the wrong
 * place show. An integer goes to two thirds of its default, a double to
 * 0.75, 1.25, 1.75, ... times its own (each kept in its range); the k-th
 * moving-average type is type k + 1 (EMA, WMA, ...). */
static void chosen_values(const EntryInfo *entry, double *values) {
    int averages = 0, reals = 0;
    for (int p = 0; entry->params[p] != '\0'; ++p) {
        const ParamRange *range = &entry->ranges[p];
        double value;
        if (entry->params[p] == 'm')
            value = 1 + averages++;
        else if (entry->params[p] == 'd')
            value = range->default_value * (0.75 + 0.5 * reals++);
        else
            value = (double)((int32_t)range->default_value * 2 / 3);
        if (value < range->lowest) value = range->lowest;
        if (value > range->highest) value = range->highest;
        values[p] = value;
    }
}

/* Bytes of arguments: 4 per 32-bit slot, a double taking two. */
static int argument_bytes(const EntryInfo *entry) {
    int slots = 2 + (int)strlen(entry->inputs) + 2 + entry->outputs;
    for (const char *kind = entry->params; *kind != '\0'; ++kind) slots += *kind == 'd' ? 2 : 1;
    return 4 * slots;
}

static int problems = 0;

static void problem(const char *format, ...) {
    va_list args;
    va_start(args, format);
    fprintf(stderr, "error: ");
    vfprintf(stderr, format, args);
    fprintf(stderr, "\n");
    va_end(args);
    ++problems;
}

/* ---- Loading -------------------------------------------------------------- */

typedef void *Library;
typedef RetCode(MOVLEX_CALL *LifecycleEntry)(void);

static Library load_library(const char *path) {
#ifdef _WIN32
    return (Library)LoadLibraryA(path);
#else
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

static void *find_entry(Library library, const char *name) {
#ifdef _WIN32
    return (void *)GetProcAddress((HMODULE)library, name);
#else
    return dlsym(library, name);
#endif
}

/* ---- Calling -------------------------------------------------------------- */

/* One argument: a 32-bit integer or a pointer (a word) or a double. */
typedef struct {
    char kind; /* 'W' or 'D' */
    intptr_t word;
    double real;
} Arg;

#if STDCALL_ABI
/* Calls function with the given 32-bit stack slots, first slot at the lowest
 * address, the stack pointer `misalign` bytes below a 16-byte boundary before
 * the slots are pushed. Stores the number of bytes the callee removed from
 * the stack (stdcall: all of its arguments) in *bytes_removed. */
int32_t call_with_slots(const void *function, const uint32_t *slots, uint32_t count, uint32_t misalign,
                        uint32_t *bytes_removed);
__asm__(
    ".text\n"
    ".globl _call_with_slots\n"
    "_call_with_slots:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl 12(%ebp), %esi\n" /* slots */
    "    movl 16(%ebp), %ecx\n" /* count */
    "    andl $-16, %esp\n"
    "    subl 20(%ebp), %esp\n" /* misalign */
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    decl %ecx\n"
    "    pushl (%esi,%ecx,4)\n"
    "    jmp 1b\n"
    "2:  movl %esp, %ebx\n" /* the arguments in place */
    "    call *8(%ebp)\n"
    "    movl %esp, %ecx\n"
    "    subl %ebx, %ecx\n"
    "    movl 24(%ebp), %edx\n"
    "    movl %ecx, (%edx)\n"
    "    leal -12(%ebp), %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n");

static int32_t call_entry(const void *function, const Arg *args, int count, uint32_t *bytes_removed) {
    static uint32_t misalign = 0;
    uint32_t slots[2 * MAX_ARGS];
    uint32_t slot_count = 0;
    for (int i = 0; i < count; ++i) {
        if (args[i].kind == 'D') {
            memcpy(&slots[slot_count], &args[i].real, sizeof(double));
            slot_count += 2;
        } else {
            slots[slot_count++] = (uint32_t)args[i].word;
        }
    }
    misalign = (misalign + 4) % 16;
    return call_with_slots(function, slots, slot_count, misalign, bytes_removed);
}

#else

/* Calls through a function pointer of the entry's type, integers and
 * pointers passed as intptr_t words. */
typedef intptr_t W;
typedef double D;
#define SIGNATURE(pattern, ...) (strcmp(shape, pattern) == 0) return ((RetCode(MOVLEX_CALL *)(__VA_ARGS__))function)

static int32_t call_entry(const void *function, const Arg *a, int count, uint32_t *bytes_removed) {
    char shape[MAX_ARGS + 1];
    for (int i = 0; i < count; ++i) shape[i] = a[i].kind;
    shape[count] = '\0';
    *bytes_removed = 0;
#define w(i) a[i].word
#define d(i) a[i].real
    if SIGNATURE("", void)();
    if SIGNATURE("WWWWWWW", W, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), w(4), w(5), w(6));
    if SIGNATURE("WWWWWWWW", W, W, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), w(4), w(5), w(6), w(7));
    if SIGNATURE("WWWWWWWWW", W, W, W, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), w(4), w(5), w(6), w(7), w(8));
    if SIGNATURE("WWWWWWWWWW", W, W, W, W, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), w(4), w(5), w(6), w(7), w(8),
                                                             w(9));
    if SIGNATURE("WWWWWWWWWWW", W, W, W, W, W, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), w(4), w(5), w(6), w(7),
                                                                w(8), w(9), w(10));
    if SIGNATURE("WWWWWWWWWWWW", W, W, W, W, W, W, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), w(4), w(5), w(6),
                                                                   w(7), w(8), w(9), w(10), w(11));
    if SIGNATURE("WWWWWWWWWWWWWW", W, W, W, W, W, W, W, W, W, W, W, W, W, W)(
        w(0), w(1), w(2), w(3), w(4), w(5), w(6), w(7), w(8), w(9), w(10), w(11), w(12), w(13));
    if SIGNATURE("WWWWDWWW", W, W, W, W, D, W, W, W)(w(0), w(1), w(2), w(3), d(4), w(5), w(6), w(7));
    if SIGNATURE("WWWDDWWWW", W, W, W, D, D, W, W, W, W)(w(0), w(1), w(2), d(3), d(4), w(5), w(6), w(7), w(8));
    if SIGNATURE("WWWWDDWWW", W, W, W, W, D, D, W, W, W)(w(0), w(1), w(2), w(3), d(4), d(5), w(6), w(7), w(8));
    if SIGNATURE("WWWWDDWWWWWW", W, W, W, W, D, D, W, W, W, W, W, W)(w(0), w(1), w(2), w(3), d(4), d(5), w(6),
                                                                   w(7), w(8), w(9), w(10), w(11));
#undef w
#undef d
    fprintf(stderr, "abi_host: no call for argument shape %s\n", shape);
    exit(2);
}

#endif

/* ---- Price data ----------------------------------------------------------- */

/* A random walk in steps of 1/64, so that every value is exact in binary;
 * with a stretch of identical bars (zero ranges) and bars without volume. */
static double open_[BARS], high[BARS], low[BARS], close_[BARS], volume[BARS];

static void make_bars(void) {
    uint32_t state = 12345;
    int32_t price = 6400;
    for (int i = 0; i < BARS; ++i) {
        state = state * 1664525u + 1013904223u;
        const int32_t open_units = price;
        if (i < 200 || i >= 220) price += (int32_t)((state >> 8) % 129) - 64;
        if (price < 640) price = 640;
        state = state * 1664525u + 1013904223u;
        const int32_t wick = i >= 200 && i < 220 ? 0 : (int32_t)((state >> 8) % 32);
        const int32_t top = open_units > price ? open_units : price;
        const int32_t bottom = open_units < price ? open_units : price;
        open_[i] = open_units / 64.0;
        close_[i] = price / 64.0;
        high[i] = (top + wick) / 64.0;
        low[i] = (bottom - (wick + 1) / 2) / 64.0;
        volume[i] = i % 97 == 13 ? 0.0 : (double)(1000 + (state >> 8) % 9000);
    }
}

static const double *input_array(char name) {
    switch (name) {
    case 'o': return open_;
    case 'h': return high;
    case 'l': return low;
    case 'v': return volume;
    default: return close_;
    }
}

/* ---- One request ---------------------------------------------------------- */

typedef struct {
    int32_t first_index, last_index;
    double params[MAX_PARAMS];
} Request;

typedef struct {
    int32_t code, begin, count;
    double outputs[MAX_OUTPUTS][BARS];
} Result;

/* Makes the call; the output arrays are filled with a marker first, so that
 * anything written beyond out_count shows too. */
static void run(const EntryInfo *entry, const void *function, const Request *request, Result *result,
                uint32_t *bytes_removed) {
    Arg args[MAX_ARGS];
    int count = 0;
    const uint64_t marker_bits = UINT64_C(0x7ff4dead0000beef);
    for (int k = 0; k < MAX_OUTPUTS; ++k)
        for (int i = 0; i < BARS; ++i) memcpy(&result->outputs[k][i], &marker_bits, sizeof(double));
    result->begin = -7;
    result->count = -7;
    args[count++] = (Arg){'W', request->first_index, 0};
    args[count++] = (Arg){'W', request->last_index, 0};
    for (const char *input = entry->inputs; *input != '\0'; ++input)
        args[count++] = (Arg){'W', (intptr_t)input_array(*input), 0};
    for (int p = 0; entry->params[p] != '\0'; ++p)
        args[count++] = entry->params[p] == 'd' ? (Arg){'D', 0, request->params[p]}
                                                : (Arg){'W', (int32_t)request->params[p], 0};
    args[count++] = (Arg){'W', (intptr_t)&result->begin, 0};
    args[count++] = (Arg){'W', (intptr_t)&result->count, 0};
    for (int k = 0; k < entry->outputs; ++k) args[count++] = (Arg){'W', (intptr_t)result->outputs[k], 0};
    result->code = call_entry(function, args, count, bytes_removed);
}

static uint64_t bits_of(double value) {
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    return bits;
}

static uint64_t hash_bits(const double *values, int count) {
    uint64_t hash = UINT64_C(0xcbf29ce484222325);
    for (int i = 0; i < count; ++i) {
        const uint64_t bits = bits_of(values[i]);
        for (int byte = 0; byte < 8; ++byte) {
            hash ^= (bits >> (8 * byte)) & 0xff;
            hash *= UINT64_C(0x100000001b3);
        }
    }
    return hash;
}

static int print_values = 0;

static void print_result(const EntryInfo *entry, const char *state, const char *label, const Result *result,
                         int uses_atan) {
    printf("%s %s %s rc=%" PRId32 " begin=%" PRId32 " count=%" PRId32, entry->name, state, label, result->code,
           result->begin, result->count);
    const int written = result->count > 0 && result->count <= BARS ? result->count : 0;
    for (int k = 0; k < entry->outputs; ++k) {
        printf(" out%d=%016" PRIx64, k, hash_bits(result->outputs[k], BARS));
        if (written > 0)
            printf(":%016" PRIx64 "..%016" PRIx64, bits_of(result->outputs[k][0]),
                   bits_of(result->outputs[k][written - 1]));
    }
    printf(uses_atan ? " atan\n" : "\n");
    if (print_values)
        for (int k = 0; k < entry->outputs; ++k)
            for (int i = 0; i < written; ++i)
                printf("  %s %s %s out%d[%d] %016" PRIx64 "\n", entry->name, state, label, k, i,
                       bits_of(result->outputs[k][i]));
}

static int same_result(const EntryInfo *entry, const Result *a, const Result *b) {
    if (a->code != b->code || a->begin != b->begin || a->count != b->count) return 0;
    for (int k = 0; k < entry->outputs; ++k)
        if (memcmp(a->outputs[k], b->outputs[k], sizeof a->outputs[k]) != 0) return 0;
    return 1;
}

/* ---- Per entry ------------------------------------------------------------ */

typedef struct {
    const EntryInfo *info;
    const void *plain;     /* by plain name */
    const void *decorated; /* by name@N (32-bit Windows), else the plain one */
} Resolved;

static Result first_result, second_result;

/* Calls through both names (where they differ in spelling), checks the ABI
 * and prints the result. */
static void call_and_print(const Resolved *entry, const char *state, const char *label, const Request *request) {
    uint32_t plain_removed = 0, decorated_removed = 0;
    run(entry->info, entry->plain, request, &first_result, &plain_removed);
    if (STDCALL_ABI) {
        run(entry->info, entry->decorated, request, &second_result, &decorated_removed);
        const uint32_t expected = (uint32_t)argument_bytes(entry->info);
        if (plain_removed != expected || decorated_removed != expected)
            problem("%s %s: the callee removed %u and %u bytes of arguments, expected %u", entry->info->name, label,
                    (unsigned)plain_removed, (unsigned)decorated_removed, (unsigned)expected);
        if (!same_result(entry->info, &first_result, &second_result))
            problem("%s %s: plain and decorated names gave different results", entry->info->name, label);
    }
    int uses_atan = strcmp(entry->info->name, "MOVLEX_MAMA") == 0;
    for (int p = 0; entry->info->params[p] != '\0'; ++p)
        if (entry->info->params[p] == 'm' && request->params[p] == MA_MAMA) uses_atan = 1;
    print_result(entry->info, state, label, &first_result, uses_atan);
}

static void default_params(const EntryInfo *entry, double *params) {
    for (int p = 0; entry->params[p] != '\0'; ++p) params[p] = entry->params[p] == 'd' ? DEFAULT_REAL : DEFAULT_INT;
}

static void exercise(const Resolved *entry, const char *state) {
    const EntryInfo *info = entry->info;
    Request request = {0, BARS - 1, {0}};
    char label[64];

    double values[MAX_PARAMS] = {0};
    chosen_values(info, values);

    default_params(info, request.params);
    call_and_print(entry, state, "defaults", &request);

    memcpy(request.params, values, sizeof request.params);
    call_and_print(entry, state, "values", &request);

    for (int p = 0; info->params[p] != '\0'; ++p) {
        if (info->params[p] != 'm') continue;
        for (int type = 0; type < MA_TYPES; ++type) {
            memcpy(request.params, values, sizeof request.params);
            request.params[p] = type;
            snprintf(label, sizeof label, "param%d=%d", p, type);
            call_and_print(entry, state, label, &request);
        }
    }

    memcpy(request.params, values, sizeof request.params);
    request.first_index = 250;
    request.last_index = BARS - 40;
    call_and_print(entry, state, "range", &request);

    request.first_index = 10;
    request.last_index = 9;
    call_and_print(entry, state, "rejected", &request);
}

/* Repeated ordinary calls through a stdcall function pointer, as a C
 * compiler makes them: if the callee did not remove its arguments (or removed
 * a different amount) the stack pointer would drift by that much per call. */
static void stdcall_loop(const Resolved *entry, const void *function, const char *label) {
#if STDCALL_ABI
    typedef RetCode(MOVLEX_CALL * SingleInputEntry)(int32_t, int32_t, const double *, int32_t, int32_t *, int32_t *,
                                                    double *);
    const SingleInputEntry call = (SingleInputEntry)function;
    enum { CALLS = 20000 };
    uintptr_t stack_before, stack_after;
    int failed = 0;
    __asm__ volatile("movl %%esp, %0" : "=r"(stack_before)::"memory");
    for (int i = 0; i < CALLS; ++i) {
        second_result.begin = second_result.count = -7;
        failed |= call(0, 99, close_, 9, &second_result.begin, &second_result.count, second_result.outputs[0]) != RC_OK;
    }
    __asm__ volatile("movl %%esp, %0" : "=r"(stack_after)::"memory");
    Request request = {0, 99, {9}};
    uint32_t removed;
    run(entry->info, function, &request, &first_result, &removed);
    if (failed || stack_before != stack_after || second_result.count != first_result.count ||
        memcmp(second_result.outputs[0], first_result.outputs[0], sizeof(double) * (size_t)first_result.count) != 0)
        problem("%s %s: repeated stdcall calls failed or moved the stack pointer", entry->info->name, label);
    else
        fprintf(stderr, "%s: %d calls through a stdcall pointer by %s, stack pointer balanced\n", entry->info->name,
                CALLS, label);
#else
    (void)entry;
    (void)function;
    (void)label;
#endif
}

/* Hashes of the runtime's atan and sqrt over fixed arguments. */
static void print_runtime_functions(void) {
    enum { ARGUMENTS = 100000 };
    static double atan_values[ARGUMENTS], sqrt_values[ARGUMENTS];
    uint32_t state = 777;
    for (int i = 0; i < ARGUMENTS; ++i) {
        state = state * 1664525u + 1013904223u;
        const double argument = ((int32_t)(state >> 4) - (1 << 27)) / 4194304.0; /* exact, -32..32 */
        atan_values[i] = atan(argument);
        sqrt_values[i] = sqrt(fabs(argument));
    }
    printf("runtime atan %016" PRIx64 "\n", hash_bits(atan_values, ARGUMENTS));
    printf("runtime sqrt %016" PRIx64 "\n", hash_bits(sqrt_values, ARGUMENTS));
}

static const void *resolve(Library library, const char *name, int bytes, const void **decorated) {
    const void *plain = find_entry(library, name);
    *decorated = plain;
    if (STDCALL_ABI && plain != NULL) {
        char alias[64];
        snprintf(alias, sizeof alias, "%s@%d", name, bytes);
        *decorated = find_entry(library, alias);
        if (*decorated == NULL)
            problem("%s has no decorated alias %s", name, alias);
        else if (*decorated != plain)
            problem("%s and %s lead to different code", name, alias);
    }
    return plain;
}

/* MOVLEX_INIT or MOVLEX_SHUTDOWN, called once by each name (on other
 * platforms twice by the plain name); prints both codes. */
static void lifecycle(Library library, const char *name) {
    const void *decorated;
    const void *plain = resolve(library, name, 0, &decorated);
    if (plain == NULL || decorated == NULL) {
        problem("%s is not exported", name);
        return;
    }
    const RetCode code = ((LifecycleEntry)plain)();
    uint32_t removed = 0;
    const RetCode again = call_entry(decorated, NULL, 0, &removed);
    if (removed != 0) problem("%s removed %u bytes from the stack", name, (unsigned)removed);
    printf("%s rc=%" PRId32 " again rc=%" PRId32 "\n", name, code, again);
}

int main(int argc, char **argv) {
    int partial = 0;
    const char *path = NULL;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--partial") == 0)
            partial = 1;
        else if (strcmp(argv[i], "--values") == 0)
            print_values = 1;
        else
            path = argv[i];
    }
    if (path == NULL) {
        fprintf(stderr, "usage: abi_host [--partial] [--values] LIBRARY\n");
        return 2;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); /* the same bytes as on other platforms */
#endif
    Library library = load_library(path);
    if (library == NULL) {
        fprintf(stderr, "abi_host: cannot load %s\n", path);
        return 1;
    }
    make_bars();
    print_runtime_functions();

    Resolved resolved[ENTRY_COUNT];
    int present = 0, absent = 0;
    for (int i = 0; i < ENTRY_COUNT; ++i) {
        resolved[i].info = &ENTRIES[i];
        resolved[i].plain = resolve(library, ENTRIES[i].name, argument_bytes(&ENTRIES[i]), &resolved[i].decorated);
        if (resolved[i].plain == NULL) {
            if (!partial) problem("%s is not exported", ENTRIES[i].name);
            ++absent;
        } else if (resolved[i].decorated != NULL) {
            ++present;
        }
    }

    /* Loaded (unstable periods 0), then initialised (150), then shut down. */
    lifecycle(library, "MOVLEX_SHUTDOWN");
    for (int i = 0; i < ENTRY_COUNT; ++i)
        if (resolved[i].plain != NULL && resolved[i].decorated != NULL) exercise(&resolved[i], "loaded");
    lifecycle(library, "MOVLEX_INIT");
    for (int i = 0; i < ENTRY_COUNT; ++i)
        if (resolved[i].plain != NULL && resolved[i].decorated != NULL) exercise(&resolved[i], "initialised");
    lifecycle(library, "MOVLEX_SHUTDOWN");

    for (int i = 0; i < ENTRY_COUNT; ++i) {
        if (resolved[i].plain == NULL || resolved[i].decorated == NULL) continue;
        if (strcmp(ENTRIES[i].name, "MOVLEX_SMA") == 0) stdcall_loop(&resolved[i], resolved[i].plain, "plain name");
        if (strcmp(ENTRIES[i].name, "MOVLEX_WMA") == 0) stdcall_loop(&resolved[i], resolved[i].decorated, "alias");
    }

    fprintf(stderr, "abi_host: %d of %d indicator entries called%s, %d not exported%s, %d problems\n", present,
            ENTRY_COUNT, STDCALL_ABI ? " through both names" : "", absent, partial ? " (accepted)" : "", problems);
    return problems == 0 ? 0 : 1;
}
