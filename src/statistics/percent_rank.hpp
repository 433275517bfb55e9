// Percent rank: the share of the preceding values that lie below the current
// one.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array PERCENT_RANK_PARAMS{integer_param("period", 20, 1)};

// The window is the `period` bars before the current one (the current value
// is not compared with itself). Values equal to the current one do not count,
// nor do NaNs, and a NaN current value counts nothing: (below * 100) / period.
// Counting needs the whole window, so a bar costs `period` comparisons.
class PercentRankKernel : public IdleWarmUpKernel<PercentRankKernel> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit PercentRankKernel(std::int32_t period) : IdleWarmUpKernel(period), period_(period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) const {
        const double value = bars(0, i);
        Index below = 0;
        for (Index j = i - period_; j < i; ++j)
            if (bars(0, j) < value) ++below;
        out[0] = (static_cast<double>(below) * 100.0) / static_cast<double>(period_);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
    }

private:
    Index period_;
};

PercentRankKernel percent_rank_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
