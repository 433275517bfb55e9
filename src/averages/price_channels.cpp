#include "averages/price_channels.hpp"

namespace movlex {

DonchianKernel donchian_kernel(const double* params, const UnstablePeriods&) {
    return DonchianKernel(std::int32_t(params[0]));
}

KeltnerKernel keltner_kernel(const double* params, const UnstablePeriods& unstable) {
    return KeltnerKernel(std::int32_t(params[0]), std::int32_t(params[1]), params[2], unstable[UNSTABLE_EMA],
                         unstable[UNSTABLE_ATR]);
}

ChandelierKernel chandelier_kernel(const double* params, const UnstablePeriods& unstable) {
    return ChandelierKernel(std::int32_t(params[0]), params[1], unstable[UNSTABLE_ATR]);
}

}  // namespace movlex
