// Z-score: how many population standard deviations the value lies from the
// mean of its window.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array ZSCORE_PARAMS{integer_param("period", 20, 2)};

// With the window's moments relative to the shift K (frame/window_moments.hpp):
// ((x - K) - mean) / sqrt(squares / n); 0 for a window of equal values.
class ZscoreKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit ZscoreKernel(std::int32_t period) : window_(period) {}

    Index history() const { return window_.history(); }
    Index lookback() const { return window_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        Moments moments;
        if (!window_.step(i, pair_of(bars), moments)) return false;
        out[0] = score(bars(0, i), moments);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = score(bars(0, i), window_.next(i, pair_of(bars)));
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    template <class Bars>
    static auto pair_of(const Bars& bars) {
        return [&bars](Index j) { return std::pair{bars(0, j), 0.0}; };
    }

    double score(double value, const Moments& m) const {
        if (m.squares_a == 0.0) return 0.0;
        return ((value - window_.shift_a()) - m.mean_a) / std::sqrt(m.squares_a / m.count);
    }

    WindowMoments window_;
};

ZscoreKernel zscore_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
