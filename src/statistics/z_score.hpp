// Z-score: how many population standard deviations the value lies from the
// mean of its window.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array ZSCORE_PARAMS{integer_param("period", 20, 2)};

// With the window's moments relative to the shift K (frame/window_moments.hpp):
// ((x - K) - mean) / sqrt(squares / n); 0 for a window of equal values.
struct ZscoreReading {
    using Run = Moments;
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ZscoreReading(std::int32_t) {}

    template <class Bars>
    static std::pair<double, double> pair(const Bars& bars, Index j) {
        return {bars(0, j), 0.0};
    }

    template <class Bars>
    void write(const Moments& m, const WindowMoments& window, Index i, const Bars& bars, double* out) const {
        if (m.squares_a == 0.0)
            out[0] = 0.0;
        else
            out[0] = ((bars(0, i) - window.shift_a()) - m.mean_a) / std::sqrt(m.squares_a / m.count);
    }
};

using ZscoreKernel = WindowRunsKernel<ZscoreReading>;

ZscoreKernel zscore_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
