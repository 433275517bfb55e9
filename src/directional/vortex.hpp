// Vortex indicator: upward and downward vortex movement against the true
// range, each summed over the same window.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_sum.hpp"

namespace movlex {

inline constexpr std::array VORTEX_PARAMS{integer_param("period", 14, 2)};

// From the second bar on: VM+ = |high - previous low|, VM- = |low -
// previous high|, TR the true range; +VI = sum(VM+) / sum(TR) and -VI =
// sum(VM-) / sum(TR) over the last `period` bars, both 0 when the summed
// true range is zero.
class VortexKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    explicit VortexKernel(std::int32_t period) : plus_(period), minus_(period), range_(period), first_bar_(1) {}

    Index history() const { return 2; }
    Index lookback() const { return 1 + range_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (first_bar_.consume()) return false;
        Sums sums;
        if (!add(bars, i, sums)) return false;
        write(sums, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        Sums sums;
        add(bars, i, sums);
        write(sums, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(plus_);
        archive(minus_);
        archive(range_);
        archive(first_bar_);
    }

private:
    struct Sums {
        double plus = 0.0, minus = 0.0, range = 0.0;
    };

    template <class Bars>
    bool add(const Bars& bars, Index i, Sums& sums) {
        const double high = bars(0, i), low = bars(1, i);
        const double previous_high = bars(0, i - 1), previous_low = bars(1, i - 1);
        plus_.push(i, std::fabs(high - previous_low), &sums.plus);
        minus_.push(i, std::fabs(low - previous_high), &sums.minus);
        return range_.push(i, true_range(high, low, bars(2, i - 1)), &sums.range);
    }

    static void write(const Sums& sums, double* out) {
        out[0] = sums.range == 0.0 ? 0.0 : sums.plus / sums.range;
        out[1] = sums.range == 0.0 ? 0.0 : sums.minus / sums.range;
    }

    WindowSum plus_, minus_, range_;
    WarmUp first_bar_;
};

VortexKernel vortex_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
