// Population variance and standard deviation over a sliding window.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array VAR_PARAMS{integer_param("period", 5, 1), real_param("deviations", 1.0)};
inline constexpr std::array STDDEV_PARAMS{integer_param("period", 5, 2), real_param("deviations", 1.0)};

std::int32_t var_lookback(std::int32_t period, double deviations);
std::int32_t stddev_lookback(std::int32_t period, double deviations);

// Variances strictly below this give a standard deviation of 0; it also
// absorbs the slightly negative residues of the running sums.
inline constexpr double VARIANCE_FLOOR = 1e-8;

inline double standard_deviation(double variance) { return variance < VARIANCE_FLOOR ? 0.0 : std::sqrt(variance); }

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
        const double value = bars(0, i);
        sum_ += value;
        sum_of_squares_ += value * value;
        const double divisor = static_cast<double>(period_);
        mean = sum_ / divisor;
        const double mean_of_squares = sum_of_squares_ / divisor;
        const double leaving = bars(0, i - (period_ - 1));
        sum_ -= leaving;
        sum_of_squares_ -= leaving * leaving;
        return mean_of_squares - mean * mean;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(sum_of_squares_);
        archive(warm_up_);
    }

private:
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

    template <class Archive>
    void visit(Archive& archive) {
        archive(variance_);
    }

private:
    double scale(double variance) const {
        return variance < VARIANCE_FLOOR ? 0.0 : std::sqrt(variance) * deviations_;
    }

    VarianceKernel variance_;
    double deviations_;
};

VarianceKernel var_kernel(const double* params, const UnstablePeriods& unstable);
StdDevKernel stddev_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
