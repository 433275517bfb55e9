// Zero-lag exponential moving average: an EMA of the input with its lag
// taken out beforehand, 2 x[t] - x[t - lag] with lag = (period - 1) / 2.
#pragma once

#include <array>
#include <cstdint>

#include "averages/exponential.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array ZLEMA_PARAMS{integer_param("period", 20, 2)};

// The de-lagged value x[t] + (x[t] - x[t - lag]) exists from the bar `lag`
// after the first; the EMA of the period is seeded from there.
class ZlemaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    ZlemaKernel(std::int32_t period, std::int32_t unstable)
        : lag_((period - 1) / 2), ema_(period, ema_smoothing_factor(period), unstable), warm_up_(lag_) {}

    Index history() const { return lag_ + 1; }
    Index lookback() const { return lag_ + ema_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        return ema_.step(ValueBars{delagged(bars, i)}, i, out);
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        ema_.steady(ValueBars{delagged(bars, i)}, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ema_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    double delagged(const Bars& bars, Index i) const {
        const double value = bars(0, i);
        return value + (value - bars(0, i - lag_));
    }

    Index lag_;
    EmaKernel ema_;
    WarmUp warm_up_;
};

ZlemaKernel zlema_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
