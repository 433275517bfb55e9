// Ulcer index: the root mean square of the percent drawdowns from the
// window's highest close.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/derived_window.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array ULCER_PARAMS{integer_param("period", 14, 1)};

// d[t] = (100 * (x[t] - h)) / h with h the highest of the last n values (0
// where h is 0); the result sqrt((sum of d^2 over the last n bars) / n).
class UlcerKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit UlcerKernel(std::int32_t period)
        : period_(period), count_(period), highest_(period), squares_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return 2 * (period_ - 1); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        Sums squares;
        if (!squares_.push(i, squared_drawdown(bars, i), 0.0, squares)) return false;
        out[0] = std::sqrt(squares.a / count_);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = std::sqrt(squares_.next(i, squared_drawdown(bars, i), 0.0).a / count_);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(highest_);
        archive(squares_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    double squared_drawdown(const Bars& bars, Index i) {
        const double high = highest_.advance(input_series(bars, 0), i);
        const double drawdown = high == 0.0 ? 0.0 : (100.0 * (bars(0, i) - high)) / high;
        return drawdown * drawdown;
    }

    Index period_;
    double count_;
    WindowExtreme<Highest> highest_;
    DerivedWindow<Sums> squares_;
    WarmUp warm_up_;
};

inline UlcerKernel ulcer_kernel(const double* params, const UnstablePeriods&) {
    return UlcerKernel(std::int32_t(params[0]));
}

}  // namespace movlex
