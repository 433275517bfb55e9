// Z-score: how many population standard deviations the value lies from the
// mean of its window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "statistics/variance.hpp"

namespace movlex {

inline constexpr std::array ZSCORE_PARAMS{integer_param("period", 20, 2)};

// (x - mean) / standard deviation over the window ending at the bar, the mean
// and variance as VAR computes them; a standard deviation of 0 (a variance
// below VAR's floor) gives 0.
class ZscoreKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ZscoreKernel(std::int32_t period) : variance_(period) {}

    Index history() const { return variance_.history(); }
    Index lookback() const { return variance_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double variance, mean;
        if (!variance_.step(bars, i, variance, mean)) return false;
        out[0] = score(bars(0, i), mean, variance);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double mean;
        const double variance = variance_.next(bars, i, mean);
        out[0] = score(bars(0, i), mean, variance);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(variance_);
    }

private:
    static double score(double value, double mean, double variance) {
        const double deviation = standard_deviation(variance);
        return deviation == 0.0 ? 0.0 : (value - mean) / deviation;
    }

    VarianceKernel variance_;
};

ZscoreKernel zscore_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
