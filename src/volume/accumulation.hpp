// Accumulation/distribution line (AD) and its oscillator (ADOSC).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array ADOSC_PARAMS{integer_param("fast_period", 3, 2), integer_param("slow_period", 10, 2)};

// A bar moves the line only when its range high - low is positive.
inline bool moves_line(double high, double low) { return high - low > 0.0; }

// Volume weighted by where the close lies in the bar's range:
// ((close - low) - (high - close)) / (high - low) * volume.
inline double line_contribution(double high, double low, double close, double volume) {
    return ((close - low) - (high - close)) / (high - low) * volume;
}

// The line after bar i (inputs high, low, close, volume).
template <class Bars>
double accumulate_line(double line, const Bars& bars, Index i) {
    const double high = bars(0, i), low = bars(1, i);
    if (!moves_line(high, low)) return line;
    return line + line_contribution(high, low, bars(2, i), bars(3, i));
}

// The line from 0 at the first bar fed: nothing is carried over from earlier
// calls, so the values depend on where the request starts.
class AdKernel : public EachBarKernel<AdKernel> {
public:
    static constexpr int inputs = 4;  // high, low, close, volume
    static constexpr int outputs = 1;

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        line_ = accumulate_line(line_, bars, i);
        out[0] = line_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(line_);
    }

private:
    double line_ = 0.0;
};

// An exponential average of the line with its factor 2 / (period + 1) and
// complement precomputed: complement * average + factor * value.
class LineAverage {
public:
    explicit LineAverage(std::int32_t period)
        : factor_(2.0 / static_cast<double>(period + 1)), complement_(1.0 - factor_) {}
    void seed(double value) { value_ = value; }
    void add(double x) { value_ = complement_ * value_ + factor_ * x; }
    double value() const { return value_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(value_);
    }

private:
    double factor_;
    double complement_;
    double value_ = 0.0;
};

// Fast average minus slow average of the line. Both averages are seeded with
// the line at the first bar fed, which is that bar's contribution alone (0
// when it has no range); the first output comes after the EMA's lookback for
// the longer period.
class AdoscKernel {
public:
    static constexpr int inputs = 4;  // high, low, close, volume
    static constexpr int outputs = 1;

    AdoscKernel(std::int32_t fast_period, std::int32_t slow_period, std::int32_t unstable)
        : fast_(fast_period), slow_(slow_period),
          lookback_(Index{std::max(fast_period, slow_period)} - 1 + unstable), warm_up_(lookback_) {}

    Index history() const { return 1; }
    Index lookback() const { return lookback_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (seeded_) {
            advance(bars, i);
        } else {
            const double high = bars(0, i), low = bars(1, i);
            line_ = moves_line(high, low) ? line_contribution(high, low, bars(2, i), bars(3, i)) : 0.0;
            fast_.seed(line_);
            slow_.seed(line_);
            seeded_ = true;
        }
        if (warm_up_.consume()) return false;
        out[0] = fast_.value() - slow_.value();
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        advance(bars, i);
        out[0] = fast_.value() - slow_.value();
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(line_);
        archive(fast_);
        archive(slow_);
        archive(seeded_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    void advance(const Bars& bars, Index i) {
        line_ = accumulate_line(line_, bars, i);
        fast_.add(line_);
        slow_.add(line_);
    }

    LineAverage fast_, slow_;
    Index lookback_;
    WarmUp warm_up_;
    double line_ = 0.0;
    bool seeded_ = false;
};

AdKernel ad_kernel(const double* params, const UnstablePeriods& unstable);
AdoscKernel adosc_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
