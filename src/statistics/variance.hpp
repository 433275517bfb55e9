// Population variance and standard deviation over a sliding window.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "frame/bar_block.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array VAR_PARAMS{integer_param("period", 5, 1), real_param("deviations", 1.0)};
inline constexpr std::array STDDEV_PARAMS{integer_param("period", 5, 2), real_param("deviations", 1.0)};

// Variances strictly below this give a standard deviation of 0; it also
// absorbs the slightly negative residues of the running sums.
inline constexpr double VARIANCE_FLOOR = 1e-8;

inline double standard_deviation(double variance) { return variance < VARIANCE_FLOOR ? 0.0 : std::sqrt(variance); }
template <class V>
inline V standard_deviation(V variance) {
    return pick(variance < splat<V>(VARIANCE_FLOOR), splat<V>(0.0), square_root(variance));
}

// Mean of squares minus square of mean, from a running sum and a running sum
// of squares carried from one window to the next.
class VarianceKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit VarianceKernel(std::int32_t period) : period_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double mean;
        return step(bars, i, out[0], mean);
    }

    // The same step, giving the window's mean as well.
    template <class Bars>
    bool step(const Bars& bars, Index i, double& variance, double& mean) {
        if (warm_up_.consume()) {
            const double value = bars(0, i);
            sum_ += value;
            sum_of_squares_ += value * value;
            return false;
        }
        variance = next(bars, i, mean);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double mean;
        out[0] = next(bars, i, mean);
    }

    // The variance of the window ending at bar i; mean is its mean, the
    // same bits as the simple average of the window.
    template <class Bars>
    double next(const Bars& bars, Index i, double& mean) {
        double sum, sum_of_squares;
        carry(bars, i, sum, sum_of_squares);
        return moments(sum, sum_of_squares, mean);
    }

    // The steady steps of bars i .. i + n - 1 in two passes: the sums carried
    // bar by bar, then the divisions over the block in lanes.
    template <class Bars>
    void next_block(const Bars& bars, Index i, Index n, double* variance, double* mean) {
        double sum[BAR_BLOCK], sum_of_squares[BAR_BLOCK];
        for (Index j = 0; j < n; ++j) carry(bars, i + j, sum[j], sum_of_squares[j]);
        over_pairs(n, [&]<class V>(Index j) {
            V mean_j;
            store_lanes(variance + j, moments(load_lanes<V>(sum + j), load_lanes<V>(sum_of_squares + j), mean_j));
            store_lanes(mean + j, mean_j);
        });
    }

    template <class Bars>
    Index steady_block(const Bars& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        double mean[BAR_BLOCK];
        next_block(bars, i, n, out[0], mean);
        return n;
    }

    // The variance and mean of a window from its sum and sum of squares; V
    // is double or lanes of windows.
    template <class V>
    V moments(V sum, V sum_of_squares, V& mean) const {
        const double divisor = static_cast<double>(period_);
        mean = sum / divisor;
        const V mean_of_squares = sum_of_squares / divisor;
        return mean_of_squares - mean * mean;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(sum_of_squares_);
        archive(warm_up_);
    }

private:
    // Bar i enters the carried sums, which are then the window's, and the
    // bar that leaves with the next one is taken out of them.
    template <class Bars>
    void carry(const Bars& bars, Index i, double& sum, double& sum_of_squares) {
        const double value = bars(0, i);
        sum_ += value;
        sum_of_squares_ += value * value;
        sum = sum_;
        sum_of_squares = sum_of_squares_;
        const double leaving = bars(0, i - (period_ - 1));
        sum_ -= leaving;
        sum_of_squares_ -= leaving * leaving;
    }

    Index period_;
    double sum_ = 0.0;
    double sum_of_squares_ = 0.0;
    WarmUp warm_up_;
};

// The standard deviation times a factor.
class StdDevKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    StdDevKernel(std::int32_t period, double deviations) : variance_(period), deviations_(deviations) {}

    Index history() const { return variance_.history(); }
    Index lookback() const { return variance_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!variance_.step(bars, i, out)) return false;
        out[0] = scale(out[0]);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        variance_.steady(bars, i, out);
        out[0] = scale(out[0]);
    }

    template <class Bars>
    Index steady_block(const Bars& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        double mean[BAR_BLOCK];
        variance_.next_block(bars, i, n, out[0], mean);
        over_pairs(n, [&]<class V>(Index j) { store_lanes(out[0] + j, scale(load_lanes<V>(out[0] + j))); });
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(variance_);
    }

private:
    double scale(double variance) const {
        return variance < VARIANCE_FLOOR ? 0.0 : std::sqrt(variance) * deviations_;
    }
    template <class V>
    V scale(V variance) const {
        return pick(variance < splat<V>(VARIANCE_FLOOR), splat<V>(0.0), square_root(variance) * deviations_);
    }

    VarianceKernel variance_;
    double deviations_;
};

VarianceKernel var_kernel(const double* params, const UnstablePeriods& unstable);
StdDevKernel stddev_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
