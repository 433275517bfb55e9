// Pivot points: the floor trader's levels of support and resistance for a
// session, computed from the high, low and close of the session before. A
// session is a block of `period` bars, counted from the first bar fed (with
// daily bars and a period of 1, the previous day).
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/typical_price.hpp"

namespace movlex {

inline constexpr std::array PIVOT_PARAMS{integer_param("period", 1, 1)};

// The high, low and close of a completed session.
struct Session {
    double high, low, close;
};

// The pivot of the classic, Fibonacci and Camarilla forms: (H + L + C) / 3.
inline double typical_pivot(const Session& s) { return typical_price(s.high, s.low, s.close); }

// Each of the forms writes its levels in the order of the outputs: pivot,
// the resistances r1, r2, ..., then the supports s1, s2, ....

// The floor levels about a pivot p: r1 = 2p - L, s1 = 2p - H,
// r2 = p + (H - L), s2 = p - (H - L), r3 = H + 2(p - L), s3 = L - 2(H - p).
inline void floor_levels(double p, const Session& s, double* out) {
    const double range = s.high - s.low;
    out[0] = p;
    out[1] = 2.0 * p - s.low;
    out[2] = p + range;
    out[3] = s.high + 2.0 * (p - s.low);
    out[4] = 2.0 * p - s.high;
    out[5] = p - range;
    out[6] = s.low - 2.0 * (s.high - p);
}

// The classic pivot p = (H + L + C) / 3 and its floor levels.
struct ClassicPivots {
    static constexpr int levels = 7;
    static void of(const Session& s, double* out) { floor_levels(typical_pivot(s), s, out); }
};

// Fibonacci levels: p as the classic, then p plus and minus 0.382, 0.618 and
// 1 times the range H - L.
struct FibonacciPivots {
    static constexpr int levels = 7;
    static void of(const Session& s, double* out) {
        const double p = typical_pivot(s);
        const double range = s.high - s.low;
        out[0] = p;
        out[1] = p + 0.382 * range;
        out[2] = p + 0.618 * range;
        out[3] = p + range;
        out[4] = p - 0.382 * range;
        out[5] = p - 0.618 * range;
        out[6] = p - range;
    }
};

// Camarilla levels, about the close: C plus and minus (H - L) * 1.1 / 12,
// / 6, / 4 and / 2 for the first to the fourth; p as the classic.
struct CamarillaPivots {
    static constexpr int levels = 9;
    static void of(const Session& s, double* out) {
        const double p = typical_pivot(s);
        const double reach = (s.high - s.low) * 1.1;
        static constexpr double divisors[] = {12.0, 6.0, 4.0, 2.0};
        out[0] = p;
        for (int k = 0; k < 4; ++k) {
            out[1 + k] = s.close + reach / divisors[k];
            out[5 + k] = s.close - reach / divisors[k];
        }
    }
};

// Woodie's pivot p = (H + L + 2C) / 4, the close counted twice, and the
// floor levels about it.
struct WoodiePivots {
    static constexpr int levels = 7;
    static void of(const Session& s, double* out) {
        floor_levels((s.high + s.low + 2.0 * s.close) / 4.0, s, out);
    }
};

// Inputs high, low, close; outputs the form's levels. Each bar of a session
// is given the levels of the session before; the bars of the first session
// give none. The session's high and low are its bars' highest high and
// lowest low (a NaN never replaces them), its close the last bar's close.
template <class Form>
class PivotKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = Form::levels;

    explicit PivotKernel(std::int32_t period) : period_(period), warm_up_(period) {}

    Index history() const { return 1; }
    Index lookback() const { return period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const bool warming = warm_up_.consume();
        if (!warming) write(out);
        absorb(bars, i);
        return !warming;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        write(out);
        absorb(bars, i);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
        archive.bounded(position_, 0, period_ - 1);
        archive(session_.high);
        archive(session_.low);
        archive(session_.close);
        for (double& level : levels_) archive(level);
    }

private:
    template <class Bars>
    void absorb(const Bars& bars, Index i) {
        const double high = bars(0, i), low = bars(1, i);
        if (position_ == 0) {
            session_ = {high, low, bars(2, i)};
        } else {
            if (high > session_.high) session_.high = high;
            if (low < session_.low) session_.low = low;
            session_.close = bars(2, i);
        }
        if (++position_ == period_) {
            Form::of(session_, levels_.data());
            position_ = 0;
        }
    }

    void write(double* out) const {
        for (int k = 0; k < outputs; ++k) out[k] = levels_[std::size_t(k)];
    }

    Index period_;
    WarmUp warm_up_;
    Index position_ = 0;
    Session session_{};
    std::array<double, std::size_t(outputs)> levels_{};
};

template <class Form>
PivotKernel<Form> pivot_kernel(const double* params, const UnstablePeriods&) {
    return PivotKernel<Form>(std::int32_t(params[0]));
}

}  // namespace movlex
