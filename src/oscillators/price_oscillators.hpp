// Price oscillators: APO, PPO, MACD and MAC2, built on the average selector.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "averages/selector.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// PPO shares the parameters of APO; MAC2 takes the first four of MACD, its
// signal line being fixed.
inline constexpr std::array APO_PARAMS{integer_param("fast_period", 12, 2), integer_param("slow_period", 26, 2),
                                       ma_type_param("ma_type")};
inline constexpr auto& PPO_PARAMS = APO_PARAMS;
inline constexpr std::array MACD_PARAMS{integer_param("fast_period", 12, 2), ma_type_param("fast_ma_type"),
                                        integer_param("slow_period", 26, 2), ma_type_param("slow_ma_type"),
                                        integer_param("signal_period", 9, 1), ma_type_param("signal_ma_type")};
// MACD of EMA(12) and EMA(26) with an EMA signal of a chosen period.
inline constexpr std::array MACD_FIXED_PARAMS{integer_param("signal_period", 9, 1)};
inline constexpr double MACD_FIXED_FAST = 12.0, MACD_FIXED_SLOW = 26.0;
inline constexpr std::array MAC2_PARAMS{MACD_PARAMS[0], MACD_PARAMS[1], MACD_PARAMS[2], MACD_PARAMS[3]};

// APO and PPO: the shorter and the longer average of one series, read in
// place; the shorter one starts `shorter_delay` bars after the longer.
// Average is AverageStage<K> or AnyMaKernel, made with Feed::bars.
template <class Average>
class PriceOscillatorKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    PriceOscillatorKernel(Average shorter, Average longer, Index shorter_delay, bool percent)
        : shorter_(std::move(shorter)), longer_(std::move(longer)), delay_(shorter_delay), percent_(percent) {}

    Index history() const { return std::max(shorter_.history(), longer_.history()); }
    Index lookback() const { return longer_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double fast = 0.0, slow;
        if (!delay_.consume()) shorter_.step(bars, i, &fast);  // ready no later than the longer one
        if (!longer_.step(bars, i, &slow)) return false;
        out[0] = combine(fast, slow);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double fast, slow;
        shorter_.steady(bars, i, &fast);
        longer_.steady(bars, i, &slow);
        out[0] = combine(fast, slow);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(shorter_);
        archive(longer_);
        archive(delay_);
    }

private:
    double combine(double fast, double slow) const {
        if (!percent_) return fast - slow;
        if (-1e-8 < slow && slow < 1e-8) return 0.0;
        return ((fast - slow) / slow) * 100.0;
    }

    Average shorter_, longer_;
    WarmUp delay_;
    bool percent_;
};

// MACD: the line is the fast average minus the slow one (both of the input,
// read in place: Feed::bars), each started so that both give their first
// value on the same bar; the signal is an average of the line (Feed::values),
// fed from the line's first value on, its bars counted from 0. Outputs the
// line, the signal and their difference.
template <class Average, class Signal>
class MacdKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 3;

    MacdKernel(Average fast, Average slow, Signal signal)
        : fast_(std::move(fast)),
          slow_(std::move(slow)),
          signal_(std::move(signal)),
          line_lookback_(std::max(fast_.lookback(), slow_.lookback())),
          fast_delay_(line_lookback_ - fast_.lookback()),
          slow_delay_(line_lookback_ - slow_.lookback()),
          line_warm_up_(line_lookback_) {}

    Index history() const { return std::max(fast_.history(), slow_.history()); }
    Index lookback() const { return line_lookback_ + signal_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double fast = 0.0, slow = 0.0;
        if (!fast_delay_.consume()) fast_.step(bars, i, &fast);
        if (!slow_delay_.consume()) slow_.step(bars, i, &slow);
        if (line_warm_up_.consume()) return false;
        const double line = fast - slow;
        double signal;
        if (!signal_.push(line_bar_++, line, &signal)) return false;
        write(line, signal, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double fast, slow, signal;
        fast_.steady(bars, i, &fast);
        slow_.steady(bars, i, &slow);
        const double line = fast - slow;
        signal_.push_steady(line_bar_++, line, &signal);
        write(line, signal, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(fast_);
        archive(slow_);
        archive(signal_);
        archive(fast_delay_);
        archive(slow_delay_);
        archive(line_warm_up_);
        archive.bounded(line_bar_, 0, INT64_MAX);
    }

private:
    static void write(double line, double signal, double* out) {
        out[0] = line;
        out[1] = signal;
        out[2] = line - signal;
    }

    Average fast_, slow_;
    Signal signal_;
    Index line_lookback_;
    WarmUp fast_delay_, slow_delay_, line_warm_up_;
    Index line_bar_ = 0;  // bars of the line fed to the signal
};

// MAC2: the MACD line alone, with a 3-bar simple signal that only delays it.
template <class Average, class Signal>
class Mac2Kernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit Mac2Kernel(MacdKernel<Average, Signal> macd) : macd_(std::move(macd)) {}

    Index history() const { return macd_.history(); }
    Index lookback() const { return macd_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double lines[3];
        if (!macd_.step(bars, i, lines)) return false;
        out[0] = lines[0];
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double lines[3];
        macd_.steady(bars, i, lines);
        out[0] = lines[0];
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(macd_);
    }

private:
    MacdKernel<Average, Signal> macd_;
};

PriceOscillatorKernel<AnyMaKernel> apo_kernel(const double* params, const UnstablePeriods& unstable);
PriceOscillatorKernel<AnyMaKernel> ppo_kernel(const double* params, const UnstablePeriods& unstable);
MacdKernel<AnyMaKernel, AnyMaKernel> macd_kernel(const double* params, const UnstablePeriods& unstable);
MacdKernel<AnyMaKernel, AnyMaKernel> macd_fixed_kernel(const double* params, const UnstablePeriods& unstable);
Mac2Kernel<AnyMaKernel, AnyMaKernel> mac2_kernel(const double* params, const UnstablePeriods& unstable);

// The entries run the kernels compiled for the chosen average kinds. The
// oscillators' shorter average starts from the later of the first index and
// its own lookback; the MACD lines keep their averages' storage, and when it
// cannot be had they return RC_NO_MEMORY with out_begin and out_count 0.
RetCode apo_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request);
RetCode ppo_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request);
RetCode macd_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 3>& request);
RetCode mac2_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request);
template <>
inline constexpr auto entry_runner<&apo_kernel> = &apo_run;
template <>
inline constexpr auto entry_runner<&ppo_kernel> = &ppo_run;
template <>
inline constexpr auto entry_runner<&macd_kernel> = &macd_run;
template <>
inline constexpr auto entry_runner<&mac2_kernel> = &mac2_run;
// An empty range takes no storage.
Index macd_range_lookback(const double* params, const UnstablePeriods& unstable);
Index mac2_range_lookback(const double* params, const UnstablePeriods& unstable);
template <>
inline constexpr EntryForm entry_form<&macd_kernel>{.memory = OnNoMemory::reports_empty,
                                                    .lookback_before_storage = &macd_range_lookback};
template <>
inline constexpr EntryForm entry_form<&mac2_kernel>{.memory = OnNoMemory::reports_empty,
                                                    .lookback_before_storage = &mac2_range_lookback};

}  // namespace movlex
