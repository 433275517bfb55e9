// The rate of change beside ROC's percent: as a fraction, as a ratio, and as
// a ratio times 100.
#pragma once

#include "oscillators/momentum.hpp"

namespace movlex {

// (current - reference) / reference; 0 against a reference of exactly zero.
inline double fraction_change(double current, double reference) {
    if (reference == 0.0) return 0.0;
    return (current - reference) / reference;
}

// current / reference; 0 against a reference of exactly zero.
inline double change_ratio(double current, double reference) {
    if (reference == 0.0) return 0.0;
    return current / reference;
}

// (current / reference) * 100; 0 against a reference of exactly zero.
inline double change_ratio_100(double current, double reference) {
    if (reference == 0.0) return 0.0;
    return (current / reference) * 100.0;
}

using RocFractionKernel = ComparisonKernel<fraction_change>;
using RocRatioKernel = ComparisonKernel<change_ratio>;
using RocRatio100Kernel = ComparisonKernel<change_ratio_100>;

template <class Kernel>
Kernel rate_of_change_kernel(const double* params, const UnstablePeriods&) {
    return Kernel(std::int32_t(params[0]));
}

}  // namespace movlex
