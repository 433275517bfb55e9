// Pearson correlation and beta of two series over a sliding window.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array CORREL_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& BETA_PARAMS = CORREL_PARAMS;

// covariance / (sd(input) * sd(other)) from the window's moments (frame/
// window_moments.hpp), as products / (sqrt(squares_input) *
// sqrt(squares_other)), kept within -1..1; 0 when either series is flat over
// the window.
inline double pearson_correlation(const Moments& m) {
    if (m.squares_a == 0.0 || m.squares_b == 0.0) return 0.0;
    return std::clamp(m.products / (std::sqrt(m.squares_a) * std::sqrt(m.squares_b)), -1.0, 1.0);
}

// The slope of the input on the other series, covariance / variance(other),
// as products / squares_other; 0 when the other series is flat over the
// window.
inline double regression_beta(const Moments& m) { return m.squares_b == 0.0 ? 0.0 : m.products / m.squares_b; }

// One measure of the window's moments of the input (a) and the other series (b).
template <double (*measure)(const Moments&)>
struct CoMomentReading {
    using Run = Moments;
    static constexpr int inputs = 2;  // input, other
    static constexpr int outputs = 1;

    explicit CoMomentReading(std::int32_t) {}

    template <class Bars>
    static std::pair<double, double> pair(const Bars& bars, Index j) {
        return {bars(0, j), bars(1, j)};
    }

    template <class Bars>
    void write(const Moments& m, const WindowMoments&, Index, const Bars&, double* out) const {
        out[0] = measure(m);
    }
};

using CorrelKernel = WindowRunsKernel<CoMomentReading<&pearson_correlation>>;
using BetaKernel = WindowRunsKernel<CoMomentReading<&regression_beta>>;

CorrelKernel correl_kernel(const double* params, const UnstablePeriods& unstable);
BetaKernel beta_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
