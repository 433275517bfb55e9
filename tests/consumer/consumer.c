/* Moving averages of 1, 2, ..., 10 through the installed library, from C:
 * every value is exact, so the check is for equality. */
#include <stdio.h>
#include <string.h>

#include <movlex.h>

#define BARS 10

static int check(const char *name, RetCode code, int32_t out_begin, int32_t out_count, const double *values,
                 int32_t want_begin, double want_first, double want_last) {
    int32_t k;
    printf("%s: code %d, out_begin %d, out_count %d:", name, (int)code, (int)out_begin, (int)out_count);
    for (k = 0; k < out_count; ++k) printf(" %g", values[k]);
    printf("\n");
    return code == RC_OK && out_begin == want_begin && out_count == BARS - want_begin && values[0] == want_first &&
           values[out_count - 1] == want_last;
}

int main(void) {
    double close[BARS], out[BARS];
    int32_t out_begin = 0, out_count = 0, k;
    RetCode code;
    char version[40];
    int ok = 1;

    snprintf(version, sizeof version, "%d.%d.%d", MOVLEX_VERSION_MAJOR, MOVLEX_VERSION_MINOR, MOVLEX_VERSION_PATCH);
    printf("movlex %s (header macros %s)\n", MOVLEX_VERSION_STRING, version);
    ok &= strcmp(version, MOVLEX_VERSION_STRING) == 0;

    for (k = 0; k < BARS; ++k) close[k] = k + 1;
    MOVLEX_INIT();
    /* (1 + 2 + 3) / 3 first, (8 + 9 + 10) / 3 last. */
    code = MOVLEX_SMA(0, BARS - 1, close, 3, &out_begin, &out_count, out);
    ok &= check("SMA(3)", code, out_begin, out_count, out, 2, 2.0, 9.0);
    /* (1*1 + 2*2 + 3*3 + 4*4) / 10 first, (7*1 + 8*2 + 9*3 + 10*4) / 10 last. */
    code = MOVLEX_WMA(0, BARS - 1, close, 4, &out_begin, &out_count, out);
    ok &= check("WMA(4)", code, out_begin, out_count, out, 3, 3.0, 9.0);
    MOVLEX_SHUTDOWN();

    printf("%s\n", ok ? "consumer (C): all values as expected" : "consumer (C): WRONG VALUES");
    return ok ? 0 : 1;
}
