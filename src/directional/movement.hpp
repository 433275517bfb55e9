// Plus and minus directional movement: each bar's one-bar movement, or with a
// period of 2 or more its Wilder running sum.
#pragma once

#include <array>
#include <cstdint>

#include "directional/directional_smoother.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// MINUS_DM shares the period of PLUS_DM.
inline constexpr std::array PLUS_DM_PARAMS{integer_param("period", 14, 1)};
inline constexpr auto& MINUS_DM_PARAMS = PLUS_DM_PARAMS;

// Period 1: 1. Otherwise period - 1 plus the unstable period of the
// indicator's slot; -1 out of range.
std::int32_t plus_dm_lookback(std::int32_t period);
std::int32_t minus_dm_lookback(std::int32_t period);

RetCode plus_dm_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                        std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode minus_dm_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                         std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out);

// One side's movement over high and low. Period 1 reports each bar's one-bar
// movement from bar 1 on and ignores the unstable period. Longer periods sum
// the movement of the period - 1 bars after the first, then smooth every
// later bar in; the first output comes `unstable` bars after that sum.
template <directional::Side side, class V = double>
class MovementKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    MovementKernel(std::int32_t period, std::int32_t unstable)
        : period_(period),
          unstable_(unstable),
          one_bar_(period == 1),
          lookback_(one_bar_ ? 1 : Index{period} - 1 + unstable),
          sums_(period),
          warm_up_(lookback_) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    MovementKernel<side, U> retyped() const {
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
        return one_bar_ ? directional::side_of(bar.movement, side) : sums_.movement(side);
    }

    std::int32_t period_;
    std::int32_t unstable_;
    bool one_bar_;
    Index lookback_;
    directional::BarReader<false, V> reader_;
    directional::DirectionalSums<false, V> sums_;
    WarmUp warm_up_;
};

using PlusDmKernel = MovementKernel<directional::Side::plus>;
using MinusDmKernel = MovementKernel<directional::Side::minus>;

PlusDmKernel plus_dm_kernel(const double* params, const UnstablePeriods& unstable);
MinusDmKernel minus_dm_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
