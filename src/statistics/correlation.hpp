// Pearson correlation and beta of two series over a sliding window.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/channel_bars.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "statistics/variance.hpp"

namespace movlex {

inline constexpr std::array CORREL_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& BETA_PARAMS = CORREL_PARAMS;

// The window's moments of the input (series 0) and the other series (1).
struct CoMoments {
    double input_variance;
    double other_variance;
    double covariance;
};

// Each series' variance and mean as VAR computes them, and the covariance as
// the mean of products minus the product of means, from a running sum of
// products carried as VAR carries its sums.
class CoMomentWindow {
public:
    explicit CoMomentWindow(std::int32_t period)
        : period_(period), input_(period), other_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, CoMoments& moments) {
        if (warm_up_.consume()) {
            double variance, mean;
            input_.step(channel_of(bars, 0), i, variance, mean);
            other_.step(channel_of(bars, 1), i, variance, mean);
            products_ += bars(0, i) * bars(1, i);
            return false;
        }
        moments = next(bars, i);
        return true;
    }

    template <class Bars>
    CoMoments next(const Bars& bars, Index i) {
        products_ += bars(0, i) * bars(1, i);
        double input_mean, other_mean;
        CoMoments moments;
        moments.input_variance = input_.next(channel_of(bars, 0), i, input_mean);
        moments.other_variance = other_.next(channel_of(bars, 1), i, other_mean);
        moments.covariance = products_ / static_cast<double>(period_) - input_mean * other_mean;
        const Index oldest = i - (period_ - 1);
        products_ -= bars(0, oldest) * bars(1, oldest);
        return moments;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(input_);
        archive(other_);
        archive(products_);
        archive(warm_up_);
    }

private:
    Index period_;
    VarianceKernel input_, other_;
    double products_ = 0.0;
    WarmUp warm_up_;
};

// covariance / (sd(input) * sd(other)), kept within -1..1; 0 when either
// standard deviation is 0 (a variance below VAR's floor).
inline double pearson_correlation(const CoMoments& m) {
    const double deviations = standard_deviation(m.input_variance) * standard_deviation(m.other_variance);
    if (deviations == 0.0) return 0.0;
    return std::clamp(m.covariance / deviations, -1.0, 1.0);
}

// The slope of the input on the other series, covariance / variance(other);
// 0 when the other series' variance lies below VAR's floor.
inline double regression_beta(const CoMoments& m) {
    return m.other_variance < VARIANCE_FLOOR ? 0.0 : m.covariance / m.other_variance;
}

// A kernel giving one measure of the window's moments.
template <double (*measure)(const CoMoments&)>
class CoMomentKernel {
public:
    static constexpr int inputs = 2;  // input, other
    static constexpr int outputs = 1;

    explicit CoMomentKernel(std::int32_t period) : window_(period) {}

    Index history() const { return window_.history(); }
    Index lookback() const { return window_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        CoMoments moments;
        if (!window_.step(bars, i, moments)) return false;
        out[0] = measure(moments);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = measure(window_.next(bars, i));
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    CoMomentWindow window_;
};

using CorrelKernel = CoMomentKernel<&pearson_correlation>;
using BetaKernel = CoMomentKernel<&regression_beta>;

CorrelKernel correl_kernel(const double* params, const UnstablePeriods& unstable);
BetaKernel beta_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
