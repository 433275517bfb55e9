// Both indicators carry the window's highest high and lowest low from bar to
// bar and take one afresh only when the bar holding it leaves the window.
// They differ in the tie rule of the rescan: Williams %R keeps the oldest of
// equal extremes (which only decides when the next rescan happens), Aroon
// takes the newest, which its output shows.
//
// An output element is written after every read of its bar, and later bars
// read nothing below their trailing index, which lies above the output
// position; so an output may be one of the inputs.
//
// A window longer than a few bars keeps block arrays; when they cannot be
// had the call returns RC_NO_MEMORY with out_begin and out_count 0.
#include "oscillators/range_position.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

std::int32_t willr_lookback(std::int32_t period) {
    if (!resolve(WILLR_PARAMS, period)) return -1;
    return period - 1;
}

std::int32_t aroon_lookback(std::int32_t period) {
    if (!resolve(AROON_PARAMS, period)) return -1;
    return period;
}

RetCode willr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                      double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(WILLR_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    return guard_allocation(out_begin, out_count, [&] {
        run_kernel(WillrKernel(period), std::array{high, low, close}, start - lookback, last_index,
                   std::array{out});
        return report_output(out_begin, out_count, start, last_index);
    });
}

RetCode aroon_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out_aroon_down,
                      double* out_aroon_up) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(AROON_PARAMS, period)
                           .outputs(out_aroon_down, out_aroon_up)
                           .result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, period);
    if (start > last_index) return no_output(out_begin, out_count);

    return guard_allocation(out_begin, out_count, [&] {
        run_kernel(AroonKernel(period), std::array{high, low}, start - period, last_index,
                   std::array{out_aroon_down, out_aroon_up});
        return report_output(out_begin, out_count, start, last_index);
    });
}

WillrKernel willr_kernel(const double* params, const UnstablePeriods&) { return WillrKernel(std::int32_t(params[0])); }

AroonOscillatorKernel aroon_oscillator_kernel(const double* params, const UnstablePeriods&) {
    return AroonOscillatorKernel(std::int32_t(params[0]));
}

AroonKernel aroon_kernel(const double* params, const UnstablePeriods&) { return AroonKernel(std::int32_t(params[0])); }

}  // namespace movlex
