// Stochastic oscillators: STOCHF, STOCH and STOCHRSI.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "averages/selector.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "oscillators/rsi.hpp"
#include "movlex.h"

namespace movlex {

// STOCHRSI takes the period of RSI and the parameters of STOCHF.
inline constexpr std::array STOCHF_PARAMS{integer_param("fast_k_period", 5, 1), integer_param("fast_d_period", 3, 1),
                                          ma_type_param("fast_d_ma_type")};
inline constexpr std::array STOCH_PARAMS{integer_param("fast_k_period", 5, 1), integer_param("slow_k_period", 3, 1),
                                         ma_type_param("slow_k_ma_type"), integer_param("slow_d_period", 3, 1),
                                         ma_type_param("slow_d_ma_type")};
inline constexpr std::array STOCHRSI_PARAMS{RSI_PARAMS[0], STOCHF_PARAMS[0], STOCHF_PARAMS[1], STOCHF_PARAMS[2]};

std::int32_t stoch_lookback(std::int32_t fast_k_period, std::int32_t slow_k_period, std::int32_t slow_k_ma_type,
                            std::int32_t slow_d_period, std::int32_t slow_d_ma_type);
std::int32_t stochf_lookback(std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type);
std::int32_t stochrsi_lookback(std::int32_t period, std::int32_t fast_k_period, std::int32_t fast_d_period,
                               std::int32_t fast_d_ma_type);

// Raw %K: where the close stands between the lowest low and the highest high
// of the last fast_k_period bars, 0..100, or 0 when that range is zero. Fed
// one bar after another; high and low are series of bar numbers (it reads
// back fast_k_period bars of each), the close only today's value.
class RawK {
public:
    explicit RawK(std::int32_t fast_k_period)
        : period_(fast_k_period), lowest_(fast_k_period), highest_(fast_k_period), warm_up_(fast_k_period - 1) {}

    Index lookback() const { return period_ - 1; }

    template <class High, class Low>
    bool push(const High& high, const Low& low, double close, Index i, double* k) {
        if (warm_up_.consume()) return false;
        *k = push_steady(high, low, close, i);
        return true;
    }

    template <class High, class Low>
    [[gnu::always_inline]] double push_steady(const High& high, const Low& low, double close, Index i) {
        const double lowest_low = lowest_.advance(low, i);
        const double highest_high = highest_.advance(high, i);
        const double range = (highest_high - lowest_low) / 100.0;
        return range == 0.0 ? 0.0 : (close - lowest_low) / range;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(lowest_);
        archive(highest_);
        archive(warm_up_);
    }

private:
    Index period_;
    WindowExtreme<Lowest> lowest_;
    WindowExtreme<Highest> highest_;
    WarmUp warm_up_;
};

// The fast stochastic of high, low and close series: raw %K and its average
// %D (an AnyMaKernel, or the stage of one average when the batch call knows
// it), the average fed from the first raw %K on.
template <class Average = AnyMaKernel>
class FastStochastic {
public:
    FastStochastic(std::int32_t fast_k_period, Average d) : raw_k_(fast_k_period), d_(std::move(d)) {}

    Index lookback() const { return raw_k_.lookback() + d_.lookback(); }

    template <class High, class Low>
    bool push(const High& high, const Low& low, double close, Index i, double* out) {
        double k;
        if (!raw_k_.push(high, low, close, i, &k)) return false;
        if (!d_.push(i, k, &out[1])) return false;
        out[0] = k;
        return true;
    }

    template <class High, class Low>
    void push_steady(const High& high, const Low& low, double close, Index i, double* out) {
        const double k = raw_k_.push_steady(high, low, close, i);
        d_.push_steady(i, k, &out[1]);
        out[0] = k;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(raw_k_);
        archive(d_);
    }

private:
    RawK raw_k_;
    Average d_;
};

// STOCHF: inputs high, low, close; outputs %K, %D.
template <class Average = AnyMaKernel>
class StochfKernelOf {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    StochfKernelOf(std::int32_t fast_k_period, Average d)
        : fast_k_period_(fast_k_period), stochastic_(fast_k_period, std::move(d)) {}

    Index history() const { return fast_k_period_; }
    Index lookback() const { return stochastic_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        return stochastic_.push(input_series(bars, 0), input_series(bars, 1), bars(2, i), i, out);
    }
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        stochastic_.push_steady(input_series(bars, 0), input_series(bars, 1), bars(2, i), i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(stochastic_);
    }

private:
    Index fast_k_period_;
    FastStochastic<Average> stochastic_;
};

using StochfKernel = StochfKernelOf<>;

// STOCH: raw %K smoothed into the slow %K, which is averaged into %D; each
// average fed from the first value of the one before. Inputs high, low,
// close; outputs slow %K, %D. The slow %K average is an AnyMaKernel, or the
// stage of one average when the batch call knows it.
template <class SlowK = AnyMaKernel>
class StochKernelOf {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    StochKernelOf(std::int32_t fast_k_period, SlowK slow_k, AnyMaKernel slow_d)
        : fast_k_period_(fast_k_period), raw_k_(fast_k_period), slow_k_(std::move(slow_k)), slow_d_(std::move(slow_d)) {}

    Index history() const { return fast_k_period_; }
    Index lookback() const { return raw_k_.lookback() + slow_k_.lookback() + slow_d_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double k, slow_k;
        if (!raw_k_.push(input_series(bars, 0), input_series(bars, 1), bars(2, i), i, &k)) return false;
        if (!slow_k_.push(i, k, &slow_k)) return false;
        if (!slow_d_.push(i, slow_k, &out[1])) return false;
        out[0] = slow_k;
        return true;
    }
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double k = raw_k_.push_steady(input_series(bars, 0), input_series(bars, 1), bars(2, i), i);
        slow_k_.push_steady(i, k, &out[0]);
        slow_d_.push_steady(i, out[0], &out[1]);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(raw_k_);
        archive(slow_k_);
        archive(slow_d_);
    }

private:
    Index fast_k_period_;
    RawK raw_k_;
    SlowK slow_k_;
    AnyMaKernel slow_d_;
};

using StochKernel = StochKernelOf<>;

// STOCHRSI: the fast stochastic of the RSI (its high, low and close), fed
// from the first RSI value on. Input the series; outputs %K, %D.
template <class Average = AnyMaKernel>
class StochrsiKernelOf {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 2;

    StochrsiKernelOf(const RsiKernel& rsi, std::int32_t fast_k_period, Average d)
        : StochrsiKernelOf(rsi, DerivedSeries(fast_k_period), fast_k_period, std::move(d)) {}
    // With the ring of RSI values the %K window reads back made beforehand.
    StochrsiKernelOf(const RsiKernel& rsi, DerivedSeries rsi_series, std::int32_t fast_k_period, Average d)
        : rsi_(rsi), rsi_series_(std::move(rsi_series)), stochastic_(fast_k_period, std::move(d)) {}

    Index history() const { return 1; }
    Index lookback() const { return rsi_.lookback() + stochastic_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double rsi;
        if (!rsi_.step(bars, i, &rsi)) return false;
        const auto series = input_series(rsi_series_.push(i, rsi), 0);
        return stochastic_.push(series, series, rsi, i, out);
    }
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double rsi;
        rsi_.steady(bars, i, &rsi);
        const auto series = input_series(rsi_series_.push(i, rsi), 0);
        stochastic_.push_steady(series, series, rsi, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(rsi_);
        archive(rsi_series_);
        archive(stochastic_);
    }

private:
    RsiKernel rsi_;
    DerivedSeries rsi_series_;
    FastStochastic<Average> stochastic_;
};

using StochrsiKernel = StochrsiKernelOf<>;

StochKernel stoch_kernel(const double* params, const UnstablePeriods& unstable);
StochfKernel stochf_kernel(const double* params, const UnstablePeriods& unstable);
StochrsiKernel stochrsi_kernel(const double* params, const UnstablePeriods& unstable);

// The entries run the kernels of the chosen averages; when the storage of
// the window extremes or of an average cannot be had they return
// RC_NO_MEMORY with out_begin and out_count 0.
RetCode stoch_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 2>& request);
RetCode stochf_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 2>& request);
RetCode stochrsi_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 2>& request);
// An empty range takes no storage.
Index stoch_range_lookback(const double* params, const UnstablePeriods& unstable);
Index stochf_range_lookback(const double* params, const UnstablePeriods& unstable);
Index stochrsi_range_lookback(const double* params, const UnstablePeriods& unstable);
template <>
inline constexpr EntryForm entry_form<&stoch_kernel>{.memory = OnNoMemory::reports_empty,
                                                     .lookback_before_storage = &stoch_range_lookback};
template <>
inline constexpr EntryForm entry_form<&stochf_kernel>{.memory = OnNoMemory::reports_empty,
                                                      .lookback_before_storage = &stochf_range_lookback};
template <>
inline constexpr EntryForm entry_form<&stochrsi_kernel>{.memory = OnNoMemory::reports_empty,
                                                        .lookback_before_storage = &stochrsi_range_lookback};
template <>
inline constexpr auto entry_runner<&stoch_kernel> = &stoch_run;
template <>
inline constexpr auto entry_runner<&stochf_kernel> = &stochf_run;
template <>
inline constexpr auto entry_runner<&stochrsi_kernel> = &stochrsi_run;

}  // namespace movlex
