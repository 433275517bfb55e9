/* movlex built inside another project, from C: a simple average of 1..5. */
#include <stdio.h>

#include "movlex.h"

int main(void) {
    const double close[5] = {1, 2, 3, 4, 5};
    double out[5];
    int32_t begin = 0, count = 0;
    RetCode code = MOVLEX_SMA(0, 4, close, 3, &begin, &count, out);
    printf("embedded movlex from C: code %d, %d values from bar %d\n", (int)code, (int)count, (int)begin);
    return code == RC_OK && begin == 2 && count == 3 && out[0] == 2.0 && out[2] == 4.0 ? 0 : 1;
}
