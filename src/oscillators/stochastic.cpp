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

#include "frame/contract.hpp"

namespace movlex {

// The entries run the kernel compiled for the chosen averages: the stream's
// kernel with the choice made once instead of at every bar.
RetCode stochf_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 2>& request) {
    return with_average(std::int32_t(params[1]), std::int32_t(params[2]), unstable, [&](const auto& d) {
        return run_request(StochfKernelOf(std::int32_t(params[0]), d), request);
    });
}

RetCode stoch_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 2>& request) {
    const AnyMaKernel slow_d{std::int32_t(params[3]), std::int32_t(params[4]), unstable};
    return with_average(std::int32_t(params[1]), std::int32_t(params[2]), unstable, [&](const auto& slow_k) {
        return run_request(StochKernelOf(std::int32_t(params[0]), slow_k, slow_d), request);
    });
}

RetCode stochrsi_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 2>& request) {
    const RsiKernel rsi{std::int32_t(params[0]), unstable[UNSTABLE_RSI]};
    return with_average(std::int32_t(params[2]), std::int32_t(params[3]), unstable, [&](const auto& d) {
        return run_request(StochrsiKernelOf(rsi, std::int32_t(params[1]), d), request);
    });
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
