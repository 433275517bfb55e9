// All four compare a shorter and a longer average of one series; whichever
// period is smaller is used as the fast one, whatever the caller named it.
#include "oscillators/price_oscillators.hpp"

#include <algorithm>
#include <utility>

#include "averages/selector.hpp"
#include "frame/contract.hpp"

namespace movlex {

namespace {

constexpr std::int32_t MAC2_SIGNAL_PERIOD = 3;

// The bars of the shorter average before the first output: each average
// starts from the later of first_index and its own lookback, so the shorter
// one may start after the longer.
Index shorter_delay(std::int32_t first_index, Index shorter_lookback, Index start, Index longer_lookback) {
    return (std::max<Index>(first_index, shorter_lookback) - shorter_lookback) - (start - longer_lookback);
}

// Both averages in one pass over the input, nothing allocated: one kernel
// type per average kind.
RetCode price_oscillator(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request,
                         bool percent) {
    const auto fast_period = std::int32_t(params[0]), slow_period = std::int32_t(params[1]);
    const auto ma_type = std::int32_t(params[2]);
    const std::int32_t shorter = std::min(fast_period, slow_period);
    const std::int32_t longer = std::max(fast_period, slow_period);
    return with_average_kind(longer, ma_type, [&](auto kind) {
        auto shorter_average = average_stage(kind, shorter, unstable, Feed::bars);
        auto longer_average = average_stage(kind, longer, unstable, Feed::bars);
        const Index lookback = longer_average.lookback();
        const Index start = std::max<Index>(request.first_index, lookback);
        const Index delay = shorter_delay(request.first_index, shorter_average.lookback(), start, lookback);
        return run_request(PriceOscillatorKernel(std::move(shorter_average), std::move(longer_average), delay, percent),
                           request);
    });
}

// Calls run(kernel) with the MACD kernel of the parameters (validated, the
// fast period no longer than the slow one): one kernel type per average kind
// when the three averages are of one kind, else the selector's.
template <class Run>
RetCode with_macd_kernel(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                         std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type,
                         const UnstablePeriods& unstable, Run&& run) {
    if (fast_ma_type == slow_ma_type && slow_ma_type == signal_ma_type && signal_period > 1)
        return with_average_kind(slow_period, slow_ma_type, [&](auto kind) {
            return run(MacdKernel(average_stage(kind, fast_period, unstable, Feed::bars),
                                  average_stage(kind, slow_period, unstable, Feed::bars),
                                  average_stage(kind, signal_period, unstable)));
        });
    return run(MacdKernel(AnyMaKernel(fast_period, fast_ma_type, unstable, Feed::bars),
                          AnyMaKernel(slow_period, slow_ma_type, unstable, Feed::bars),
                          AnyMaKernel(signal_period, signal_ma_type, unstable)));
}

// Each type stays with its period.
void order_by_period(std::int32_t& fast_period, std::int32_t& fast_ma_type, std::int32_t& slow_period,
                     std::int32_t& slow_ma_type) {
    if (slow_period < fast_period) {
        std::swap(fast_period, slow_period);
        std::swap(fast_ma_type, slow_ma_type);
    }
}

// The resolved MACD parameters with the fast period no longer than the slow.
struct MacdParams {
    std::int32_t fast_period, fast_ma_type, slow_period, slow_ma_type;
};

MacdParams ordered_macd_params(const double* params) {
    MacdParams p{std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]), std::int32_t(params[3])};
    order_by_period(p.fast_period, p.fast_ma_type, p.slow_period, p.slow_ma_type);
    return p;
}

}  // namespace

// The signal line and the histogram are computed but not kept: they only
// delay the line.
namespace {

PriceOscillatorKernel<AnyMaKernel> oscillator_kernel(const double* params, const UnstablePeriods& unstable,
                                                     bool percent) {
    const auto fast = std::int32_t(params[0]), slow = std::int32_t(params[1]), type = std::int32_t(params[2]);
    return PriceOscillatorKernel(AnyMaKernel(std::min(fast, slow), type, unstable, Feed::bars),
                                 AnyMaKernel(std::max(fast, slow), type, unstable, Feed::bars), 0, percent);
}

MacdKernel<AnyMaKernel, AnyMaKernel> macd_of(const double* params, std::int32_t signal_period,
                                             std::int32_t signal_ma_type, const UnstablePeriods& unstable) {
    auto fast = std::int32_t(params[0]), fast_type = std::int32_t(params[1]);
    auto slow = std::int32_t(params[2]), slow_type = std::int32_t(params[3]);
    order_by_period(fast, fast_type, slow, slow_type);
    return MacdKernel(AnyMaKernel(fast, fast_type, unstable, Feed::bars), AnyMaKernel(slow, slow_type, unstable, Feed::bars),
                      AnyMaKernel(signal_period, signal_ma_type, unstable));
}

}  // namespace

RetCode apo_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request) {
    return price_oscillator(params, unstable, request, false);
}

RetCode ppo_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request) {
    return price_oscillator(params, unstable, request, true);
}

// The signal keeps the window of the line it averages.
RetCode macd_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 3>& request) {
    const MacdParams p = ordered_macd_params(params);
    return with_macd_kernel(p.fast_period, p.fast_ma_type, p.slow_period, p.slow_ma_type, std::int32_t(params[4]),
                            std::int32_t(params[5]), unstable,
                            [&](auto&& kernel) { return run_request(std::move(kernel), request); });
}

// The signal line and the histogram are computed but not kept: they only
// delay the line.
RetCode mac2_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 1>& request) {
    const MacdParams p = ordered_macd_params(params);
    return with_macd_kernel(p.fast_period, p.fast_ma_type, p.slow_period, p.slow_ma_type, MAC2_SIGNAL_PERIOD, MA_SMA,
                            unstable, [&](auto&& macd) { return run_request(Mac2Kernel(std::move(macd)), request); });
}

// The lookbacks of the MACD lines, known before their averages' storage is
// taken: the later of the two averages, then the signal's.
Index macd_range_lookback(const double* params, const UnstablePeriods&) {
    const MacdParams p = ordered_macd_params(params);
    return std::max(ma_lookback(p.fast_period, p.fast_ma_type), ma_lookback(p.slow_period, p.slow_ma_type)) +
           ma_lookback(std::int32_t(params[4]), std::int32_t(params[5]));
}

Index mac2_range_lookback(const double* params, const UnstablePeriods&) {
    const MacdParams p = ordered_macd_params(params);
    return std::max(ma_lookback(p.fast_period, p.fast_ma_type), ma_lookback(p.slow_period, p.slow_ma_type)) +
           ma_lookback(MAC2_SIGNAL_PERIOD, MA_SMA);
}

PriceOscillatorKernel<AnyMaKernel> apo_kernel(const double* params, const UnstablePeriods& unstable) {
    return oscillator_kernel(params, unstable, false);
}

PriceOscillatorKernel<AnyMaKernel> ppo_kernel(const double* params, const UnstablePeriods& unstable) {
    return oscillator_kernel(params, unstable, true);
}

MacdKernel<AnyMaKernel, AnyMaKernel> macd_kernel(const double* params, const UnstablePeriods& unstable) {
    return macd_of(params, std::int32_t(params[4]), std::int32_t(params[5]), unstable);
}

MacdKernel<AnyMaKernel, AnyMaKernel> macd_fixed_kernel(const double* params, const UnstablePeriods& unstable) {
    const double pair[] = {MACD_FIXED_FAST, double(MA_EMA), MACD_FIXED_SLOW, double(MA_EMA)};
    return macd_of(pair, std::int32_t(params[0]), MA_EMA, unstable);
}

Mac2Kernel<AnyMaKernel, AnyMaKernel> mac2_kernel(const double* params, const UnstablePeriods& unstable) {
    return Mac2Kernel(macd_of(params, MAC2_SIGNAL_PERIOD, MA_SMA, unstable));
}

}  // namespace movlex
