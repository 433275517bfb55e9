// A two-state machine, long or short, driven bar by bar. The stop trails the
// price, moving towards the position's extreme point by the acceleration
// factor, which grows by one step on every new extreme up to the maximum.
// A bar that touches the stop reverses the position: it reports the extreme
// point of the position that ends, and the new stop starts from there.
#include "directional/sar.hpp"

#include <algorithm>

#include "directional/movement.hpp"
#include "frame/contract.hpp"

namespace movlex {

namespace {

// Successive comparisons, in the order written: the first argument is
// replaced by a later one only when that one is strictly beyond it.
double highest(double value, double first, double second) {
    if (value < first) value = first;
    if (value < second) value = second;
    return value;
}

double lowest(double value, double first, double second) {
    if (value > first) value = first;
    if (value > second) value = second;
    return value;
}

class StopAndReverse {
public:
    // Bar start opens the first position; for it, the previous bar's high
    // and low are its own.
    StopAndReverse(bool is_long, const double* high, const double* low, Index start, double step, double maximum)
        : long_(is_long),
          step_(step),
          maximum_(maximum),
          factor_(step),
          extreme_(is_long ? high[start] : low[start]),
          stop_(is_long ? low[start - 1] : high[start - 1]),
          previous_high_(high[start]),
          previous_low_(low[start]) {}

    // Processes one bar and returns the value reported for it.
    double advance(double high, double low) {
        const double reported = long_ ? advance_long(high, low) : advance_short(high, low);
        previous_high_ = high;
        previous_low_ = low;
        return reported;
    }

private:
    double advance_long(double high, double low) {
        if (low <= stop_) {
            const double reported = highest(extreme_, previous_high_, high);
            stop_ = reported + step_ * (low - reported);
            extreme_ = low;
            factor_ = step_;
            stop_ = highest(stop_, previous_high_, high);
            long_ = false;
            return reported;
        }
        const double reported = stop_;
        if (high > extreme_) {
            extreme_ = high;
            factor_ = std::min(factor_ + step_, maximum_);
        }
        stop_ = stop_ + factor_ * (extreme_ - stop_);
        stop_ = lowest(stop_, previous_low_, low);
        return reported;
    }

    double advance_short(double high, double low) {
        if (high >= stop_) {
            const double reported = lowest(extreme_, previous_low_, low);
            stop_ = reported + step_ * (high - reported);
            extreme_ = high;
            factor_ = step_;
            stop_ = lowest(stop_, previous_low_, low);
            long_ = true;
            return reported;
        }
        const double reported = stop_;
        if (low < extreme_) {
            extreme_ = low;
            factor_ = std::min(factor_ + step_, maximum_);
        }
        stop_ = stop_ + factor_ * (extreme_ - stop_);
        stop_ = highest(stop_, previous_high_, high);
        return reported;
    }

    bool long_;
    double step_;
    double maximum_;
    double factor_;
    double extreme_;
    double stop_;
    double previous_high_;
    double previous_low_;
};

}  // namespace

std::int32_t sar_lookback(double acceleration, double maximum) {
    if (!resolve(SAR_PARAMS, acceleration, maximum)) return -1;
    return 1;
}

RetCode sar_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    double acceleration, double maximum, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(SAR_PARAMS, acceleration, maximum)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, 1);
    if (start > last_index) return no_output(out_begin, out_count);

    const double step = acceleration > maximum ? maximum : acceleration;

    // The first bar's down move decides: short when it moved down more than
    // up, long otherwise.
    std::int32_t direction_begin = 0;
    std::int32_t direction_count = 0;
    double down_move = 0.0;
    const RetCode direction_rc = minus_dm_compute(static_cast<std::int32_t>(start), static_cast<std::int32_t>(start),
                                                  high, low, 1, &direction_begin, &direction_count, &down_move);
    if (direction_rc != RC_OK) {
        no_output(out_begin, out_count);
        return direction_rc;
    }

    StopAndReverse machine(!(down_move > 0.0), high, low, start, step, maximum);
    for (Index i = start, k = 0; i <= last_index; ++i, ++k) out[k] = machine.advance(high[i], low[i]);
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
