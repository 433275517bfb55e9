// Plus and minus directional indicators: the Wilder-smoothed movement of one
// side in percent of the Wilder-smoothed true range.
#pragma once

#include <array>
#include <cstdint>

#include "directional/directional_smoother.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// MINUS_DI shares the period of PLUS_DI.
inline constexpr std::array PLUS_DI_PARAMS{integer_param("period", 14, 1)};
inline constexpr auto& MINUS_DI_PARAMS = PLUS_DI_PARAMS;

// Period 1: 1. Otherwise period plus the unstable period of the indicator's
// slot; -1 out of range.
std::int32_t plus_di_lookback(std::int32_t period);
std::int32_t minus_di_lookback(std::int32_t period);

RetCode plus_di_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                        const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                        double* out);
RetCode minus_di_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                         const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                         double* out);

// One side's directional indicator over high, low and close. Period 1
// divides each bar's own movement by its own true range (a bar without
// movement on this side is 0 whatever its range) and ignores the unstable
// period. Longer periods divide the smoothed movement by the smoothed range;
// the first output comes one smoothing step past the seed, plus `unstable`.
template <directional::Side side, class V = double>
class IndicatorKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    IndicatorKernel(std::int32_t period, std::int32_t unstable)
        : period_(period),
          unstable_(unstable),
          one_bar_(period == 1),
          lookback_(one_bar_ ? 1 : Index{period} + unstable),
          sums_(period),
          warm_up_(lookback_) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    IndicatorKernel<side, U> retyped() const {
        return {period_, unstable_};
    }

    Index history() const { return 1; }
    Index lookback() const { return lookback_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        const bool warming = warm_up_.consume();
        directional::BarMeasures<V> bar;
        if (!reader_.step(bars, i, bar)) return false;
        if (!one_bar_) sums_.add(bar);
        if (warming) return false;
        out[0] = value(bar);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        const directional::BarMeasures<V> bar = reader_.next(bars, i);
        if (!one_bar_) sums_.smooth(bar);
        out[0] = value(bar);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(reader_);
        archive(sums_);
        archive(warm_up_);
    }

private:
    V value(const directional::BarMeasures<V>& bar) const {
        if (!one_bar_) return sums_.indicator(side);
        const V movement = directional::side_of(bar.movement, side);
        return pick(movement == 0.0, V{}, percent_of(movement, bar.range));
    }

    std::int32_t period_;
    std::int32_t unstable_;
    bool one_bar_;
    Index lookback_;
    directional::BarReader<true, V> reader_;
    directional::DirectionalSums<true, V> sums_;
    WarmUp warm_up_;
};

using PlusDiKernel = IndicatorKernel<directional::Side::plus>;
using MinusDiKernel = IndicatorKernel<directional::Side::minus>;

PlusDiKernel plus_di_kernel(const double* params, const UnstablePeriods& unstable);
MinusDiKernel minus_di_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
