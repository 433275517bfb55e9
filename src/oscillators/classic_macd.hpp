// The classic MACD (Gerald Appel): the difference of two exponential
// averages of the close, both from the first bar, with its signal line (an
// EMA of the line) and the histogram. The core's MACD starts its faster
// average late, so that both averages give their first value on one bar, and
// defaults to simple averages.
#pragma once

#include <array>

#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "oscillators/signalled_oscillator.hpp"

namespace movlex {

inline constexpr std::array MACD_EMA_PARAMS{integer_param("fast_period", 12, 2),
                                            integer_param("slow_period", 26, 2),
                                            integer_param("signal_period", 9, 2)};

inline SignalledOscillatorKernel macd_ema_kernel(const double* params, const UnstablePeriods& unstable) {
    return signalled_oscillator(params, false, unstable);
}

}  // namespace movlex
