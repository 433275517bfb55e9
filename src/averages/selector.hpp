// Moving-average type selector: computes any of the nine averages by MaType.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <variant>

#include "averages/exponential.hpp"
#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MA_PARAMS{integer_param("period", 30, 1), ma_type_param("ma_type")};

// Lookback of the selected average; 0 for a period of 1; -1 out of range.
std::int32_t ma_lookback(std::int32_t period, std::int32_t ma_type);

// Parameters as MA_PARAMS; a period of 1 copies the input. out may be input.
RetCode ma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out);

// The average of a period of 1: the value itself.
class CopyKernel : public EachBarKernel<CopyKernel> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = bars(0, i);
    }
    template <class Archive>
    void visit(Archive&) {}
};

// How a stage is fed: with the bars of the series it averages, read in place
// (the input of the kernel it is part of), or with one value per bar of a
// series derived inside that kernel, which the stage keeps as far back as
// its average reads.
enum class Feed { bars, values };

// One average as a stage of a larger kernel. Fed with bars: step(bars, i,
// out) and steady(bars, i, out) as for any kernel, reading back up to
// history() bars. Fed with values: push(i, value, out) consumes `value` as
// bar i and, once the warm-up is over, writes the output to out[0] and
// returns true; push_steady(i, value, out) after that. Only the first output
// of an average is kept.
template <class Average>
class AverageStage {
public:
    explicit AverageStage(const Average& average, Feed feed = Feed::values)
        : average_(average),
          reads_history_(average.history() > 1),
          series_(feed == Feed::values && reads_history_ ? DerivedSeries(average.history()) : DerivedSeries()) {}

    Index history() const { return average_.history(); }
    Index lookback() const { return average_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double values[Average::outputs];
        if (!average_.step(bars, i, values)) return false;
        out[0] = values[0];
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double values[Average::outputs];
        average_.steady(bars, i, values);
        out[0] = values[0];
    }

    bool push(Index i, double value, double* out) {
        return reads_history_ ? step(series_.push(i, value), i, out) : step(ValueBars{value}, i, out);
    }

    void push_steady(Index i, double value, double* out) {
        if (reads_history_)
            steady(series_.push(i, value), i, out);
        else
            steady(ValueBars{value}, i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
        archive(series_);
    }

private:
    Average average_;
    bool reads_history_;
    DerivedSeries series_;
};

// The selector's own rules: a period of 1 copies the input; MAMA runs with
// limits 0.5 and 0.05 (its FAMA line is dropped), T3 with volume factor 0.7.
inline constexpr double SELECTOR_MAMA_FAST_LIMIT = 0.5;
inline constexpr double SELECTOR_MAMA_SLOW_LIMIT = 0.05;
inline constexpr double SELECTOR_T3_VOLUME_FACTOR = 0.7;

// The kind of average K as a value, for visitors.
template <class K>
struct AverageKind {
    using type = K;
};

// Calls visitor(AverageKind<K>{}) with the kernel type K that `period` and
// `ma_type` (both valid) select: a composite can so be compiled once per
// average and choose it once per call.
template <class Visitor>
decltype(auto) with_average_kind(std::int32_t period, std::int32_t ma_type, Visitor&& visitor) {
    if (period == 1) return visitor(AverageKind<CopyKernel>{});
    switch (ma_type) {
        case MA_SMA: return visitor(AverageKind<SmaKernel>{});
        case MA_EMA: return visitor(AverageKind<EmaKernel>{});
        case MA_WMA: return visitor(AverageKind<WmaKernel>{});
        case MA_DEMA: return visitor(AverageKind<DemaKernel>{});
        case MA_TEMA: return visitor(AverageKind<TemaKernel>{});
        case MA_TRIMA: return visitor(AverageKind<TrimaKernel>{});
        case MA_KAMA: return visitor(AverageKind<KamaKernel>{});
        case MA_MAMA: return visitor(AverageKind<MamaKernel>{});
        default: return visitor(AverageKind<T3Kernel>{});
    }
}

// The average of kind K for a period (of 1 only for CopyKernel) under the
// selector's rules.
inline CopyKernel make_average(AverageKind<CopyKernel>, std::int32_t, const UnstablePeriods&) { return {}; }
inline SmaKernel make_average(AverageKind<SmaKernel>, std::int32_t period, const UnstablePeriods&) {
    return SmaKernel(period);
}
inline EmaKernel make_average(AverageKind<EmaKernel>, std::int32_t period, const UnstablePeriods& unstable) {
    return EmaKernel(period, ema_smoothing_factor(period), unstable[UNSTABLE_EMA]);
}
inline WmaKernel make_average(AverageKind<WmaKernel>, std::int32_t period, const UnstablePeriods&) {
    return WmaKernel(period);
}
inline DemaKernel make_average(AverageKind<DemaKernel>, std::int32_t period, const UnstablePeriods& unstable) {
    return DemaKernel(period, unstable[UNSTABLE_EMA]);
}
inline TemaKernel make_average(AverageKind<TemaKernel>, std::int32_t period, const UnstablePeriods& unstable) {
    return TemaKernel(period, unstable[UNSTABLE_EMA]);
}
inline TrimaKernel make_average(AverageKind<TrimaKernel>, std::int32_t period, const UnstablePeriods&) {
    return TrimaKernel(period);
}
inline KamaKernel make_average(AverageKind<KamaKernel>, std::int32_t period, const UnstablePeriods& unstable) {
    return KamaKernel(period, unstable[UNSTABLE_KAMA]);
}
inline MamaKernel make_average(AverageKind<MamaKernel>, std::int32_t, const UnstablePeriods& unstable) {
    return MamaKernel(SELECTOR_MAMA_FAST_LIMIT, SELECTOR_MAMA_SLOW_LIMIT, unstable[UNSTABLE_MAMA]);
}
inline T3Kernel make_average(AverageKind<T3Kernel>, std::int32_t period, const UnstablePeriods& unstable) {
    return T3Kernel(period, SELECTOR_T3_VOLUME_FACTOR, unstable[UNSTABLE_T3]);
}

template <class K>
AverageStage<K> average_stage(AverageKind<K> kind, std::int32_t period, const UnstablePeriods& unstable,
                              Feed feed = Feed::values) {
    return AverageStage<K>(make_average(kind, period, unstable), feed);
}

// Calls visitor(stage) with the stage of the average that `period` and
// `ma_type` select, fed one value per bar.
template <class Visitor>
decltype(auto) with_average(std::int32_t period, std::int32_t ma_type, const UnstablePeriods& unstable,
                            Visitor&& visitor) {
    return with_average_kind(period, ma_type,
                             [&](auto kind) { return visitor(average_stage(kind, period, unstable)); });
}

// Any of the averages by period and MaType, chosen when it is made; the same
// interface as AverageStage. As a stage fed a derived series:
//
//   AnyMaKernel signal(period, ma_type, unstable);   // in the constructor
//   double d;
//   if (!signal.push(i, k_value, &d)) return false;   // in step()
//   signal.push_steady(i, k_value, &d);               // in steady()
//   archive(signal);                                  // in visit()
//
// and as a stage over the kernel's own input, made with Feed::bars, through
// step(bars, i, out) and steady(bars, i, out); the kernel's history() must
// then cover the stage's. lookback() is the selector's lookback (ma_lookback)
// under the given unstable periods.
class AnyMaKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    AnyMaKernel(std::int32_t period, std::int32_t ma_type, const UnstablePeriods& unstable,
                Feed feed = Feed::values)
        : stage_(with_average_kind(
              period, ma_type, [&](auto kind) { return Stage(average_stage(kind, period, unstable, feed)); })) {}

    Index history() const {
        return std::visit([](const auto& stage) { return stage.history(); }, stage_);
    }
    Index lookback() const {
        return std::visit([](const auto& stage) { return stage.lookback(); }, stage_);
    }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        return std::visit([&](auto& stage) { return stage.step(bars, i, out); }, stage_);
    }
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        std::visit([&](auto& stage) { stage.steady(bars, i, out); }, stage_);
    }

    bool push(Index i, double value, double* out) {
        return std::visit([&](auto& stage) { return stage.push(i, value, out); }, stage_);
    }
    void push_steady(Index i, double value, double* out) {
        std::visit([&](auto& stage) { stage.push_steady(i, value, out); }, stage_);
    }

    // The chosen average is fixed by the parameters, so only its state is listed.
    template <class Archive>
    void visit(Archive& archive) {
        std::visit([&](auto& stage) { archive(stage); }, stage_);
    }

private:
    using Stage = std::variant<AverageStage<CopyKernel>, AverageStage<SmaKernel>, AverageStage<EmaKernel>,
                               AverageStage<WmaKernel>, AverageStage<DemaKernel>, AverageStage<TemaKernel>,
                               AverageStage<TrimaKernel>, AverageStage<KamaKernel>, AverageStage<MamaKernel>,
                               AverageStage<T3Kernel>>;
    Stage stage_;
};

}  // namespace movlex
