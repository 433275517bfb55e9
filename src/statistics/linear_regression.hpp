// Least-squares line over a sliding window, with its value at the newest bar,
// slope, intercept, angle, forecast one bar ahead and standard error.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array LINREG_PARAMS{integer_param("period", 14, 3)};

// The window's bars stand at x = 0 (oldest) .. n - 1 (newest). Running sums
// of y, x * y and y * y are carried from one window to the next: the newest
// value enters with x = n - 1, and after the outputs the oldest leaves and
// every x drops by one (x * y loses the sum of the values that stay).
class LinregKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 6;  // value, slope, intercept, angle, forecast, stderr

    explicit LinregKernel(std::int32_t period);

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.remaining() > 0) {
            const double x = static_cast<double>(period_ - 1 - warm_up_.remaining());
            warm_up_.consume();
            add(bars(0, i), x);
            return false;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        add(bars(0, i), newest_x_);
        write_outputs(out);
        const double leaving = bars(0, i - (period_ - 1));
        sum_ -= leaving;
        sum_of_squares_ -= leaving * leaving;
        weighted_sum_ -= sum_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(weighted_sum_);
        archive(sum_of_squares_);
        archive(warm_up_);
    }

private:
    void add(double y, double x) {
        sum_ += y;
        weighted_sum_ += y * x;
        sum_of_squares_ += y * y;
    }
    void write_outputs(double* out) const;

    Index period_;
    double count_;       // n
    double newest_x_;    // n - 1
    double sum_x_;       // n (n - 1) / 2, exact
    double denominator_; // n * sum of x^2 - (sum of x)^2, in that order
    double sum_ = 0.0;
    double weighted_sum_ = 0.0;
    double sum_of_squares_ = 0.0;
    WarmUp warm_up_;
};

LinregKernel linreg_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
