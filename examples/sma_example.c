/* A 3-bar simple moving average over eight closes, called from C. */
#include <stdio.h>

#include "movlex.h"

int main(void) {
    const double close[] = {10.0, 11.0, 12.0, 13.0, 12.5, 12.0, 13.5, 14.0};
    const int32_t last_index = (int32_t)(sizeof close / sizeof close[0]) - 1;
    double sma[8];
    int32_t out_begin = 0, out_count = 0, k;
    RetCode code;

    MOVLEX_INIT();
    code = MOVLEX_SMA(0, last_index, close, 3, &out_begin, &out_count, sma);
    if (code != RC_OK) {
        fprintf(stderr, "MOVLEX_SMA failed with code %d\n", (int)code);
        return 1;
    }
    /* sma[k] belongs to close[out_begin + k]; the first two closes only feed the first average. */
    for (k = 0; k < out_count; ++k) printf("close[%d] = %5.2f  sma = %.4f\n", (int)(out_begin + k), close[out_begin + k], sma[k]);

    /* DEFAULT_INT selects the default period (30): far more than eight bars, so nothing is written. */
    code = MOVLEX_SMA(0, last_index, close, DEFAULT_INT, &out_begin, &out_count, sma);
    printf("default period: code %d, %d values\n", (int)code, (int)out_count);

    MOVLEX_SHUTDOWN();
    return code == RC_OK && out_count == 0 ? 0 : 1;
}
