// Random walk index: how far the price has moved over k bars against the
// distance a random walk would go, ATR * sqrt(k), at the best k.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array RWI_PARAMS{integer_param("period", 14, 2)};

// Inputs high, low, close; outputs high and low. For each k from 2 to n:
// the average true range of the last k bars, atr = (sum of TR) / k, and
//   high: (high[t] - low[t - k]) / (atr * sqrt(k)),
//   low:  (high[t - k] - low[t]) / (atr * sqrt(k)),
// a term 0 where atr * sqrt(k) is 0; each output is the largest of its
// terms. Every bar scans its window (n true ranges): the best k has no
// running form.
class RwiKernel : public IdleWarmUpKernel<RwiKernel> {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    explicit RwiKernel(std::int32_t period) : IdleWarmUpKernel(period), period_(period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double high = bars(0, i), low = bars(1, i);
        double ranges = true_range(high, low, bars(2, i - 1));  // the last k bars' true ranges
        double best_high = 0.0, best_low = 0.0;
        for (Index k = 2; k <= period_; ++k) {
            ranges += true_range(bars(0, i - k + 1), bars(1, i - k + 1), bars(2, i - k));
            const double walk = (ranges / double(k)) * std::sqrt(double(k));
            const double up = walk == 0.0 ? 0.0 : (high - bars(1, i - k)) / walk;
            const double down = walk == 0.0 ? 0.0 : (bars(0, i - k) - low) / walk;
            if (k == 2 || up > best_high) best_high = up;
            if (k == 2 || down > best_low) best_low = down;
        }
        out[0] = best_high;
        out[1] = best_low;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
    }

private:
    Index period_;
};

inline RwiKernel rwi_kernel(const double* params, const UnstablePeriods&) {
    return RwiKernel(std::int32_t(params[0]));
}

}  // namespace movlex
