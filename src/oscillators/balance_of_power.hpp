// Balance of power (BOP).
#pragma once

#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "movlex.h"

namespace movlex {

// Each bar on its own: (close - open) / (high - low). The guard is one-sided:
// only a range of at least 1e-8 is divided by, so a bar whose high lies below
// its low gives 0 as a flat bar does.
class BopKernel : public EachBarKernel<BopKernel> {
public:
    static constexpr int inputs = 4;  // open, high, low, close
    static constexpr int outputs = 1;

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double range = bars(1, i) - bars(2, i);
        out[0] = range < MINIMUM_RANGE ? 0.0 : (bars(3, i) - bars(0, i)) / range;
    }

    template <class Archive>
    void visit(Archive&) {}

private:
    static constexpr double MINIMUM_RANGE = 1e-8;
};

BopKernel bop_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
