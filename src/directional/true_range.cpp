// ATR and NATR fill a scratch array with the true ranges of the lookback and
// the request, seed their average with the mean of the first period of them,
// and carry it forward bar by bar. With period 1 the average is the true range
// itself and no scratch array is needed.
#include "directional/true_range.hpp"

#include <algorithm>

#include "averages/simple.hpp"
#include "directional/bar_measures.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"
#include "frame/scratch.hpp"
#include "frame/wilder.hpp"

namespace movlex {

namespace {

// What ATR writes: the value as it is.
struct AsIs {
    double operator()(double value, Index) const { return value; }
};

// What NATR writes: the value in percent of the close of the bar it belongs
// to, or 0 when that close lies within 1e-8 of zero.
struct PercentOfClose {
    const double* close;
    double operator()(double value, Index bar) const {
        const double bar_close = close[bar];
        if (-1e-8 < bar_close && bar_close < 1e-8) return 0.0;
        return (value / bar_close) * 100.0;
    }
};

// Writes finish(true range of bar i, i) for i = start..end (start >= 1) to
// out[i - start]. Every input of a bar is read before its output is written,
// and the previous close is carried in a local, so out may be any input.
template <class Finish>
void write_true_ranges(Index start, Index end, const double* high, const double* low, const double* close,
                       double* out, Finish finish) {
    double previous_close = close[start - 1];
    for (Index i = start; i <= end; ++i) {
        const double bar_close = close[i];
        out[i - start] = finish(true_range(high[i], low[i], previous_close), i);
        previous_close = bar_close;
    }
}

std::int32_t average_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(ATR_PARAMS, period)) return -1;
    return period + unstable_period(slot);
}

template <class Finish>
RetCode average_true_range(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                           const double* close, std::int32_t period, UnstableSlot slot, Finish finish,
                           std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(ATR_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);

    const Index unstable = unstable_period(slot);
    const Index lookback = Index{period} + unstable;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return RC_OK;

    if (period == 1) {
        write_true_ranges(start, last_index, high, low, close, out, finish);
        return report_output(out_begin, out_count, start, last_index);
    }

    // Element k holds the true range of bar start - lookback + 1 + k; all
    // input reads are done here, before any output is written. A failed
    // allocation reaches trange_compute as a null output and is rejected there.
    ScratchArray true_ranges(lookback + (last_index - start) + 1);
    std::int32_t ranges_begin = 0, ranges_count = 0;
    RetCode step_rc = trange_compute(static_cast<std::int32_t>(start - lookback + 1), last_index, high, low, close,
                                     &ranges_begin, &ranges_count, true_ranges.data());
    if (step_rc != RC_OK) return step_rc;

    // The mean of the first period true ranges is the average of bar start - unstable.
    double average = 0.0;
    std::int32_t seed_begin = 0, seed_count = 0;
    step_rc = sma_core(period - 1, period - 1, true_ranges.data(), period, &seed_begin, &seed_count, &average);
    if (step_rc != RC_OK) return step_rc;

    const double* const range = true_ranges.data();
    const double divisor = static_cast<double>(period);
    Index k = period;
    for (; k < period + unstable; ++k) average = wilder_average_step(average, divisor, range[k]);
    out[0] = finish(average, start);
    for (Index i = start + 1; i <= last_index; ++i) {
        average = wilder_average_step(average, divisor, range[k++]);
        out[i - start] = finish(average, i);
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t trange_lookback() { return 1; }
std::int32_t atr_lookback(std::int32_t period) { return average_lookback(period, UNSTABLE_ATR); }
std::int32_t natr_lookback(std::int32_t period) { return average_lookback(period, UNSTABLE_NATR); }

RetCode trange_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(high, low, close).outputs(out).result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, 1);
    if (start > last_index) return no_output(out_begin, out_count);
    write_true_ranges(start, last_index, high, low, close, out, AsIs{});
    return report_output(out_begin, out_count, start, last_index);
}

RetCode atr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    return average_true_range(first_index, last_index, high, low, close, period, UNSTABLE_ATR, AsIs{}, out_begin,
                              out_count, out);
}

RetCode natr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                     const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                     double* out) {
    return average_true_range(first_index, last_index, high, low, close, period, UNSTABLE_NATR,
                              PercentOfClose{close}, out_begin, out_count, out);
}

}  // namespace movlex
