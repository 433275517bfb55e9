#include "averages/exponential.hpp"

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {
constexpr std::int32_t DEFAULT_PERIOD = 30;
}

std::int32_t ema_lookback(std::int32_t period) {
    if (!resolve_integer(period, DEFAULT_PERIOD, 2, PERIOD_MAX)) return -1;
    return period - 1 + unstable_period(UNSTABLE_EMA);
}

}  // namespace movlex
