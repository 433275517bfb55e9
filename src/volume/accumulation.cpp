// Both indicators accumulate the line themselves, from 0 at the first bar they
// read: nothing is carried over from earlier calls, so the values depend on
// where the request starts.
#include "volume/accumulation.hpp"

#include <algorithm>

#include "averages/exponential.hpp"
#include "frame/contract.hpp"

namespace movlex {

namespace {

// A bar moves the line only when its range high - low is positive.
bool has_range(double high, double low) { return high - low > 0.0; }

// Volume weighted by where the close lies in the bar's range:
// ((close - low) - (high - close)) / (high - low) * volume.
double contribution(double high, double low, double close, double volume) {
    return ((close - low) - (high - close)) / (high - low) * volume;
}

double accumulate(double line, const double* high, const double* low, const double* close, const double* volume,
                  Index bar) {
    if (!has_range(high[bar], low[bar])) return line;
    return line + contribution(high[bar], low[bar], close[bar], volume[bar]);
}

// An exponential average with its factor and complement precomputed.
struct ExponentialAverage {
    explicit ExponentialAverage(std::int32_t period, double seed)
        : factor(2.0 / static_cast<double>(period + 1)), complement(1.0 - factor), value(seed) {}
    void add(double x) { value = complement * value + factor * x; }

    double factor;
    double complement;
    double value;
};

}  // namespace

std::int32_t ad_lookback() { return 0; }

std::int32_t adosc_lookback(std::int32_t fast_period, std::int32_t slow_period) {
    if (!resolve(ADOSC_PARAMS, fast_period, slow_period)) return -1;
    return ema_lookback(std::max(fast_period, slow_period));
}

RetCode ad_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                   const double* close, const double* volume, std::int32_t* out_begin, std::int32_t* out_count,
                   double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(high, low, close, volume).outputs(out).result();
    if (rc != RC_OK) return rc;

    double line = 0.0;
    Index k = 0;
    for (Index i = first_index; i <= last_index; ++i, ++k) {
        line = accumulate(line, high, low, close, volume, i);
        out[k] = line;
    }
    return report_output(out_begin, out_count, first_index, last_index);
}

RetCode adosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, const double* volume, std::int32_t fast_period, std::int32_t slow_period,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close, volume)
                           .params(ADOSC_PARAMS, fast_period, slow_period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = ema_lookback(std::max(fast_period, slow_period));
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    // Both averages are seeded with the line at the first bar read, which is
    // that bar's contribution alone.
    const Index seed_bar = start - lookback;
    const double line_seed = has_range(high[seed_bar], low[seed_bar])
                                 ? contribution(high[seed_bar], low[seed_bar], close[seed_bar], volume[seed_bar])
                                 : 0.0;
    double line = line_seed;
    ExponentialAverage fast(fast_period, line_seed);
    ExponentialAverage slow(slow_period, line_seed);

    for (Index i = seed_bar + 1; i < start; ++i) {
        line = accumulate(line, high, low, close, volume, i);
        fast.add(line);
        slow.add(line);
    }
    Index k = 0;
    for (Index i = start; i <= last_index; ++i, ++k) {
        line = accumulate(line, high, low, close, volume, i);
        fast.add(line);
        slow.add(line);
        out[k] = fast.value - slow.value;
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
