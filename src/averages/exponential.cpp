// DEMA and TEMA chain the core over their own intermediate series; each stage
// is seeded and warmed up afresh, so the lookback grows by the EMA's lookback
// per stage.
#include "averages/exponential.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

RetCode check_request(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t& period,
                      double* out) {
    return Validation(first_index, last_index)
        .inputs(input)
        .params(EMA_PARAMS, period)
        .outputs(out)
        .result();
}

double smoothing_factor(std::int32_t period) { return ema_smoothing_factor(period); }

}  // namespace

std::int32_t ema_lookback(std::int32_t period) {
    if (!resolve(EMA_PARAMS, period)) return -1;
    return period - 1 + unstable_period(UNSTABLE_EMA);
}

std::int32_t dema_lookback(std::int32_t period) {
    const std::int32_t lookback = ema_lookback(period);
    return lookback < 0 ? -1 : 2 * lookback;
}

std::int32_t tema_lookback(std::int32_t period) {
    const std::int32_t lookback = ema_lookback(period);
    return lookback < 0 ? -1 : 3 * lookback;
}

RetCode ema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = check_request(first_index, last_index, input, period, out);
    if (rc != RC_OK) return rc;
    return ema_core(first_index, last_index, input, period, smoothing_factor(period), out_begin, out_count, out);
}

RetCode ema_core(std::int32_t start, std::int32_t end, const double* input, std::int32_t period, double k,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const Index unstable = unstable_period(UNSTABLE_EMA);
    const Index lookback = Index{period} - 1 + unstable;
    const Index first = std::max<Index>(start, lookback);
    if (first > end) return no_output(out_begin, out_count);

    run_kernel(EmaKernel(period, k, std::int32_t(unstable)), std::array{input}, first - lookback, end, std::array{out});
    return report_output(out_begin, out_count, first, end);
}

// Both stages run in one pass, the second fed each output of the first as it
// is made; every value sees the same operations as when the stages ran one
// after the other, and nothing but the two averages is kept.
RetCode dema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = check_request(first_index, last_index, input, period, out);
    if (rc != RC_OK) return rc;
    const DemaKernel kernel(period, unstable_period(UNSTABLE_EMA));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

RetCode tema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = check_request(first_index, last_index, input, period, out);
    if (rc != RC_OK) return rc;
    const TemaKernel kernel(period, unstable_period(UNSTABLE_EMA));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

EmaKernel ema_kernel(const double* params, const UnstablePeriods& unstable) {
    const auto period = std::int32_t(params[0]);
    return EmaKernel(period, smoothing_factor(period), unstable[UNSTABLE_EMA]);
}

DemaKernel dema_kernel(const double* params, const UnstablePeriods& unstable) {
    return DemaKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

TemaKernel tema_kernel(const double* params, const UnstablePeriods& unstable) {
    return TemaKernel(std::int32_t(params[0]), unstable[UNSTABLE_EMA]);
}

}  // namespace movlex
