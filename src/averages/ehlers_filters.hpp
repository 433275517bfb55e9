// John Ehlers' super smoother (a two-pole Butterworth low-pass filter) and
// his roofing filter (a two-pole high-pass filter followed by the super
// smoother), "Cycle Analytics for Traders" (2013). Angles are in degrees, as
// Ehlers writes them; exp, sine and cosine are the library's own.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array SUPER_SMOOTHER_PARAMS{integer_param("period", 10, 2)};
inline constexpr std::array ROOFING_FILTER_PARAMS{integer_param("high_pass_period", 48, 2),
                                                  integer_param("low_pass_period", 10, 2)};

// The super smoother of one series fed a value a bar: with
// a = exp(-1.414 * 3.14159 / period), c2 = 2 * a * cos(1.414 * 180 / period),
// c3 = -a * a, c1 = 1 - c2 - c3, each bar
// f = c1 * (x + x[1]) / 2 + c2 * f[1] + c3 * f[2]; the first two values fed
// pass through unchanged.
class SuperSmootherStage {
public:
    explicit SuperSmootherStage(std::int32_t period);

    double push(double x) {
        const double f = filled_ < 2 ? x : c1_ * (x + previous_x_) / 2.0 + c2_ * f1_ + c3_ * f2_;
        if (filled_ < 2) ++filled_;
        previous_x_ = x;
        f2_ = f1_;
        f1_ = f;
        return f;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(previous_x_);
        archive(f1_);
        archive(f2_);
        archive.bounded(filled_, 0, 2);
    }

private:
    double c1_, c2_, c3_;
    double previous_x_ = 0.0;
    double f1_ = 0.0;
    double f2_ = 0.0;
    std::int32_t filled_ = 0;
};

class SuperSmootherKernel : public EachBarKernel<SuperSmootherKernel> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit SuperSmootherKernel(std::int32_t period) : filter_(period) {}
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = filter_.push(bars(0, i));
    }
    template <class Archive>
    void visit(Archive& archive) {
        archive(filter_);
    }

private:
    SuperSmootherStage filter_;
};

// The high-pass part: with q = 0.707 * 360 / high_pass_period (degrees),
// alpha = (cos q + sin q - 1) / cos q, each bar
// hp = (1 - alpha / 2) * (1 - alpha / 2) * (x - 2 * x[1] + x[2])
//      + 2 * (1 - alpha) * hp[1] - (1 - alpha) * (1 - alpha) * hp[2],
// 0 on the first two bars fed (which give no output); the output is the
// super smoother of hp.
class RoofingFilterKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    RoofingFilterKernel(std::int32_t high_pass_period, std::int32_t low_pass_period);

    Index history() const { return 3; }
    Index lookback() const { return 2; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (filled_ < 2) {
            ++filled_;
            smoother_.push(0.0);
            return false;
        }
        steady(bars, i, out);
        return true;
    }
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double hp = gain_ * (bars(0, i) - 2.0 * bars(0, i - 1) + bars(0, i - 2)) + feedback1_ * hp1_ -
                          feedback2_ * hp2_;
        hp2_ = hp1_;
        hp1_ = hp;
        out[0] = smoother_.push(hp);
    }
    template <class Archive>
    void visit(Archive& archive) {
        archive(smoother_);
        archive(hp1_);
        archive(hp2_);
        archive.bounded(filled_, 0, 2);
    }

private:
    double gain_;       // (1 - alpha / 2) * (1 - alpha / 2)
    double feedback1_;  // 2 * (1 - alpha)
    double feedback2_;  // (1 - alpha) * (1 - alpha)
    SuperSmootherStage smoother_;
    double hp1_ = 0.0;
    double hp2_ = 0.0;
    std::int32_t filled_ = 0;
};

inline SuperSmootherKernel super_smoother_kernel(const double* params, const UnstablePeriods&) {
    return SuperSmootherKernel(std::int32_t(params[0]));
}
inline RoofingFilterKernel roofing_filter_kernel(const double* params, const UnstablePeriods&) {
    return RoofingFilterKernel(std::int32_t(params[0]), std::int32_t(params[1]));
}

}  // namespace movlex
