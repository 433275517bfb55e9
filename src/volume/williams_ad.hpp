// Williams accumulation/distribution: a running total of how far each close
// lies from the true low (on a rise) or the true high (on a fall), where the
// true high and low take in the previous close.
#pragma once

#include <array>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array<ParamInfo, 0> WAD_PARAMS{};

// The bar's contribution against the previous close: close - min(low,
// previous) on a higher close, close - max(high, previous) on a lower one, 0
// on an unchanged close.
inline double williams_move(double high, double low, double close, double previous) {
    if (close > previous) return close - (previous < low ? previous : low);
    if (close < previous) return close - (previous > high ? previous : high);
    return 0.0;
}

// The line from 0 at the first bar fed, which only gives its close; the first
// value is at the second bar. As with AD, values depend on where the request
// starts.
class WadKernel {
public:
    static constexpr int inputs = 3;  // high, low, close
    static constexpr int outputs = 1;

    Index history() const { return 1; }
    Index lookback() const { return 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            previous_close_ = bars(2, i);
            started_ = true;
            return false;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double close = bars(2, i);
        line_ += williams_move(bars(0, i), bars(1, i), close, previous_close_);
        previous_close_ = close;
        out[0] = line_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(line_);
        archive(previous_close_);
        archive(started_);
    }

private:
    double line_ = 0.0;
    double previous_close_ = 0.0;
    bool started_ = false;
};

WadKernel wad_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
