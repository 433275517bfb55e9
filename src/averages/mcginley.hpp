// The McGinley dynamic (John R. McGinley): an average that follows the price
// at a speed set by the price's own ratio to the line, slowing as the price
// runs away above it and catching up faster as it falls below.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array MCGINLEY_PARAMS{integer_param("period", 10, 1)};

// Seeded with the mean of the first `period` values; then, each bar,
// r = x / line, line + (x - line) / (period * ((r * r) * (r * r))). A line of
// 0 or a divisor of 0 (a price of 0) moves the line to the price.
class McginleyKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit McginleyKernel(std::int32_t period) : period_(period), seeding_(period) {}

    Index history() const { return 1; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (seeding_ == 0) {
            steady(bars, i, out);
            return true;
        }
        sum_ += bars(0, i);
        if (--seeding_ > 0) return false;
        line_ = sum_ / static_cast<double>(period_);
        out[0] = line_;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double x = bars(0, i);
        const double ratio = x / line_;
        const double divisor = static_cast<double>(period_) * ((ratio * ratio) * (ratio * ratio));
        line_ = line_ == 0.0 || divisor == 0.0 ? x : line_ + (x - line_) / divisor;
        out[0] = line_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(line_);
        archive.bounded(seeding_, 0, period_);
    }

private:
    Index period_;
    Index seeding_;
    double sum_ = 0.0;
    double line_ = 0.0;
};

inline McginleyKernel mcginley_kernel(const double* params, const UnstablePeriods&) {
    return McginleyKernel(std::int32_t(params[0]));
}

}  // namespace movlex
