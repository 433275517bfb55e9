// Each stochastic runs one kernel: the raw %K from the window extremes, then
// its averages, each fed one value per bar, so no series is stored between
// the stages. A step reads no input older than lookback bars back, and an
// output is stored after its step, so an output may be an input.
//
// The window extremes of a long %K window and the averages that read back
// their own input keep storage of their own; when it cannot be had the call
// returns RC_NO_MEMORY with out_begin and out_count 0.
#include "oscillators/stochastic.hpp"

#include <algorithm>
#include <new>
#include <utility>

#include "frame/contract.hpp"

namespace movlex {

// The entries run the kernel compiled for the chosen averages: the stream's
// kernel with the choice made once instead of at every bar.
RetCode stochf_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 2>& request) {
    return with_average(std::int32_t(params[1]), std::int32_t(params[2]), unstable, [&](auto&& d) {
        return run_request(StochfKernelOf(std::int32_t(params[0]), std::move(d)), request);
    });
}

RetCode stoch_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 2>& request) {
    AnyMaKernel slow_d{std::int32_t(params[3]), std::int32_t(params[4]), unstable};
    return with_average(std::int32_t(params[1]), std::int32_t(params[2]), unstable, [&](auto&& slow_k) {
        return run_request(StochKernelOf(std::int32_t(params[0]), std::move(slow_k), std::move(slow_d)), request);
    });
}

// The RSI values the %K window reads back take the place of the RSI array a
// plain computation would fill first: when there is no room for them, the
// call fails as a missing RSI array does, with RC_BAD_ARGUMENT.
RetCode stochrsi_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 2>& request) {
    const RsiKernel rsi{std::int32_t(params[0]), unstable[UNSTABLE_RSI]};
    const std::int32_t fast_k_period = std::int32_t(params[1]);
    DerivedSeries rsi_series;
    try {
        rsi_series = DerivedSeries(fast_k_period);
    } catch (const std::bad_alloc&) {
        no_output(request.out_begin, request.out_count);
        return RC_BAD_ARGUMENT;
    }
    return with_average(std::int32_t(params[2]), std::int32_t(params[3]), unstable, [&](auto&& d) {
        return run_request(StochrsiKernelOf(rsi, std::move(rsi_series), fast_k_period, std::move(d)), request);
    });
}

// The lookbacks of the entries' kernels, known before any of their storage
// is taken.
Index stoch_range_lookback(const double* params, const UnstablePeriods&) {
    return Index(params[0]) - 1 + ma_lookback(std::int32_t(params[1]), std::int32_t(params[2])) +
           ma_lookback(std::int32_t(params[3]), std::int32_t(params[4]));
}

Index stochf_range_lookback(const double* params, const UnstablePeriods&) {
    return Index(params[0]) - 1 + ma_lookback(std::int32_t(params[1]), std::int32_t(params[2]));
}

Index stochrsi_range_lookback(const double* params, const UnstablePeriods& unstable) {
    return RsiKernel(std::int32_t(params[0]), unstable[UNSTABLE_RSI]).lookback() + Index(params[1]) - 1 +
           ma_lookback(std::int32_t(params[2]), std::int32_t(params[3]));
}

StochKernel stoch_kernel(const double* params, const UnstablePeriods& unstable) {
    return StochKernel(std::int32_t(params[0]), AnyMaKernel(std::int32_t(params[1]), std::int32_t(params[2]), unstable),
                       AnyMaKernel(std::int32_t(params[3]), std::int32_t(params[4]), unstable));
}

StochfKernel stochf_kernel(const double* params, const UnstablePeriods& unstable) {
    return StochfKernel(std::int32_t(params[0]),
                        AnyMaKernel(std::int32_t(params[1]), std::int32_t(params[2]), unstable));
}

StochrsiKernel stochrsi_kernel(const double* params, const UnstablePeriods& unstable) {
    return StochrsiKernel(RsiKernel(std::int32_t(params[0]), unstable[UNSTABLE_RSI]), std::int32_t(params[1]),
                          AnyMaKernel(std::int32_t(params[2]), std::int32_t(params[3]), unstable));
}

}  // namespace movlex
