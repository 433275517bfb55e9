// Highest and lowest value over a sliding window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "movlex.h"

namespace movlex {

// MIN (LOWEST) shares the period of MAX (HIGHEST).
inline constexpr std::array HIGHEST_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& LOWEST_PARAMS = HIGHEST_PARAMS;

std::int32_t max_lookback(std::int32_t period);
std::int32_t min_lookback(std::int32_t period);

// out may be input.
RetCode max_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode min_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

// The extreme of the last `period` values.
template <class Direction>
class ExtremeKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ExtremeKernel(std::int32_t period) : period_(period), extreme_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) {
            extreme_.enter(input_series(bars, 0), i);
            return false;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = extreme_.advance(input_series(bars, 0), i);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(extreme_);
        archive(warm_up_);
    }

private:
    Index period_;
    WindowExtreme<Direction> extreme_;
    WarmUp warm_up_;
};

using MaxKernel = ExtremeKernel<Highest>;
using MinKernel = ExtremeKernel<Lowest>;

MaxKernel max_kernel(const double* params, const UnstablePeriods& unstable);
MinKernel min_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
