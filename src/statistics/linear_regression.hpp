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
// mean and squares are exact.
class LinregKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 6;  // value, slope, intercept, angle, forecast, stderr

    explicit LinregKernel(std::int32_t period)
        : window_(period), half_(static_cast<double>(period - 1) / 2.0), residual_divisor_(period - 2.0) {}

    Index history() const { return window_.history(); }
    Index lookback() const { return window_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        Moments moments;
        if (!window_.step(i, pair_of(bars), moments)) return false;
        write_outputs(moments, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        write_outputs(window_.next(i, pair_of(bars)), out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    template <class Bars>
    static auto pair_of(const Bars& bars) {
        return [&bars](Index j) { return std::pair{static_cast<double>(j), bars(0, j)}; };
    }

    void write_outputs(const Moments& m, double* out) const;

    WindowMoments window_;
    double half_;              // (n - 1) / 2, from the window's centre to its newest bar
    double residual_divisor_;  // n - 2
};

LinregKernel linreg_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
