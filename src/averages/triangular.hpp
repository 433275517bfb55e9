// Triangular moving average.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array TRIMA_PARAMS{integer_param("period", 30, 2)};

// Three running sums carry the average from one window to the next: the plain
// sum of the older part, the plain sum of the newer part and the weighted sum
// of the whole window. The first window is summed once it is complete.
class TrimaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit TrimaKernel(std::int32_t period);

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        if (!started_) {
            first_window(bars, i);
            out[0] = factor_ * weighted_;
            return true;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const Index oldest = i - (period_ - 1);
        const double changing = bars(0, oldest + left_length_ - 1);  // moves from the newer part to the older
        const double next_oldest = bars(0, oldest);
        const double newest = bars(0, i);
        if (odd_)
            weighted_ = ((weighted_ - left_) + right_) + newest;
        else
            weighted_ = ((weighted_ - left_) + (right_ - changing)) + newest;
        out[0] = factor_ * weighted_;
        left_ = (left_ - oldest_) + changing;
        oldest_ = next_oldest;
        right_ = (right_ - changing) + newest;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(weighted_);
        archive(left_);
        archive(right_);
        archive(oldest_);
        archive(started_);
        archive(warm_up_);
    }

private:
    // The older part accumulated downwards from its newest value, the newer
    // part upwards, each running sum added to the weighted sum after every value.
    template <class Bars>
    void first_window(const Bars& bars, Index last) {
        const Index first = last - (period_ - 1);
        const Index last_of_left = first + left_length_ - 1;
        for (Index j = last_of_left; j >= first; --j) {
            left_ += bars(0, j);
            weighted_ += left_;
        }
        for (Index j = last_of_left + 1; j <= last; ++j) {
            right_ += bars(0, j);
            weighted_ += right_;
        }
        oldest_ = bars(0, first);
        started_ = true;
    }

    Index period_;
    bool odd_;
    Index left_length_;  // values in the older part; the odd window's includes the middle
    double factor_;
    double weighted_ = 0.0;
    double left_ = 0.0;   // older part
    double right_ = 0.0;  // newer part
    double oldest_ = 0.0;
    bool started_ = false;
    WarmUp warm_up_;
};

TrimaKernel trima_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
