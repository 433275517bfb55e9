// Exponential family: EMA, DEMA and TEMA over one exponential core.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// DEMA and TEMA share the period of EMA.
inline constexpr std::array EMA_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& DEMA_PARAMS = EMA_PARAMS;
inline constexpr auto& TEMA_PARAMS = EMA_PARAMS;

// period - 1 plus the unstable period of the EMA slot; -1 out of range.
std::int32_t ema_lookback(std::int32_t period);
// Two and three times the EMA's lookback: every stage of the chain pays it.
std::int32_t dema_lookback(std::int32_t period);
std::int32_t tema_lookback(std::int32_t period);

RetCode ema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode dema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode tema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out);

// One step: difference, then the product with k, then the sum.
inline double ema_step(double average, double value, double k) { return average + (value - average) * k; }

inline double ema_smoothing_factor(std::int32_t period) { return 2.0 / static_cast<double>(period + 1); }

// Seeded with the mean of its first period values, then stepped; its first
// output comes `unstable` bars after the seed.
class EmaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;
    static constexpr int series_lanes = 4;  // a carried chain: interleave independent series

    EmaKernel(std::int32_t period, double k, std::int32_t unstable)
        : period_(period), unstable_(unstable), k_(k), seeding_(period), warm_up_(Index{period} - 1 + unstable) {}

    Index history() const { return 1; }
    Index lookback() const { return period_ - 1 + unstable_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (seeding_ > 0) {
            sum_ += bars(0, i);
            if (--seeding_ == 0) average_ = sum_ / static_cast<double>(period_);
        } else {
            average_ = ema_step(average_, bars(0, i), k_);
        }
        if (warm_up_.consume()) return false;
        out[0] = average_;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        average_ = ema_step(average_, bars(0, i), k_);
        out[0] = average_;
    }

    // The current average, once the seed is complete.
    double average() const { return average_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(average_);
        archive.bounded(seeding_, 0, period_);
        archive(warm_up_);
    }

private:
    Index period_;
    Index unstable_;
    double k_;
    double sum_ = 0.0;
    double average_ = 0.0;
    Index seeding_;
    WarmUp warm_up_;
};

// EMA over EMA: the second stage is fed the first stage's outputs.
class DemaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;
    static constexpr int series_lanes = 4;  // a carried chain: interleave independent series

    DemaKernel(std::int32_t period, std::int32_t unstable)
        : ema1_(period, ema_smoothing_factor(period), unstable), ema2_(period, ema_smoothing_factor(period), unstable) {}

    Index history() const { return 1; }
    Index lookback() const { return 2 * ema1_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double ema1;
        if (!ema1_.step(bars, i, &ema1)) return false;
        double ema2;
        if (!ema2_.step(ValueBars{ema1}, i, &ema2)) return false;
        out[0] = ema1 * 2.0 - ema2;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double ema1, ema2;
        ema1_.steady(bars, i, &ema1);
        ema2_.steady(ValueBars{ema1}, i, &ema2);
        out[0] = ema1 * 2.0 - ema2;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ema1_);
        archive(ema2_);
    }

private:
    EmaKernel ema1_, ema2_;
};

// Three EMA stages, combined as (3 EMA1 - 3 EMA2) + EMA3.
class TemaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;
    static constexpr int series_lanes = 4;  // a carried chain: interleave independent series

    TemaKernel(std::int32_t period, std::int32_t unstable)
        : ema1_(period, ema_smoothing_factor(period), unstable),
          ema2_(period, ema_smoothing_factor(period), unstable),
          ema3_(period, ema_smoothing_factor(period), unstable) {}

    Index history() const { return 1; }
    Index lookback() const { return 3 * ema1_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double ema1, ema2, ema3;
        if (!ema1_.step(bars, i, &ema1)) return false;
        if (!ema2_.step(ValueBars{ema1}, i, &ema2)) return false;
        if (!ema3_.step(ValueBars{ema2}, i, &ema3)) return false;
        out[0] = (ema1 * 3.0 - ema2 * 3.0) + ema3;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double ema1, ema2, ema3;
        ema1_.steady(bars, i, &ema1);
        ema2_.steady(ValueBars{ema1}, i, &ema2);
        ema3_.steady(ValueBars{ema2}, i, &ema3);
        out[0] = (ema1 * 3.0 - ema2 * 3.0) + ema3;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ema1_);
        archive(ema2_);
        archive(ema3_);
    }

private:
    EmaKernel ema1_, ema2_, ema3_;
};

EmaKernel ema_kernel(const double* params, const UnstablePeriods& unstable);
DemaKernel dema_kernel(const double* params, const UnstablePeriods& unstable);
TemaKernel tema_kernel(const double* params, const UnstablePeriods& unstable);

// Unchecked exponential average with smoothing factor k = 2 / (period + 1):
// start >= 0, end >= start, period in 2..100000, input readable up to end, out
// with room for end - max(start, lookback) + 1 values. Seeded with the mean of
// the period values that end U values before the first output, then run
// through those U values. Always RC_OK. out may be input.
RetCode ema_core(std::int32_t start, std::int32_t end, const double* input, std::int32_t period, double k,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
