// Percentage volume oscillator: the percentage price oscillator of the
// volume over exponential averages, with a signal line and a histogram.
#pragma once

#include <array>

#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "oscillators/signalled_oscillator.hpp"

namespace movlex {

inline constexpr std::array PVO_PARAMS{integer_param("fast_period", 12, 2), integer_param("slow_period", 26, 2),
                                       integer_param("signal_period", 9, 2)};

// The line in percent (as PPO with EMAs), its signal and the histogram.
SignalledOscillatorKernel pvo_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
