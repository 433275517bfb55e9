// Force index: the exponential average of each bar's price change times its
// volume.
#pragma once

#include <array>
#include <cstdint>

#include "averages/exponential.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array FORCE_PARAMS{integer_param("period", 13, 1)};

// The one-bar force (close - previous close) * volume, from the second bar
// fed, is the input of an EMA(period) with its seed and unstable period.
class ForceKernel {
public:
    static constexpr int inputs = 2;  // close, volume
    static constexpr int outputs = 1;

    ForceKernel(std::int32_t period, std::int32_t unstable)
        : average_(period, ema_smoothing_factor(period), unstable) {}

    Index history() const { return 1; }
    Index lookback() const { return 1 + average_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            previous_close_ = bars(0, i);
            started_ = true;
            return false;
        }
        return average_.step(ValueBars{force(bars, i)}, i, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        average_.steady(ValueBars{force(bars, i)}, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
        archive(previous_close_);
        archive(started_);
    }

private:
    template <class Bars>
    double force(const Bars& bars, Index i) {
        const double close = bars(0, i);
        const double value = (close - previous_close_) * bars(1, i);
        previous_close_ = close;
        return value;
    }

    EmaKernel average_;
    double previous_close_ = 0.0;
    bool started_ = false;
};

ForceKernel force_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
