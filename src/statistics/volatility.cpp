#include "statistics/volatility.hpp"

#include "frame/elementary.hpp"

namespace movlex {

double CloseToClose::log_ratio(double numerator, double denominator) { return portable_log(numerator / denominator); }

double rogers_satchell_term(double open, double high, double low, double close) {
    return CloseToClose::log_ratio(high, close) * CloseToClose::log_ratio(high, open) +
           CloseToClose::log_ratio(low, close) * CloseToClose::log_ratio(low, open);
}

YangZhang::YangZhang(std::int32_t period)
    : count_(period), weight_(0.34 / (1.34 + (count_ + 1.0) / (count_ - 1.0))) {}

double YangZhang::variance(const Moments& m, double rogers_satchell_sum) const {
    const double overnight = m.squares_a / (count_ - 1.0);
    const double open_to_close = m.squares_b / (count_ - 1.0);
    const double ranges = rogers_satchell_sum / count_;
    return (overnight + weight_ * open_to_close) + (1.0 - weight_) * ranges;
}

VolatilityKernel<CloseToClose> hv_close_kernel(const double* params, const UnstablePeriods&) {
    return {std::int32_t(params[0]), params[1]};
}
VolatilityKernel<Parkinson> hv_parkinson_kernel(const double* params, const UnstablePeriods&) {
    return {std::int32_t(params[0]), params[1]};
}
VolatilityKernel<GarmanKlass> hv_garman_klass_kernel(const double* params, const UnstablePeriods&) {
    return {std::int32_t(params[0]), params[1]};
}
VolatilityKernel<RogersSatchell> hv_rogers_satchell_kernel(const double* params, const UnstablePeriods&) {
    return {std::int32_t(params[0]), params[1]};
}
YangZhangKernel hv_yang_zhang_kernel(const double* params, const UnstablePeriods&) {
    return {std::int32_t(params[0]), params[1]};
}

}  // namespace movlex
