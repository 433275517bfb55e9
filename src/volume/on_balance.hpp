// On-balance volume (OBV).
#pragma once

#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "movlex.h"

namespace movlex {

// The running total starts at the volume of the first bar fed and then adds
// each bar's volume on a rising price, subtracts it on a falling one and
// leaves it alone on an unchanged one. The previous price is kept, not read
// back, so out may be the price array.
class ObvKernel {
public:
    static constexpr int inputs = 2;  // price, volume
    static constexpr int outputs = 1;

    Index history() const { return 1; }
    Index lookback() const { return 0; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            total_ = bars(1, i);
            previous_ = bars(0, i);
            started_ = true;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double price = bars(0, i);
        if (price > previous_)
            total_ += bars(1, i);
        else if (price < previous_)
            total_ -= bars(1, i);
        out[0] = total_;
        previous_ = price;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(total_);
        archive(previous_);
        archive(started_);
    }

private:
    double total_ = 0.0;
    double previous_ = 0.0;
    bool started_ = false;
};

ObvKernel obv_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
