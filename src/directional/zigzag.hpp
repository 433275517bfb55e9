// The zigzag of Arthur Merrill's filtered waves: the turning points of a
// series once it has moved back from them by more than a threshold. A turn
// is known only when that reversal happens, so each one is reported at the
// bar that confirms it, with its distance back, and never revised.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array ZIGZAG_PARAMS{real_param("deviation", 5.0, 1e-6, 1e6)};

// Input the series; outputs pivot, bars_back, direction. From the first bar
// the series' highest and lowest values so far are candidates (the oldest of
// equal ones kept). A value at or below peak * (1 - deviation / 100)
// confirms the candidate peak, one at or above trough * (1 + deviation /
// 100) the candidate trough; the wave then turns, and the confirming value
// is the first candidate of the opposite kind. At a confirming bar: the
// pivot's value, its distance back in bars (1 or more) and 1 for a peak, -1
// for a trough; at every other bar NaN, 0 and 0. NaN values are passed over.
class ZigzagKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 3;

    explicit ZigzagKernel(double deviation)
        : falling_(1.0 - deviation / 100.0), rising_(1.0 + deviation / 100.0) {}

    Index history() const { return 1; }
    Index lookback() const { return 0; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double value = bars(0, i);
        out[0] = std::numeric_limits<double>::quiet_NaN();
        out[1] = 0.0;
        out[2] = 0.0;
        if (first_bar_.consume()) {
            peak_ = trough_ = {value, i};
            return;
        }
        const bool seeking_peak = direction_ >= 0.0, seeking_trough = direction_ <= 0.0;
        if (seeking_peak && value > peak_.value) peak_ = {value, i};
        if (seeking_trough && value < trough_.value) trough_ = {value, i};
        if (seeking_peak && value <= peak_.value * falling_) {
            confirm(peak_, 1.0, i, out);
            trough_ = {value, i};
        } else if (seeking_trough && value >= trough_.value * rising_) {
            confirm(trough_, -1.0, i, out);
            peak_ = {value, i};
        }
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(first_bar_);
        archive(direction_);
        archive(peak_.value);
        archive.bounded(peak_.bar, 0, INT64_MAX);  // a bar already fed: the distance back cannot overflow
        archive(trough_.value);
        archive.bounded(trough_.bar, 0, INT64_MAX);
    }

private:
    struct Candidate {
        double value;
        Index bar;
    };

    // Reports the pivot and turns the wave: after a peak it seeks a trough.
    void confirm(const Candidate& pivot, double kind, Index i, double* out) {
        out[0] = pivot.value;
        out[1] = static_cast<double>(i - pivot.bar);
        out[2] = kind;
        direction_ = -kind;
    }

    double falling_;
    double rising_;
    WarmUp first_bar_{1};
    double direction_ = 0.0;  // 1 seeking a peak, -1 a trough, 0 either
    Candidate peak_{0.0, 0};
    Candidate trough_{0.0, 0};
};

inline ZigzagKernel zigzag_kernel(const double* params, const UnstablePeriods&) { return ZigzagKernel(params[0]); }

}  // namespace movlex
