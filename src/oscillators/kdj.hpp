// KDJ: the stochastic of Lane's %K and %D as the Asian markets chart it, the
// raw stochastic smoothed twice by a running average with a weight of one
// bar in m, and J = 3K - 2D, which runs ahead of both and beyond 0..100.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "oscillators/stochastic.hpp"

namespace movlex {

inline constexpr std::array KDJ_PARAMS{integer_param("period", 9, 1), integer_param("k_smoothing", 3, 1),
                                       integer_param("d_smoothing", 3, 1)};

// Inputs high, low, close; outputs k, d, j. rsv the raw stochastic of the
// last `period` bars (as the core's fast %K: 0 for a window without range);
// k = (rsv + (k_smoothing - 1) * k[1]) / k_smoothing,
// d = (k + (d_smoothing - 1) * d[1]) / d_smoothing, both from 50 before the
// first rsv; j = 3 * k - 2 * d.
class KdjKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 3;

    KdjKernel(std::int32_t period, std::int32_t k_smoothing, std::int32_t d_smoothing)
        : period_(period), raw_k_(period), k_weight_(k_smoothing), d_weight_(d_smoothing) {}

    Index history() const { return period_; }
    Index lookback() const { return raw_k_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double rsv;
        if (!raw_k_.push(input_series(bars, 0), input_series(bars, 1), bars(2, i), i, &rsv)) return false;
        write(rsv, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        write(raw_k_.push_steady(input_series(bars, 0), input_series(bars, 1), bars(2, i), i), out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(raw_k_);
        archive(k_);
        archive(d_);
    }

private:
    void write(double rsv, double* out) {
        k_ = (rsv + (k_weight_ - 1.0) * k_) / k_weight_;
        d_ = (k_ + (d_weight_ - 1.0) * d_) / d_weight_;
        out[0] = k_;
        out[1] = d_;
        out[2] = 3.0 * k_ - 2.0 * d_;
    }

    Index period_;
    RawK raw_k_;
    double k_weight_;
    double d_weight_;
    double k_ = 50.0;
    double d_ = 50.0;
};

inline KdjKernel kdj_kernel(const double* params, const UnstablePeriods&) {
    return KdjKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]));
}

}  // namespace movlex
