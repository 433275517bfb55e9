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

// A kernel giving one measure of the window's moments.
template <double (*measure)(const Moments&)>
class CoMomentKernel {
public:
    static constexpr int inputs = 2;  // input, other
    static constexpr int outputs = 1;

    explicit CoMomentKernel(std::int32_t period) : window_(period) {}

    Index history() const { return window_.history(); }
    Index lookback() const { return window_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        Moments moments;
        if (!window_.step(i, pair_of(bars), moments)) return false;
        out[0] = measure(moments);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = measure(window_.next(i, pair_of(bars)));
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    template <class Bars>
    static auto pair_of(const Bars& bars) {
        return [&bars](Index j) { return std::pair{bars(0, j), bars(1, j)}; };
    }

    WindowMoments window_;
};

using CorrelKernel = CoMomentKernel<&pearson_correlation>;
using BetaKernel = CoMomentKernel<&regression_beta>;

CorrelKernel correl_kernel(const double* params, const UnstablePeriods& unstable);
BetaKernel beta_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
