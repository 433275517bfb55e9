// All four compare a shorter and a longer average of one series; whichever
// period is smaller is used as the fast one, whatever the caller named it.
#include "oscillators/price_oscillators.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

#include "averages/selector.hpp"
#include "frame/contract.hpp"
#include "frame/scratch.hpp"

namespace movlex {

namespace {

constexpr std::int32_t MAC2_SIGNAL_PERIOD = 3;

RetCode failure(std::int32_t* out_begin, std::int32_t* out_count, RetCode rc) {
    *out_begin = 0;
    *out_count = 0;
    return rc;
}

RetCode price_oscillator(std::int32_t first_index, std::int32_t last_index, const double* input,
                         std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type,
                         std::int32_t* out_begin, std::int32_t* out_count, double* out, bool percent) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(APO_PARAMS, fast_period, slow_period, ma_type)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    ScratchArray shorter_average(Index(last_index) - first_index + 1);
    if (!shorter_average) return RC_NO_MEMORY;
    return po_core(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count, out,
                   shorter_average.data(), percent);
}

}  // namespace

std::int32_t apo_lookback(std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type) {
    if (!resolve(APO_PARAMS, fast_period, slow_period, ma_type)) return -1;
    return ma_lookback(std::max(fast_period, slow_period), ma_type);
}

std::int32_t ppo_lookback(std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type) {
    return apo_lookback(fast_period, slow_period, ma_type);
}

RetCode apo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                    std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    return price_oscillator(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count,
                            out, false);
}

RetCode ppo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                    std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    return price_oscillator(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count,
                            out, true);
}

RetCode po_core(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                double* out, double* scratch, bool percent) {
    const std::int32_t shorter = std::min(fast_period, slow_period);
    const std::int32_t longer = std::max(fast_period, slow_period);

    std::int32_t fast_begin = 0, fast_count = 0, slow_begin = 0, slow_count = 0;
    RetCode rc = ma_compute(first_index, last_index, input, shorter, ma_type, &fast_begin, &fast_count, scratch);
    if (rc != RC_OK) return failure(out_begin, out_count, rc);
    rc = ma_compute(first_index, last_index, input, longer, ma_type, &slow_begin, &slow_count, out);
    if (rc != RC_OK) return failure(out_begin, out_count, rc);

    // The shorter average starts no later than the longer one.
    const double* fast = scratch + (slow_begin - fast_begin);
    for (Index j = 0; j < slow_count; ++j) {
        const double slow = out[j];
        if (!percent)
            out[j] = fast[j] - slow;
        else if (-1e-8 < slow && slow < 1e-8)
            out[j] = 0.0;
        else
            out[j] = ((fast[j] - slow) / slow) * 100.0;
    }
    *out_begin = slow_begin;
    *out_count = slow_count;
    return RC_OK;
}

std::int32_t macd_lookback(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                           std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type) {
    if (!resolve(MACD_PARAMS, fast_period, fast_ma_type, slow_period, slow_ma_type, signal_period, signal_ma_type))
        return -1;
    return std::max(ma_lookback(fast_period, fast_ma_type), ma_lookback(slow_period, slow_ma_type)) +
           ma_lookback(signal_period, signal_ma_type);
}

std::int32_t mac2_lookback(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                           std::int32_t slow_ma_type) {
    return macd_lookback(fast_period, fast_ma_type, slow_period, slow_ma_type, MAC2_SIGNAL_PERIOD, MA_SMA);
}

RetCode macd_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                     std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                     std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out_macd, double* out_signal,
                     double* out_hist) {
    RetCode rc = Validation(first_index, last_index)
                     .inputs(input)
                     .params(MACD_PARAMS, fast_period, fast_ma_type, slow_period, slow_ma_type, signal_period,
                             signal_ma_type)
                     .outputs(out_macd, out_signal, out_hist)
                     .result();
    if (rc != RC_OK) return rc;

    // Each type stays with its period.
    if (slow_period < fast_period) {
        std::swap(fast_period, slow_period);
        std::swap(fast_ma_type, slow_ma_type);
    }
    const Index signal_lookback = ma_lookback(signal_period, signal_ma_type);
    const Index lookback =
        std::max(ma_lookback(fast_period, fast_ma_type), ma_lookback(slow_period, slow_ma_type)) + signal_lookback;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    // The MACD line is needed from signal_lookback values before start on.
    const Index line_count = signal_lookback + last_index - start + 1;
    const Index line_begin = start - signal_lookback;
    ScratchArray fast(line_count);
    if (!fast) return failure(out_begin, out_count, RC_NO_MEMORY);
    ScratchArray slow(line_count);
    if (!slow) return failure(out_begin, out_count, RC_NO_MEMORY);

    std::int32_t slow_begin = 0, slow_count = 0, fast_begin = 0, fast_count = 0;
    rc = ma_compute(std::int32_t(line_begin), last_index, input, slow_period, slow_ma_type, &slow_begin, &slow_count,
                    slow.data());
    if (rc != RC_OK) return failure(out_begin, out_count, rc);
    rc = ma_compute(std::int32_t(line_begin), last_index, input, fast_period, fast_ma_type, &fast_begin, &fast_count,
                    fast.data());
    if (rc != RC_OK) return failure(out_begin, out_count, rc);
    if (slow_begin != line_begin || fast_begin != line_begin || slow_count != line_count || fast_count != line_count)
        return failure(out_begin, out_count, RC_INTERNAL_ERROR);

    double* line = fast.data();
    for (Index j = 0; j < line_count; ++j) line[j] = line[j] - slow.data()[j];
    std::memmove(out_macd, line + signal_lookback, std::size_t(last_index - start + 1) * sizeof(double));

    std::int32_t signal_begin = 0, signal_count = 0;
    rc = ma_compute(0, std::int32_t(line_count - 1), line, signal_period, signal_ma_type, &signal_begin,
                    &signal_count, out_signal);
    if (rc != RC_OK) return failure(out_begin, out_count, rc);

    // Each signal value is read before the histogram value is stored, so the
    // two outputs may share one array.
    for (Index j = 0; j < signal_count; ++j) out_hist[j] = out_macd[j] - out_signal[j];
    *out_begin = std::int32_t(start);
    *out_count = signal_count;
    return RC_OK;
}

RetCode mac2_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                     std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                     std::int32_t slow_ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out_macd) {
    // The signal line and the histogram share one scratch array and are
    // discarded. Without a valid range there is no scratch and MACD reports
    // the range first; a scratch that could not be had reaches MACD as a
    // missing output array and is rejected there.
    double* signal_and_hist = nullptr;
    if (check_range(first_index, last_index) == RC_OK)
        signal_and_hist = static_cast<double*>(
            scratch_allocate(std::size_t(Index(last_index) - first_index + 1) * sizeof(double)));
    const RetCode rc = macd_compute(first_index, last_index, input, fast_period, fast_ma_type, slow_period,
                                    slow_ma_type, MAC2_SIGNAL_PERIOD, MA_SMA, out_begin, out_count, out_macd,
                                    signal_and_hist, signal_and_hist);
    std::free(signal_and_hist);
    return rc;
}

}  // namespace movlex
