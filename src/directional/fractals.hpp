// Bill Williams' fractals: a bar whose high stands above the highs of the
// `span` bars on each side of it (an up fractal), or whose low stands below
// their lows (a down fractal). A fractal is known only once the `span` bars
// after it have closed, so it is reported at that bar, `span` bars late, and
// never revised.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array FRACTALS_PARAMS{integer_param("span", 2, 1)};

// Inputs high, low; outputs up, down: at bar t, 1 when bar t - span is an up
// (down) fractal, else 0. Strict comparisons: a neighbour equal to the
// bar's high (low) leaves it no fractal; a NaN leaves none either.
class FractalsKernel : public IdleWarmUpKernel<FractalsKernel> {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 2;

    explicit FractalsKernel(std::int32_t span) : IdleWarmUpKernel(2 * Index{span}), span_(span) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const Index centre = i - span_;
        const double high = bars(0, centre), low = bars(1, centre);
        bool up = true, down = true;
        for (Index j = centre - span_; j <= i; ++j) {
            if (j == centre) continue;
            up = up && high > bars(0, j);
            down = down && low < bars(1, j);
        }
        out[0] = up ? 1.0 : 0.0;
        out[1] = down ? 1.0 : 0.0;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
    }

private:
    Index span_;
};

inline FractalsKernel fractals_kernel(const double* params, const UnstablePeriods&) {
    return FractalsKernel(std::int32_t(params[0]));
}

}  // namespace movlex
