#include "averages/ehlers_filters.hpp"

#include "frame/elementary.hpp"
#include "frame/sine.hpp"

namespace movlex {

SuperSmootherStage::SuperSmootherStage(std::int32_t period) {
    const double n = static_cast<double>(period);
    const double a = portable_exp(-1.414 * 3.14159 / n);
    c2_ = 2.0 * a * cosine_degrees(1.414 * 180.0 / n);
    c3_ = -a * a;
    c1_ = 1.0 - c2_ - c3_;
}

RoofingFilterKernel::RoofingFilterKernel(std::int32_t high_pass_period, std::int32_t low_pass_period)
    : smoother_(low_pass_period) {
    const double angle = 0.707 * 360.0 / static_cast<double>(high_pass_period);
    const double cosine = cosine_degrees(angle);
    const double alpha = (cosine + sine_degrees(angle) - 1.0) / cosine;
    gain_ = (1.0 - alpha / 2.0) * (1.0 - alpha / 2.0);
    feedback1_ = 2.0 * (1.0 - alpha);
    feedback2_ = (1.0 - alpha) * (1.0 - alpha);
}

}  // namespace movlex
