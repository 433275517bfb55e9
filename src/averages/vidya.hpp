// VIDYA, the variable index dynamic average (Tushar S. Chande): an
// exponential average whose smoothing factor is scaled, bar by bar, by the
// absolute Chande momentum oscillator of the input.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "averages/exponential.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array VIDYA_PARAMS{integer_param("period", 9, 2), integer_param("cmo_period", 9, 1)};

// Over the last cmo_period changes of the input, up = sum of the rises and
// down = sum of the falls (as positive numbers, exact sums of the window's
// values); k = |up - down| / (up + down), 0 when both are 0. With
// alpha = 2 / (period + 1) and s = alpha * k: line = s * x + (1 - s) * line.
// The line starts as the input at the bar before the first full window.
class VidyaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    VidyaKernel(std::int32_t period, std::int32_t cmo_period)
        : alpha_(ema_smoothing_factor(period)), cmo_period_(cmo_period), changes_(cmo_period) {}

    Index history() const { return cmo_period_ + 1; }
    Index lookback() const { return cmo_period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const double x = bars(0, i);
        if (!started_) {
            started_ = true;
            line_ = x;
            return false;
        }
        Sums moves;
        if (!changes_.step(i, moves_of(bars), moves)) {
            line_ = x;
            return false;
        }
        follow(x, moves, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        follow(bars(0, i), changes_.next(i, moves_of(bars)), out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(changes_);
        archive(line_);
        archive(started_);
    }

private:
    // The rise and the fall from bar j - 1 to bar j.
    template <class Bars>
    static auto moves_of(const Bars& bars) {
        return [&bars](Index j) {
            const double change = bars(0, j) - bars(0, j - 1);
            return std::pair{change > 0.0 ? change : 0.0, change < 0.0 ? -change : 0.0};
        };
    }

    void follow(double x, const Sums& moves, double* out) {
        const double total = moves.a + moves.b;
        const double k = total == 0.0 ? 0.0 : std::fabs(moves.a - moves.b) / total;
        const double s = alpha_ * k;
        line_ = s * x + (1.0 - s) * line_;
        out[0] = line_;
    }

    double alpha_;
    Index cmo_period_;
    WindowSums changes_;
    double line_ = 0.0;
    bool started_ = false;
};

inline VidyaKernel vidya_kernel(const double* params, const UnstablePeriods&) {
    return VidyaKernel(std::int32_t(params[0]), std::int32_t(params[1]));
}

}  // namespace movlex
