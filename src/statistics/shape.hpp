// Rolling skewness and excess kurtosis: the window's third and fourth central
// moments against its second, kept as accurate as the window's values allow
// (the runs of frame/window_moments.hpp, here of one series to the fourth
// power).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array ROLLING_SKEW_PARAMS{integer_param("period", 20, 3)};
inline constexpr std::array ROLLING_KURTOSIS_PARAMS{integer_param("period", 20, 4)};

// The count, mean and sums of the 2nd, 3rd and 4th powers of the deviations
// from the mean of a run of one series (the second series is not read).
struct ShapeMoments {
    static constexpr bool relative = true;

    double count = 0.0;
    double mean = 0.0;
    double m2 = 0.0;
    double m3 = 0.0;
    double m4 = 0.0;

    static constexpr std::size_t FIELDS = 5;
    void store(double* at) const {
        at[0] = count;
        at[1] = mean;
        at[2] = m2;
        at[3] = m3;
        at[4] = m4;
    }
    static ShapeMoments load(const double* at) { return ShapeMoments{at[0], at[1], at[2], at[3], at[4]}; }

    void add(double x, double);
};

ShapeMoments combined(const ShapeMoments& older, const ShapeMoments& newer);

double skewness(const ShapeMoments& s);
double excess_kurtosis(const ShapeMoments& s);

// Population moments of the window, m_k = (sum of (x - mean)^k) / n:
// skewness m3 / (m2 * sqrt(m2)), excess kurtosis m4 / (m2 * m2) - 3; both 0
// for a window of equal values.
template <bool kurtosis>
struct ShapeReading {
    using Run = ShapeMoments;
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ShapeReading(std::int32_t) {}

    template <class Bars>
    static std::pair<double, double> pair(const Bars& bars, Index j) {
        return {bars(0, j), 0.0};
    }

    template <class Bars>
    void write(const ShapeMoments& s, const SlidingRuns<ShapeMoments>&, Index, const Bars&, double* out) const {
        out[0] = kurtosis ? excess_kurtosis(s) : skewness(s);
    }
};

using RollingSkewKernel = WindowRunsKernel<ShapeReading<false>>;
using RollingKurtosisKernel = WindowRunsKernel<ShapeReading<true>>;

RollingSkewKernel rolling_skew_kernel(const double* params, const UnstablePeriods& unstable);
RollingKurtosisKernel rolling_kurtosis_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
