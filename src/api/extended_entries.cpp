// The entries of the extended set (movlex_extended.h), exported by the
// extended library: each checks its request as the core entries do and runs
// its indicator's kernel.
#include "api/extended_entry.hpp"
#include "averages/hull.hpp"
#include "movlex_extended.h"

using namespace movlex;

#define EXTENDED_ENTRY extern "C" MOVLEX_EXTENDED_API RetCode MOVLEX_CALL

EXTENDED_ENTRY movlex_hma(int32_t first_index, int32_t last_index, const double* input, int32_t period,
                          int32_t* out_begin, int32_t* out_count, double* out) {
    const RetCode rc =
        Validation(first_index, last_index).inputs(input).params(HMA_PARAMS, period).outputs(out).result();
    if (rc != RC_OK) return rc;
    const double params[] = {double(period)};
    return run_extended_entry<&hma_kernel>(first_index, last_index, std::array{input}, params, out_begin, out_count,
                                           std::array{out});
}
