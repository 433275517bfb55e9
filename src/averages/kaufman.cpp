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

KamaKernel kama_kernel(const double* params, const UnstablePeriods& unstable) {
    return KamaKernel(std::int32_t(params[0]), unstable[UNSTABLE_KAMA]);
}

}  // namespace movlex
