// One output of the linear regression (statistics/linear_regression.hpp) as
// an indicator of its own: the slope, the intercept, the angle or the
// time-series forecast, computed as the regression computes all of them.
#pragma once

#include <cstdint>

#include "statistics/linear_regression.hpp"

namespace movlex {

template <int Output>
class LinregPartReading : public LinregReading {
public:
    static constexpr int outputs = 1;
    using LinregReading::LinregReading;

    template <class Bars>
    void write(const Moments& m, const WindowMoments& window, Index i, const Bars& bars, double* out) const {
        double all[LinregReading::outputs];
        LinregReading::write(m, window, i, bars, all);
        out[0] = all[Output];
    }
};

using LinregSlope = LinregPartReading<1>;
using LinregIntercept = LinregPartReading<2>;
using LinregAngle = LinregPartReading<3>;
using LinregForecast = LinregPartReading<4>;

template <class Part>
WindowRunsKernel<Part> linreg_part_kernel(const double* params, const UnstablePeriods&) {
    return WindowRunsKernel<Part>(std::int32_t(params[0]));
}

}  // namespace movlex
