// DEMA and TEMA chain the core over their own intermediate series; each stage
// is seeded and warmed up afresh, so the lookback grows by the EMA's lookback
// per stage.
#include "averages/exponential.hpp"

#include <algorithm>
#include <optional>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"
#include "frame/scratch.hpp"

namespace movlex {

namespace {

RetCode check_request(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t& period,
                      double* out) {
    return Validation(first_index, last_index)
        .inputs(input)
        .params(EMA_PARAMS, period)
        .outputs(out)
        .result();
}

double smoothing_factor(std::int32_t period) { return 2.0 / static_cast<double>(period + 1); }

// One step: difference, then the product with k, then the sum.
double ema_step(double average, double value, double k) { return average + (value - average) * k; }

}  // namespace

std::int32_t ema_lookback(std::int32_t period) {
    if (!resolve(EMA_PARAMS, period)) return -1;
    return period - 1 + unstable_period(UNSTABLE_EMA);
}

std::int32_t dema_lookback(std::int32_t period) {
    const std::int32_t lookback = ema_lookback(period);
    return lookback < 0 ? -1 : 2 * lookback;
}

std::int32_t tema_lookback(std::int32_t period) {
    const std::int32_t lookback = ema_lookback(period);
    return lookback < 0 ? -1 : 3 * lookback;
}

RetCode ema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = check_request(first_index, last_index, input, period, out);
    if (rc != RC_OK) return rc;
    return ema_core(first_index, last_index, input, period, smoothing_factor(period), out_begin, out_count, out);
}

RetCode ema_core(std::int32_t start, std::int32_t end, const double* input, std::int32_t period, double k,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const Index unstable = unstable_period(UNSTABLE_EMA);
    const Index lookback = Index{period} - 1 + unstable;
    const Index first = std::max<Index>(start, lookback);
    if (first > end) return no_output(out_begin, out_count);

    // The seed is the mean of the period values ending at first - unstable.
    const Index seed_start = first - lookback;
    double sum = 0.0;
    for (Index i = seed_start; i < seed_start + period; ++i) sum += input[i];
    double average = sum / static_cast<double>(period);

    for (Index i = seed_start + period; i <= first; ++i) average = ema_step(average, input[i], k);
    out[0] = average;
    for (Index i = first + 1; i <= end; ++i) {
        average = ema_step(average, input[i], k);
        out[i - first] = average;
    }
    return report_output(out_begin, out_count, first, end);
}

// EMA1 needs lookback values before start, EMA2 another lookback before that
// (counted in EMA1 values). When out is input, EMA1 goes straight into out:
// every stage reads an element before it writes one at the same or a lower
// position. Both scratch arrays are obtained before anything is written, so a
// failed allocation leaves an in-place caller's array as it was.
RetCode dema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = check_request(first_index, last_index, input, period, out);
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);

    const Index lookback = ema_lookback(period);
    const Index start = std::max<Index>(first_index, 2 * lookback);
    if (start > last_index) return RC_OK;

    const bool in_place = input == out;
    std::optional<ScratchArray> ema1_storage;
    if (!in_place) ema1_storage.emplace(2 * lookback + last_index - start + 1);
    double* const ema1 = in_place ? out : ema1_storage->data();
    if (ema1 == nullptr) return RC_NO_MEMORY;
    ScratchArray ema2(last_index - start + lookback + 1);
    if (!ema2) return RC_NO_MEMORY;

    const double k = smoothing_factor(period);
    std::int32_t begin1 = 0, count1 = 0, begin2 = 0, count2 = 0;
    ema_core(static_cast<std::int32_t>(start - lookback), last_index, input, period, k, &begin1, &count1, ema1);
    ema_core(0, count1 - 1, ema1, period, k, &begin2, &count2, ema2.data());

    for (Index j = 0; j < count2; ++j) out[j] = ema1[begin2 + j] * 2.0 - ema2.data()[j];
    *out_begin = begin1 + begin2;
    *out_count = count2;
    return RC_OK;
}

// EMA3 is written straight into out and then combined with the aligned
// elements of EMA1 and EMA2.
RetCode tema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = check_request(first_index, last_index, input, period, out);
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);

    const Index lookback = ema_lookback(period);
    const Index start = std::max<Index>(first_index, 3 * lookback);
    if (start > last_index) return RC_OK;

    ScratchArray ema1(3 * lookback + last_index - start + 1);
    if (!ema1) return RC_NO_MEMORY;
    ScratchArray ema2(last_index - start + 2 * lookback + 1);
    if (!ema2) return RC_NO_MEMORY;

    const double k = smoothing_factor(period);
    std::int32_t begin1 = 0, count1 = 0, begin2 = 0, count2 = 0, begin3 = 0, count3 = 0;
    ema_core(static_cast<std::int32_t>(start - 2 * lookback), last_index, input, period, k, &begin1, &count1,
             ema1.data());
    ema_core(0, count1 - 1, ema1.data(), period, k, &begin2, &count2, ema2.data());
    ema_core(0, count2 - 1, ema2.data(), period, k, &begin3, &count3, out);

    const double* const aligned1 = ema1.data() + begin2 + begin3;
    const double* const aligned2 = ema2.data() + begin3;
    for (Index j = 0; j < count3; ++j) out[j] = (aligned1[j] * 3.0 - aligned2[j] * 3.0) + out[j];
    *out_begin = begin1 + begin2 + begin3;
    *out_count = count3;
    return RC_OK;
}

}  // namespace movlex
