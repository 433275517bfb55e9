#include "volume/volume_oscillator.hpp"

namespace movlex {

SignalledOscillatorKernel pvo_kernel(const double* params, const UnstablePeriods& unstable) {
    return signalled_oscillator(params, true, unstable);
}

}  // namespace movlex
