// The averages are seeded with plain means over the first period changes,
// which end U bars before the first output, and are then carried forward one
// bar at a time; the window is never summed again.
#include "oscillators/rsi.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"
#include "frame/wilder.hpp"

namespace movlex {

namespace {

using Formula = double (*)(double average_gain, double average_loss);

// Both formulas output 0 when the two averages together vanish.
bool negligible(double total) { return -1e-8 < total && total < 1e-8; }

double relative_strength(double average_gain, double average_loss) {
    const double total = average_loss + average_gain;
    if (negligible(total)) return 0.0;
    return (average_gain / total) * 100.0;
}

double chande_momentum(double average_gain, double average_loss) {
    const double total = average_loss + average_gain;
    if (negligible(total)) return 0.0;
    return ((average_gain - average_loss) / total) * 100.0;
}

// A change is a loss when negative, otherwise a gain (a zero change is a gain
// of 0).
struct Change {
    double gain;
    double loss;
};

Change split_change(double previous, double current) {
    const double change = current - previous;
    if (change < 0) return {0.0, -change};
    return {change, 0.0};
}

std::int32_t oscillator_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(RSI_PARAMS, period)) return -1;
    return period + unstable_period(slot);
}

RetCode gain_loss_oscillator(std::int32_t first_index, std::int32_t last_index, const double* input,
                             std::int32_t period, UnstableSlot slot, Formula formula, std::int32_t* out_begin,
                             std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(RSI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);

    const Index unstable = unstable_period(slot);
    const Index lookback = Index{period} + unstable;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return RC_OK;

    // Seed over the period changes ending at start - unstable.
    const Index seed_end = start - unstable;
    double previous = input[start - lookback];
    double gain_sum = 0.0, loss_sum = 0.0;
    for (Index i = start - lookback + 1; i <= seed_end; ++i) {
        const Change change = split_change(previous, input[i]);
        gain_sum += change.gain;
        loss_sum += change.loss;
        previous = input[i];
    }
    const double divisor = static_cast<double>(period);
    double average_gain = gain_sum / divisor;
    double average_loss = loss_sum / divisor;

    Index k = 0;
    Index i = seed_end + 1;
    auto step = [&](double value) {
        const Change change = split_change(previous, value);
        average_gain = wilder_average_step(average_gain, divisor, change.gain);
        average_loss = wilder_average_step(average_loss, divisor, change.loss);
        previous = value;
    };
    for (; i < start; ++i) step(input[i]);
    if (unstable == 0) out[k++] = formula(average_gain, average_loss);  // the seed belongs to start
    for (; i <= last_index; ++i) {
        step(input[i]);
        out[k++] = formula(average_gain, average_loss);
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t rsi_lookback(std::int32_t period) { return oscillator_lookback(period, UNSTABLE_RSI); }
std::int32_t cmo_lookback(std::int32_t period) { return oscillator_lookback(period, UNSTABLE_CMO); }

RetCode rsi_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return gain_loss_oscillator(first_index, last_index, input, period, UNSTABLE_RSI, relative_strength, out_begin,
                                out_count, out);
}

RetCode cmo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return gain_loss_oscillator(first_index, last_index, input, period, UNSTABLE_CMO, chande_momentum, out_begin,
                                out_count, out);
}

}  // namespace movlex
