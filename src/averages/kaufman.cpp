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

namespace {

constexpr double SLOWEST = 0.06451612903225806;          // 2 / 31
constexpr double FAST_MINUS_SLOW = 0.6021505376344085;  // 2 / 3 - 2 / 31
constexpr double RATIO_GUARD = 1e-8;

class AdaptiveAverage {
public:
    explicit AdaptiveAverage(double seed) : value_(seed) {}

    // One step with the newest value and the value `period` bars before it;
    // change_sum is the sum of the one-bar changes between them.
    double step(double newest, double window_start, double change_sum) {
        const double net_change = newest - window_start;
        const bool fastest = change_sum <= net_change || (-RATIO_GUARD < change_sum && change_sum < RATIO_GUARD);
        const double ratio = fastest ? 1.0 : std::fabs(net_change / change_sum);
        const double constant = ratio * FAST_MINUS_SLOW + SLOWEST;
        value_ = value_ + (newest - value_) * (constant * constant);
        return value_;
    }

private:
    double value_;
};

}  // namespace

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

    const Index lookback = Index(period) + unstable_period(UNSTABLE_KAMA);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return RC_OK;

    Index today = start - lookback;
    Index trailing = today;
    double change_sum = 0.0;
    for (std::int32_t n = 0; n < period; ++n, ++today) change_sum += std::fabs(input[today] - input[today + 1]);

    AdaptiveAverage kama(input[today - 1]);
    // The value leaving the window is held, not read again: when out is
    // input, its element may already have been overwritten.
    double window_start = input[trailing++];
    double value = kama.step(input[today], window_start, change_sum);
    ++today;

    auto next_step = [&]() {
        const double newest = input[today];
        const double next_window_start = input[trailing++];
        change_sum = (change_sum - std::fabs(window_start - next_window_start)) +
                     std::fabs(newest - input[today - 1]);
        window_start = next_window_start;
        ++today;
        return kama.step(newest, window_start, change_sum);
    };

    while (today <= start) value = next_step();  // the unstable stretch
    out[0] = value;
    Index k = 1;
    while (today <= last_index) out[k++] = next_step();
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
