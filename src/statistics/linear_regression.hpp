// Least-squares line over a sliding window, with its value at the newest bar,
// slope, intercept, angle, forecast one bar ahead and standard error.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array LINREG_PARAMS{integer_param("period", 14, 3)};

// The window's moments (frame/window_moments.hpp) of the bar's position and
// its value: positions enter relative to the bar the older run was formed
// at, so they are small whole numbers wherever the window lies, and their
// mean and squares are exact. Outputs value, slope, intercept, angle,
// forecast and standard error.
class LinregReading {
public:
    using Run = Moments;
    static constexpr int inputs = 1;
    static constexpr int outputs = 6;

    explicit LinregReading(std::int32_t period)
        : half_(static_cast<double>(period - 1) / 2.0), residual_divisor_(period - 2.0) {}

    template <class Bars>
    static std::pair<double, double> pair(const Bars& bars, Index j) {
        return {static_cast<double>(j), bars(0, j)};
    }

    template <class Bars>
    void write(const Moments& m, const WindowMoments& window, Index, const Bars&, double* out) const {
        write_outputs(m, window.shift_b(), out);
    }

private:
    void write_outputs(const Moments& m, double shift, double* out) const;

    double half_;              // (n - 1) / 2, from the window's centre to its newest bar
    double residual_divisor_;  // n - 2
};

using LinregKernel = WindowRunsKernel<LinregReading>;

LinregKernel linreg_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
