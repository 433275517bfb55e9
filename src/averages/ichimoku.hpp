// Ichimoku's cloud: the midpoints of three windows of highs and lows, and
// the close. Every output at bar t is computed from the bars up to t; the
// displacement says how far a chart draws them from t: the leading spans
// `displacement` bars ahead, the lagging span `displacement` bars back.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "averages/price_channels.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array ICHIMOKU_PARAMS{integer_param("conversion", 9, 1), integer_param("base", 26, 1),
                                            integer_param("span_b", 52, 1), integer_param("displacement", 26, 1)};

// Conversion line, base line, leading span A (their midpoint), leading span
// B (the midpoint of the longest window) and the lagging span (the close).
// Each window starts at the first bar; the first output comes when the
// longest is full.
class IchimokuKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 5;

    IchimokuKernel(std::int32_t conversion, std::int32_t base, std::int32_t span_b)
        : longest_(std::max({conversion, base, span_b})),
          conversion_(conversion),
          base_(base),
          span_b_(span_b),
          warm_up_(longest_ - 1) {}

    Index history() const { return longest_; }
    Index lookback() const { return longest_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        conversion_.step(bars, i);
        base_.step(bars, i);
        span_b_.step(bars, i);
        if (warm_up_.consume()) return false;
        report(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        conversion_.advance(bars, i);
        base_.advance(bars, i);
        span_b_.advance(bars, i);
        report(bars, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(conversion_);
        archive(base_);
        archive(span_b_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    void report(const Bars& bars, Index i, double* out) const {
        const double conversion = conversion_.midpoint();
        const double base = base_.midpoint();
        out[0] = conversion;
        out[1] = base;
        out[2] = (conversion + base) / 2.0;
        out[3] = span_b_.midpoint();
        out[4] = bars(input::close, i);
    }

    Index longest_;
    HighLowWindow conversion_, base_, span_b_;
    WarmUp warm_up_;
};

IchimokuKernel ichimoku_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
