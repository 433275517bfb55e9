// The window of (positive, negative) flow pairs lives in a circular buffer
// with two running sums: each bar subtracts the pair that leaves and adds the
// one that enters, so the cost per bar does not depend on the period. The
// unstable period only moves the start of the output (and lengthens the time
// the sums are carried), never the window itself.
#include "volume/money_flow.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"
#include "frame/local_buffer.hpp"
#include "frame/typical_price.hpp"

namespace movlex {

namespace {

// Windows of up to this many pairs live in the routine's frame.
constexpr std::size_t FRAME_PAIRS = 50;
// A window whose total flow lies below this many units of price times volume
// gives 0.
constexpr double MINIMUM_TOTAL_FLOW = 1.0;

struct FlowPair {
    double positive;
    double negative;
};

// The bar's money flow, credited to the side its typical price moved to
// against the previous bar's; an unchanged typical price credits neither.
FlowPair flow_pair(double typical, double previous_typical, double volume) {
    const double flow = typical * volume;
    if (typical > previous_typical) return {flow, 0.0};
    if (typical < previous_typical) return {0.0, flow};
    return {0.0, 0.0};
}

// The circular buffer of pairs, stored as positive and negative flow side by
// side, with the sums of the pairs it holds.
class FlowWindow {
public:
    FlowWindow(double* storage, Index period) : pairs_(storage), period_(period) {}

    // Fills the next position of a window that has not yet wrapped.
    void add(FlowPair pair) {
        store(pair);
        advance();
    }

    // Takes the oldest pair out of the sums and puts the new one in its place.
    void replace(FlowPair pair) {
        positive_sum_ -= pairs_[2 * slot_];
        negative_sum_ -= pairs_[2 * slot_ + 1];
        store(pair);
        advance();
    }

    // Share of the window's flow that moved upwards, in percent.
    double index() const {
        const double total = positive_sum_ + negative_sum_;
        if (total < MINIMUM_TOTAL_FLOW) return 0.0;
        return (positive_sum_ / total) * 100.0;
    }

private:
    void store(FlowPair pair) {
        pairs_[2 * slot_] = pair.positive;
        pairs_[2 * slot_ + 1] = pair.negative;
        positive_sum_ += pair.positive;
        negative_sum_ += pair.negative;
    }
    void advance() {
        if (++slot_ == period_) slot_ = 0;
    }

    double* pairs_;
    Index period_;
    Index slot_ = 0;
    double positive_sum_ = 0.0;
    double negative_sum_ = 0.0;
};

}  // namespace

std::int32_t mfi_lookback(std::int32_t period) {
    if (!resolve(MFI_PARAMS, period)) return -1;
    return period + unstable_period(UNSTABLE_MFI);
}

RetCode mfi_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, const double* volume, std::int32_t period, std::int32_t* out_begin,
                    std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close, volume)
                           .params(MFI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    // The buffer is taken before the range is looked at, so a long period can
    // fail for lack of memory even when the range yields nothing.
    LocalBuffer<2 * FRAME_PAIRS> buffer(2 * static_cast<Index>(period));
    if (!buffer) return RC_NO_MEMORY;
    *out_begin = 0;
    *out_count = 0;

    const Index lookback = mfi_lookback(period);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return RC_OK;

    FlowWindow window(buffer.data(), period);
    const Index first_bar = start - lookback;
    double previous_typical = typical_price(high[first_bar], low[first_bar], close[first_bar]);
    auto next_pair = [&](Index bar) {
        const double typical = typical_price(high[bar], low[bar], close[bar]);
        const FlowPair pair = flow_pair(typical, previous_typical, volume[bar]);
        previous_typical = typical;
        return pair;
    };

    const Index last_filled = first_bar + period;
    for (Index i = first_bar + 1; i <= last_filled; ++i) window.add(next_pair(i));

    Index k = 0;
    if (last_filled == start) out[k++] = window.index();
    for (Index i = last_filled + 1; i <= last_index; ++i) {
        window.replace(next_pair(i));
        if (i >= start) out[k++] = window.index();
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
