// The bands allocate nothing: the average, the deviation and the bands are
// made in one pass over the input.
#include "statistics/bollinger.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

namespace {

// An output array may be the input array, but only one of them.
bool input_passed_twice(const double* input, const double* out_upper, const double* out_middle,
                        const double* out_lower) {
    return (input == out_upper) + (input == out_middle) + (input == out_lower) > 1;
}

template <class Average>
RetCode run_bands(const Average& average, bool simple_average, std::int32_t first_index, std::int32_t last_index,
                  const double* input, std::int32_t period, double deviations_up, double deviations_down,
                  std::int32_t* out_begin, std::int32_t* out_count, double* out_upper, double* out_middle,
                  double* out_lower) {
    const Index average_lookback = simple_average ? period - 1 : average.lookback();
    const Index lookback = std::max<Index>(average_lookback, period - 1);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    // The average starts from the later of first_index and its own lookback.
    const Index seed = start - lookback;
    const Index average_delay = std::max<Index>(first_index, average_lookback) - average_lookback - seed;
    const BandsKernel kernel(average, simple_average, period, deviations_up, deviations_down,
                             simple_average ? 0 : average_delay);
    run_kernel(kernel, std::array{input}, seed, last_index, std::array{out_upper, out_middle, out_lower});
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t bbands_lookback(std::int32_t period, double deviations_up, double deviations_down,
                             std::int32_t ma_type) {
    if (!resolve(BBANDS_PARAMS, period, deviations_up, deviations_down, ma_type)) return -1;
    return std::max(ma_lookback(period, ma_type), period - 1);
}

RetCode bbands_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                       double deviations_up, double deviations_down, std::int32_t ma_type, std::int32_t* out_begin,
                       std::int32_t* out_count, double* out_upper, double* out_middle, double* out_lower) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(BBANDS_PARAMS, period, deviations_up, deviations_down, ma_type)
                           .outputs(out_upper, out_middle, out_lower)
                           .result();
    if (rc != RC_OK) return rc;
    if (input_passed_twice(input, out_upper, out_middle, out_lower)) return RC_BAD_ARGUMENT;

    const UnstablePeriods unstable = current_unstable_periods();
    // The simple average is the variance's own mean: no stage of its own.
    if (ma_type == MA_SMA)
        return run_bands(AverageStage(CopyKernel{}, Feed::bars), true, first_index, last_index, input, period,
                         deviations_up, deviations_down, out_begin, out_count, out_upper, out_middle, out_lower);
    return with_average_kind(period, ma_type, [&](auto kind) {
        return run_bands(average_stage(kind, period, unstable, Feed::bars), false, first_index, last_index, input,
                         period, deviations_up, deviations_down, out_begin, out_count, out_upper, out_middle,
                         out_lower);
    });
}

BandsKernel<AnyMaKernel> bbands_kernel(const double* params, const UnstablePeriods& unstable) {
    const auto period = std::int32_t(params[0]);
    const auto ma_type = std::int32_t(params[3]);
    return BandsKernel(AnyMaKernel(ma_type == MA_SMA ? 1 : period, ma_type, unstable, Feed::bars), ma_type == MA_SMA, period,
                       params[1], params[2], 0);
}

}  // namespace movlex
