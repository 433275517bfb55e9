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

WillrKernel willr_kernel(const double* params, const UnstablePeriods&) { return WillrKernel(std::int32_t(params[0])); }

AroonOscillatorKernel aroon_oscillator_kernel(const double* params, const UnstablePeriods&) {
    return AroonOscillatorKernel(std::int32_t(params[0]));
}

AroonKernel aroon_kernel(const double* params, const UnstablePeriods&) { return AroonKernel(std::int32_t(params[0])); }

}  // namespace movlex
