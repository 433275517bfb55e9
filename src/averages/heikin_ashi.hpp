// Heikin-Ashi candles (as presented by Dan Valcu, 2004): each bar redrawn
// from the averages of its own prices and of the redrawn bar before it.
#pragma once

#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"

namespace movlex {

// Inputs open, high, low, close; outputs open, high, low, close:
// close' = (open + high + low + close) / 4; open' = (open'[1] + close'[1]) / 2,
// on the first bar fed (open + close) / 2; high' the greatest of high, open'
// and close', low' the least of low, open' and close' (a NaN price is passed
// on only when the bar's own extreme is NaN).
class HeikinAshiKernel {
public:
    static constexpr int inputs = 4;
    static constexpr int outputs = 4;

    Index history() const { return 1; }
    Index lookback() const { return 0; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            started_ = true;
            open_ = (bars(0, i) + bars(3, i)) / 2.0;
            write(bars, i, out);
            return true;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        open_ = (open_ + close_) / 2.0;
        write(bars, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(open_);
        archive(close_);
        archive(started_);
    }

private:
    template <class Bars>
    void write(const Bars& bars, Index i, double* out) {
        const double high = bars(1, i), low = bars(2, i);
        close_ = (bars(0, i) + high + low + bars(3, i)) / 4.0;
        const double body_top = open_ > close_ ? open_ : close_;
        const double body_bottom = open_ < close_ ? open_ : close_;
        out[0] = open_;
        out[1] = body_top > high ? body_top : high;
        out[2] = body_bottom < low ? body_bottom : low;
        out[3] = close_;
    }

    double open_ = 0.0;
    double close_ = 0.0;
    bool started_ = false;
};

inline HeikinAshiKernel heikin_ashi_kernel(const double*, const UnstablePeriods&) { return {}; }

}  // namespace movlex
