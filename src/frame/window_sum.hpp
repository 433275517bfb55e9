// The sum of a sliding window over a series derived inside a kernel, carried
// from bar to bar: the newest value is added, the sum read, then the oldest
// value of the window subtracted (the order of the simple average's sum).
#pragma once

#include "frame/kernel.hpp"

namespace movlex {

class WindowSum {
public:
    WindowSum() = default;
    explicit WindowSum(Index length) : length_(length), values_(length), warm_up_(length - 1) {}

    Index lookback() const { return length_ - 1; }

    // Adds the value of bar i; once the window holds `length` values, writes
    // their sum and returns true.
    bool push(Index i, double value, double* sum) {
        const RingBars<1>& window = values_.push(i, value);
        sum_ += value;
        if (warm_up_.consume()) return false;
        *sum = sum_;
        sum_ -= window(0, i - (length_ - 1));
        return true;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(values_);
        archive(warm_up_);
    }

private:
    Index length_ = 1;
    double sum_ = 0.0;
    DerivedSeries values_;
    WarmUp warm_up_;
};

}  // namespace movlex
