// Momentum (MOM) and rate of change (ROC): each value against the value
// `period` bars earlier.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// ROC shares the period of MOM.
inline constexpr std::array MOM_PARAMS{integer_param("period", 10, 1)};
inline constexpr auto& ROC_PARAMS = MOM_PARAMS;

inline double difference(double current, double reference) { return current - reference; }

// Percent change, (current / reference - 1) * 100 in that order; 0 against a
// reference of exactly zero (either sign).
inline double percent_change(double current, double reference) {
    if (reference == 0.0) return 0.0;
    return (current / reference - 1.0) * 100.0;
}

// measure(value, value `period` bars earlier), from the bar `period` bars
// after the first one on; nothing is carried from bar to bar.
template <double (*measure)(double current, double reference)>
class ComparisonKernel : public IdleWarmUpKernel<ComparisonKernel<measure>> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ComparisonKernel(std::int32_t period) : IdleWarmUpKernel<ComparisonKernel>(period), period_(period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = measure(bars(0, i), bars(0, i - period_));
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(this->warm_up_);
    }

private:
    Index period_;
};

using MomKernel = ComparisonKernel<difference>;
using RocKernel = ComparisonKernel<percent_change>;

MomKernel mom_kernel(const double* params, const UnstablePeriods& unstable);
RocKernel roc_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
