// QStick: the average of the bars' bodies, close less open.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array QSTICK_PARAMS{integer_param("period", 8, 1)};

// (sum of close - open over the window) / period, the sum as the rolling
// sum's (frame/window_moments.hpp). Inputs open, close.
class QstickReading {
public:
    using Run = Sums;
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    explicit QstickReading(std::int32_t period) : count_(static_cast<double>(period)) {}

    template <class Bars>
    static std::pair<double, double> pair(const Bars& bars, Index j) {
        return {bars(1, j) - bars(0, j), 0.0};
    }

    template <class Bars>
    void write(const Sums& sums, const WindowSums&, Index, const Bars&, double* out) const {
        out[0] = sums.a / count_;
    }

private:
    double count_;
};

using QstickKernel = WindowRunsKernel<QstickReading>;

inline QstickKernel qstick_kernel(const double* params, const UnstablePeriods&) {
    return QstickKernel(std::int32_t(params[0]));
}

}  // namespace movlex
