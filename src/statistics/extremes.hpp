// Highest and lowest value over a sliding window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "movlex.h"

namespace movlex {

// MIN (LOWEST) shares the period of MAX (HIGHEST).
inline constexpr std::array HIGHEST_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& LOWEST_PARAMS = HIGHEST_PARAMS;

// The extreme of the last `period` values.
template <class Direction>
class ExtremeKernel : public IdleWarmUpKernel<ExtremeKernel<Direction>> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ExtremeKernel(std::int32_t period) : IdleWarmUpKernel<ExtremeKernel>(period - 1), period_(period), extreme_(period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = extreme_.advance(input_series(bars, 0), i);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(extreme_);
        archive(this->warm_up_);
    }

private:
    Index period_;
    WindowExtreme<Direction> extreme_;
};

using MaxKernel = ExtremeKernel<Highest>;
using MinKernel = ExtremeKernel<Lowest>;

MaxKernel max_kernel(const double* params, const UnstablePeriods& unstable);
MinKernel min_kernel(const double* params, const UnstablePeriods& unstable);

// The window's storage is taken only when there is something to compute.
template <>
inline constexpr EntryForm entry_form<&max_kernel>{.memory = OnNoMemory::reports_empty,
                                                   .lookback_before_storage = &window_lookback};
template <>
inline constexpr EntryForm entry_form<&min_kernel> = entry_form<&max_kernel>;

}  // namespace movlex
