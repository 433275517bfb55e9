// MAX and MIN carry the window extreme from bar to bar; when the bar holding
// it leaves, the extreme is taken afresh, the earliest of equal values. A new
// value equal to the extreme takes its place. A NaN never replaces the
// extreme, but one that is the oldest value of the window when the extreme is
// taken afresh is the output of that step. A long window's block arrays that
// cannot be had give RC_NO_MEMORY with out_begin and out_count 0.
#include "statistics/extremes.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

namespace {

template <class Direction>
RetCode window_extreme_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                               std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(HIGHEST_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    // Element k is written after the last read of input index k: every later
    // read lies at or above the window's oldest index, which is above k.
    return guard_allocation(out_begin, out_count, [&] {
        run_kernel(ExtremeKernel<Direction>(period), std::array{input}, start - lookback, last_index,
                   std::array{out});
        return report_output(out_begin, out_count, start, last_index);
    });
}

}  // namespace

std::int32_t max_lookback(std::int32_t period) {
    if (!resolve(HIGHEST_PARAMS, period)) return -1;
    return period - 1;
}

std::int32_t min_lookback(std::int32_t period) { return max_lookback(period); }

RetCode max_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return window_extreme_compute<Highest>(first_index, last_index, input, period, out_begin, out_count, out);
}

RetCode min_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return window_extreme_compute<Lowest>(first_index, last_index, input, period, out_begin, out_count, out);
}

MaxKernel max_kernel(const double* params, const UnstablePeriods&) { return MaxKernel(std::int32_t(params[0])); }

MinKernel min_kernel(const double* params, const UnstablePeriods&) { return MinKernel(std::int32_t(params[0])); }

}  // namespace movlex
