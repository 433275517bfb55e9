// KAMA follows the price with a smoothing constant that adapts to the
// efficiency ratio of the last `period` bars: net change over the window
// divided by the sum of the absolute one-bar changes in it. The constant runs
// from that of a 30-bar exponential average (ratio 0) to that of a 2-bar one
// (ratio 1) and is squared before use. The window sum is built once and then
// only adjusted, one change leaving and one entering per bar; its rounding
// drift is part of the results.
#include "averages/kaufman.hpp"

#include <algorithm>
#include <cmath>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

std::int32_t kama_lookback(std::int32_t period) {
    if (!resolve(KAMA_PARAMS, period)) return -1;
    return period + unstable_period(UNSTABLE_KAMA);
}

RetCode kama_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(KAMA_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);  // reported as empty until the outputs are written

    const KamaKernel kernel(period, unstable_period(UNSTABLE_KAMA));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return RC_OK;
    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

KamaKernel kama_kernel(const double* params, const UnstablePeriods& unstable) {
    return KamaKernel(std::int32_t(params[0]), unstable[UNSTABLE_KAMA]);
}

}  // namespace movlex
