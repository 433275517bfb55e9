// The raw %K series is written into a scratch array and smoothed in place by
// the average selector. When an output array is also one of the inputs it is
// long enough (last_index + 1 values) to serve as that scratch, so no heap
// memory is needed.
#include "oscillators/stochastic.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "averages/selector.hpp"
#include "frame/contract.hpp"
#include "frame/scratch.hpp"
#include "frame/window_extreme.hpp"
#include "oscillators/rsi.hpp"

namespace movlex {

namespace {

RetCode failure(std::int32_t* out_begin, std::int32_t* out_count, RetCode rc) {
    *out_begin = 0;
    *out_count = 0;
    return rc;
}

// The array that receives the raw %K: out_k when it is one of the inputs,
// else out_d when that is, else a heap array of `count` doubles.
class KScratch {
public:
    KScratch(const double* high, const double* low, const double* close, double* out_k, double* out_d, Index count) {
        if (is_input(out_k, high, low, close))
            data_ = out_k;
        else if (is_input(out_d, high, low, close))
            data_ = out_d;
        else
            data_ = heap_ = static_cast<double*>(scratch_allocate(std::size_t(count) * sizeof(double)));
    }
    ~KScratch() { std::free(heap_); }
    KScratch(const KScratch&) = delete;
    KScratch& operator=(const KScratch&) = delete;

    double* data() const { return data_; }  // null when the heap array could not be had

private:
    static bool is_input(const double* array, const double* high, const double* low, const double* close) {
        return array == high || array == low || array == close;
    }

    double* heap_ = nullptr;
    double* data_ = nullptr;
};

// Raw %K for today = first .. last_index into k[0 ..]: the position of the
// close within the lowest low and highest high of the last fast_k_period
// bars, 0..100, or 0 when that range is zero. k[today - first] is written
// after every read of bar today and no later bar reads an index at or below
// it, so k may be one of the inputs.
void raw_k(Index first, Index last_index, const double* high, const double* low, const double* close,
           std::int32_t fast_k_period, double* k) {
    WindowExtreme<Lowest> lowest(fast_k_period);
    WindowExtreme<Highest> highest(fast_k_period);
    const auto low_at = [low](Index j) { return low[j]; };
    const auto high_at = [high](Index j) { return high[j]; };
    for (Index today = first - fast_k_period + 1; today < first; ++today) {
        lowest.enter(low_at, today);
        highest.enter(high_at, today);
    }
    for (Index today = first; today <= last_index; ++today) {
        const double lowest_low = lowest.advance(low_at, today);
        const double highest_high = highest.advance(high_at, today);
        const double range = (highest_high - lowest_low) / 100.0;
        k[today - first] = range == 0.0 ? 0.0 : (close[today] - lowest_low) / range;
    }
}

void move_values(double* to, const double* from, Index count) {
    std::memmove(to, from, std::size_t(count) * sizeof(double));
}

}  // namespace

std::int32_t stochf_lookback(std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type) {
    if (!resolve(STOCHF_PARAMS, fast_k_period, fast_d_period, fast_d_ma_type)) return -1;
    return (fast_k_period - 1) + ma_lookback(fast_d_period, fast_d_ma_type);
}

std::int32_t stoch_lookback(std::int32_t fast_k_period, std::int32_t slow_k_period, std::int32_t slow_k_ma_type,
                            std::int32_t slow_d_period, std::int32_t slow_d_ma_type) {
    if (!resolve(STOCH_PARAMS, fast_k_period, slow_k_period, slow_k_ma_type, slow_d_period, slow_d_ma_type)) return -1;
    return (fast_k_period - 1) + ma_lookback(slow_k_period, slow_k_ma_type) +
           ma_lookback(slow_d_period, slow_d_ma_type);
}

std::int32_t stochrsi_lookback(std::int32_t period, std::int32_t fast_k_period, std::int32_t fast_d_period,
                               std::int32_t fast_d_ma_type) {
    const std::int32_t rsi = rsi_lookback(period);
    const std::int32_t stochf = stochf_lookback(fast_k_period, fast_d_period, fast_d_ma_type);
    if (rsi < 0 || stochf < 0) return -1;
    return rsi + stochf;
}

RetCode stochf_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t fast_k_period, std::int32_t fast_d_period,
                       std::int32_t fast_d_ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out_k,
                       double* out_d) {
    RetCode rc = Validation(first_index, last_index)
                     .inputs(high, low, close)
                     .params(STOCHF_PARAMS, fast_k_period, fast_d_period, fast_d_ma_type)
                     .outputs(out_k, out_d)
                     .result();
    if (rc != RC_OK) return rc;

    const Index d_lookback = ma_lookback(fast_d_period, fast_d_ma_type);
    const Index start = std::max<Index>(first_index, d_lookback + fast_k_period - 1);
    if (start > last_index) return no_output(out_begin, out_count);

    const Index k_first = start - d_lookback;
    const Index k_count = last_index - k_first + 1;
    const Index out_values = last_index - start + 1;
    const KScratch scratch(high, low, close, out_k, out_d, k_count);
    double* k = scratch.data();
    if (k == nullptr) return failure(out_begin, out_count, RC_NO_MEMORY);

    raw_k(k_first, last_index, high, low, close, fast_k_period, k);
    if (k == out_d) move_values(out_k, k + d_lookback, out_values);  // before %D overwrites it

    rc = ma_compute(0, std::int32_t(k_count - 1), k, fast_d_period, fast_d_ma_type, out_begin, out_count, out_d);
    if (rc != RC_OK || *out_count == 0) return failure(out_begin, out_count, rc);

    if (k != out_d) move_values(out_k, k + d_lookback, *out_count);
    *out_begin = std::int32_t(start);
    return RC_OK;
}

RetCode stoch_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t fast_k_period, std::int32_t slow_k_period,
                      std::int32_t slow_k_ma_type, std::int32_t slow_d_period, std::int32_t slow_d_ma_type,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out_k, double* out_d) {
    RetCode rc = Validation(first_index, last_index)
                     .inputs(high, low, close)
                     .params(STOCH_PARAMS, fast_k_period, slow_k_period, slow_k_ma_type, slow_d_period, slow_d_ma_type)
                     .outputs(out_k, out_d)
                     .result();
    if (rc != RC_OK) return rc;

    const Index k_lookback = ma_lookback(slow_k_period, slow_k_ma_type);
    const Index d_lookback = ma_lookback(slow_d_period, slow_d_ma_type);
    const Index start = std::max<Index>(first_index, k_lookback + d_lookback + fast_k_period - 1);
    if (start > last_index) return no_output(out_begin, out_count);

    const Index k_first = start - k_lookback - d_lookback;
    const Index k_count = last_index - k_first + 1;
    const Index out_values = last_index - start + 1;
    const KScratch scratch(high, low, close, out_k, out_d, k_count);
    double* k = scratch.data();
    if (k == nullptr) return failure(out_begin, out_count, RC_NO_MEMORY);

    raw_k(k_first, last_index, high, low, close, fast_k_period, k);

    // Slow %K, smoothed in place.
    rc = ma_compute(0, std::int32_t(k_count - 1), k, slow_k_period, slow_k_ma_type, out_begin, out_count, k);
    if (rc != RC_OK || *out_count == 0) return failure(out_begin, out_count, rc);

    if (k == out_d) move_values(out_k, k + d_lookback, out_values);  // before %D overwrites it
    rc = ma_compute(0, *out_count - 1, k, slow_d_period, slow_d_ma_type, out_begin, out_count, out_d);
    if (rc != RC_OK) return failure(out_begin, out_count, rc);

    if (k != out_d) move_values(out_k, k + d_lookback, out_values);
    *out_begin = std::int32_t(start);
    return RC_OK;
}

RetCode stochrsi_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                         std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type,
                         std::int32_t* out_begin, std::int32_t* out_count, double* out_k, double* out_d) {
    RetCode rc = Validation(first_index, last_index)
                     .inputs(input)
                     .params(STOCHRSI_PARAMS, period, fast_k_period, fast_d_period, fast_d_ma_type)
                     .outputs(out_k, out_d)
                     .result();
    if (rc != RC_OK) return rc;

    *out_begin = 0;
    *out_count = 0;
    const Index stochf_lookback_value = stochf_lookback(fast_k_period, fast_d_period, fast_d_ma_type);
    const Index start = std::max<Index>(first_index, rsi_lookback(period) + stochf_lookback_value);
    if (start > last_index) return RC_OK;

    // The RSI of the bars the fast stochastic needs. An RSI array that could
    // not be had reaches the RSI as a missing output and is rejected there.
    const Index rsi_count = last_index - start + 1 + stochf_lookback_value;
    *out_begin = std::int32_t(start);
    ScratchArray rsi(rsi_count);
    std::int32_t rsi_begin = 0, rsi_written = 0;
    rc = rsi_compute(std::int32_t(start - stochf_lookback_value), last_index, input, period, &rsi_begin, &rsi_written,
                     rsi.data());
    if (rc != RC_OK || rsi_written == 0) return failure(out_begin, out_count, rc);

    std::int32_t stochf_begin = 0;
    rc = stochf_compute(0, std::int32_t(rsi_count - 1), rsi.data(), rsi.data(), rsi.data(), fast_k_period,
                        fast_d_period, fast_d_ma_type, &stochf_begin, out_count, out_k, out_d);
    if (rc != RC_OK || *out_count == 0) return failure(out_begin, out_count, rc);
    return RC_OK;
}

}  // namespace movlex
