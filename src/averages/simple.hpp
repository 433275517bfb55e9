// Simple and weighted moving averages.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// WMA shares the period of SMA.
inline constexpr std::array SMA_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& WMA_PARAMS = SMA_PARAMS;

// The running sum of the window: the newest value is added, the mean taken,
// then the oldest value subtracted.
class SmaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit SmaKernel(std::int32_t period) : period_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) {
            sum_ += bars(0, i);
            return false;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        sum_ += bars(0, i);
        const double leaving = bars(0, i - (period_ - 1));
        out[0] = sum_ / static_cast<double>(period_);
        sum_ -= leaving;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(warm_up_);
    }

private:
    Index period_;
    double sum_ = 0.0;
    WarmUp warm_up_;
};

// The weighted sum of the window (weights 1 .. period, newest heaviest) and
// the plain sum of its values, both carried from one window to the next.
class WmaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit WmaKernel(std::int32_t period)
        : period_(period),
          divider_(static_cast<double>(static_cast<Index>(period) * (period + 1) / 2)),
          warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    // The values before the first window's newest take weights 1 .. period - 1.
    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.remaining() > 0) {
            const Index weight = period_ - warm_up_.remaining();
            warm_up_.consume();
            const double value = bars(0, i);
            weighted_ += value * static_cast<double>(weight);
            plain_ += value;
            return false;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double oldest = bars(0, i - (period_ - 1));
        const double value = bars(0, i);
        weighted_ += value * static_cast<double>(period_);
        out[0] = weighted_ / divider_;
        // The value that left one step earlier is taken out of the plain sum
        // one step late, so plain is the sum of the current window here and
        // subtracting it lowers every weight of the window by one.
        plain_ = (plain_ + value) - leaving_;
        weighted_ -= plain_;
        leaving_ = oldest;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(weighted_);
        archive(plain_);
        archive(leaving_);
        archive(warm_up_);
    }

private:
    Index period_;
    double divider_;
    double weighted_ = 0.0;
    double plain_ = 0.0;
    double leaving_ = 0.0;  // the oldest value of the previous window
    WarmUp warm_up_;
};

SmaKernel sma_kernel(const double* params, const UnstablePeriods& unstable);
WmaKernel wma_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
