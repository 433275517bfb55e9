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
RetCode price_oscillator(std::int32_t first_index, std::int32_t last_index, const double* input,
                         std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type,
                         std::int32_t* out_begin, std::int32_t* out_count, double* out, bool percent) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(APO_PARAMS, fast_period, slow_period, ma_type)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const std::int32_t shorter = std::min(fast_period, slow_period);
    const std::int32_t longer = std::max(fast_period, slow_period);
    const UnstablePeriods unstable = current_unstable_periods();
    return with_average_kind(longer, ma_type, [&](auto kind) {
        const auto shorter_average = average_stage(kind, shorter, unstable, Feed::bars);
        const auto longer_average = average_stage(kind, longer, unstable, Feed::bars);
        const Index lookback = longer_average.lookback();
        const Index start = std::max<Index>(first_index, lookback);
        if (start > last_index) return no_output(out_begin, out_count);
        const Index delay = shorter_delay(first_index, shorter_average.lookback(), start, lookback);
        run_kernel(PriceOscillatorKernel(shorter_average, longer_average, delay, percent), std::array{input},
                   start - lookback, last_index, std::array{out});
        return report_output(out_begin, out_count, start, last_index);
    });
}

template <class Average, class Signal>
RetCode run_macd(const MacdKernel<Average, Signal>& kernel, std::int32_t first_index, std::int32_t last_index,
                 const double* input, std::int32_t* out_begin, std::int32_t* out_count, double* out_macd,
                 double* out_signal, double* out_hist) {
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index,
               std::array{out_macd, out_signal, out_hist});
    return report_output(out_begin, out_count, start, last_index);
}

template <class Average, class Signal>
RetCode run_mac2(const MacdKernel<Average, Signal>& macd, std::int32_t first_index, std::int32_t last_index,
                 const double* input, std::int32_t* out_begin, std::int32_t* out_count, double* out_macd) {
    const Mac2Kernel kernel(macd);
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out_macd});
    return report_output(out_begin, out_count, start, last_index);
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

}  // namespace

std::int32_t apo_lookback(std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type) {
    if (!resolve(APO_PARAMS, fast_period, slow_period, ma_type)) return -1;
    return ma_lookback(std::max(fast_period, slow_period), ma_type);
}

std::int32_t ppo_lookback(std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type) {
    return apo_lookback(fast_period, slow_period, ma_type);
}

RetCode apo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                    std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    return price_oscillator(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count,
                            out, false);
}

RetCode ppo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                    std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    return price_oscillator(first_index, last_index, input, fast_period, slow_period, ma_type, out_begin, out_count,
                            out, true);
}

std::int32_t macd_lookback(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                           std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type) {
    if (!resolve(MACD_PARAMS, fast_period, fast_ma_type, slow_period, slow_ma_type, signal_period, signal_ma_type))
        return -1;
    return std::max(ma_lookback(fast_period, fast_ma_type), ma_lookback(slow_period, slow_ma_type)) +
           ma_lookback(signal_period, signal_ma_type);
}

std::int32_t mac2_lookback(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                           std::int32_t slow_ma_type) {
    return macd_lookback(fast_period, fast_ma_type, slow_period, slow_ma_type, MAC2_SIGNAL_PERIOD, MA_SMA);
}

RetCode macd_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                     std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                     std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out_macd, double* out_signal,
                     double* out_hist) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MACD_PARAMS, fast_period, fast_ma_type, slow_period, slow_ma_type,
                                   signal_period, signal_ma_type)
                           .outputs(out_macd, out_signal, out_hist)
                           .result();
    if (rc != RC_OK) return rc;
    order_by_period(fast_period, fast_ma_type, slow_period, slow_ma_type);
    // The signal keeps the window of the line it averages.
    return guard_allocation(out_begin, out_count, [&] {
        return with_macd_kernel(fast_period, fast_ma_type, slow_period, slow_ma_type, signal_period, signal_ma_type,
                                current_unstable_periods(), [&](const auto& kernel) {
                                    return run_macd(kernel, first_index, last_index, input, out_begin, out_count,
                                                    out_macd, out_signal, out_hist);
                                });
    });
}

// The signal line and the histogram are computed but not kept: they only
// delay the line.
RetCode mac2_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                     std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                     std::int32_t slow_ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out_macd) {
    std::int32_t signal_period = MAC2_SIGNAL_PERIOD, signal_ma_type = MA_SMA;
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MACD_PARAMS, fast_period, fast_ma_type, slow_period, slow_ma_type,
                                   signal_period, signal_ma_type)
                           .outputs(out_macd)
                           .result();
    if (rc != RC_OK) return rc;
    order_by_period(fast_period, fast_ma_type, slow_period, slow_ma_type);
    return guard_allocation(out_begin, out_count, [&] {
        return with_macd_kernel(fast_period, fast_ma_type, slow_period, slow_ma_type, signal_period, signal_ma_type,
                                current_unstable_periods(), [&](const auto& macd) {
                                    return run_mac2(macd, first_index, last_index, input, out_begin, out_count,
                                                    out_macd);
                                });
    });
}

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
