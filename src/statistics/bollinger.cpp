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
RetCode run_bands(const Average& average, bool simple_average, std::int32_t period, double deviations_up,
                  double deviations_down, const EntryRequest<1, 3>& request) {
    const Index average_lookback = simple_average ? period - 1 : average.lookback();
    const Index lookback = std::max<Index>(average_lookback, period - 1);
    const Index start = std::max<Index>(request.first_index, lookback);
    // The average starts from the later of first_index and its own lookback.
    const Index seed = start - lookback;
    const Index average_delay = std::max<Index>(request.first_index, average_lookback) - average_lookback - seed;
    return run_request(BandsKernel(average, simple_average, period, deviations_up, deviations_down,
                                   simple_average ? 0 : average_delay),
                       request);
}

}  // namespace

RetCode bbands_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 3>& request) {
    const auto& [input] = request.inputs;
    const auto& [out_upper, out_middle, out_lower] = request.outs;
    if (input_passed_twice(input, out_upper, out_middle, out_lower)) return RC_BAD_ARGUMENT;
    const auto period = std::int32_t(params[0]);
    const double deviations_up = params[1], deviations_down = params[2];
    const auto ma_type = std::int32_t(params[3]);
    // The simple average is the variance's own mean: no stage of its own.
    if (ma_type == MA_SMA)
        return run_bands(AverageStage(CopyKernel{}, Feed::bars), true, period, deviations_up, deviations_down,
                         request);
    return with_average_kind(period, ma_type, [&](auto kind) {
        return run_bands(average_stage(kind, period, unstable, Feed::bars), false, period, deviations_up,
                         deviations_down, request);
    });
}

BandsKernel<AnyMaKernel> bbands_kernel(const double* params, const UnstablePeriods& unstable) {
    const auto period = std::int32_t(params[0]);
    const auto ma_type = std::int32_t(params[3]);
    return BandsKernel(AnyMaKernel(ma_type == MA_SMA ? 1 : period, ma_type, unstable, Feed::bars), ma_type == MA_SMA, period,
                       params[1], params[2], 0);
}

}  // namespace movlex
