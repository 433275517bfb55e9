// The last `period` typical prices live in a circular buffer; the mean and the
// mean absolute deviation are summed over the whole buffer for every output,
// in slot order (once the buffer has wrapped, slot 0 no longer holds the
// oldest bar, and the order of the additions shows in the last bits).
// Buffers of up to 30 values live in the routine's frame.
#include "oscillators/commodity_channel.hpp"

#include <algorithm>
#include <cmath>

#include "frame/contract.hpp"
#include "frame/local_buffer.hpp"
#include "frame/typical_price.hpp"

namespace movlex {

namespace {

constexpr std::size_t FRAME_VALUES = 30;
constexpr double SCALE = 0.015;

double slot_order_sum(const double* buffer, Index period) {
    double sum = 0.0;
    for (Index slot = 0; slot < period; ++slot) sum += buffer[slot];
    return sum;
}

double slot_order_deviation(const double* buffer, Index period, double mean) {
    double sum = 0.0;
    for (Index slot = 0; slot < period; ++slot) sum += std::fabs(buffer[slot] - mean);
    return sum;
}

}  // namespace

std::int32_t cci_lookback(std::int32_t period) {
    if (!resolve(CCI_PARAMS, period)) return -1;
    return period - 1;
}

RetCode cci_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(CCI_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, period - 1);
    if (start > last_index) return no_output(out_begin, out_count);

    LocalBuffer<FRAME_VALUES> storage(period);
    if (!storage) return RC_NO_MEMORY;
    double* buffer = storage.data();

    Index slot = 0;
    auto advance = [&slot, period] {
        if (++slot == period) slot = 0;
    };
    for (Index i = start - period + 1; i < start; ++i) {
        buffer[slot] = typical_price(high[i], low[i], close[i]);
        advance();
    }

    const double divisor = static_cast<double>(period);
    Index k = 0;
    for (Index today = start; today <= last_index; ++today, ++k) {
        const double typical = typical_price(high[today], low[today], close[today]);
        buffer[slot] = typical;
        const double mean = slot_order_sum(buffer, period) / divisor;
        const double deviation = slot_order_deviation(buffer, period, mean);
        const double distance = typical - mean;
        out[k] = (distance == 0.0 || deviation == 0.0) ? 0.0 : distance / ((deviation / divisor) * SCALE);
        advance();
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
