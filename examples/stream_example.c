/* An RSI computed bar by bar, as a trading host would as each bar arrives. */
#include <stdio.h>

#include "movlex.h"
#include "movlex_stream.h"

int main(void) {
    const double closes[] = {44.34, 44.09, 44.15, 43.61, 44.33, 44.83, 45.10, 45.42,
                             45.84, 46.08, 45.89, 46.03, 45.61, 46.28, 46.28, 46.00};
    const double period = 14;
    MovlexStream *rsi = NULL;
    size_t i;

    MOVLEX_INIT(); /* the unstable periods in force when a stream is made stay with it */
    MOVLEX_SHUTDOWN();
    if (movlex_stream_create(movlex_indicator_find("rsi"), &period, 1, &rsi) != RC_OK) return 1;
    for (i = 0; i < sizeof closes / sizeof closes[0]; ++i) {
        double value;
        int32_t has_value;
        if (movlex_stream_update(rsi, &closes[i], &value, &has_value) != RC_OK) return 1;
        if (has_value)
            printf("bar %2d  close %.2f  rsi %.4f\n", (int)i, closes[i], value);
        else
            printf("bar %2d  close %.2f  (no value yet)\n", (int)i, closes[i]);
    }
    movlex_stream_destroy(rsi);
    return 0;
}
