// All three run one kernel over the bars: the true range carries only the
// previous close, the averages also their running average, so nothing is
// kept per bar and no memory is allocated.
#include "directional/true_range.hpp"

#include "directional/kernel_request.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

std::int32_t average_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(ATR_PARAMS, period)) return -1;
    return period + unstable_period(slot);
}

template <class Kernel>
RetCode average_true_range(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                           const double* close, std::int32_t period, UnstableSlot slot, std::int32_t* out_begin,
                           std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low, close)
                           .params(ATR_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;
    no_output(out_begin, out_count);
    return directional::run_request(Kernel(period, unstable_period(slot)), first_index, last_index,
                                    std::array{high, low, close}, out_begin, out_count, out);
}

}  // namespace

std::int32_t trange_lookback() { return 1; }
std::int32_t atr_lookback(std::int32_t period) { return average_lookback(period, UNSTABLE_ATR); }
std::int32_t natr_lookback(std::int32_t period) { return average_lookback(period, UNSTABLE_NATR); }

RetCode trange_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(high, low, close).outputs(out).result();
    if (rc != RC_OK) return rc;
    return directional::run_request(TrueRangeKernel(), first_index, last_index, std::array{high, low, close},
                                    out_begin, out_count, out);
}

RetCode atr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    return average_true_range<AtrKernel>(first_index, last_index, high, low, close, period, UNSTABLE_ATR, out_begin,
                                         out_count, out);
}

RetCode natr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                     const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                     double* out) {
    return average_true_range<NatrKernel>(first_index, last_index, high, low, close, period, UNSTABLE_NATR,
                                          out_begin, out_count, out);
}

TrueRangeKernel trange_kernel(const double*, const UnstablePeriods&) { return TrueRangeKernel(); }

AtrKernel atr_kernel(const double* params, const UnstablePeriods& unstable) {
    return AtrKernel(std::int32_t(params[0]), unstable[UNSTABLE_ATR]);
}

NatrKernel natr_kernel(const double* params, const UnstablePeriods& unstable) {
    return NatrKernel(std::int32_t(params[0]), unstable[UNSTABLE_NATR]);
}

}  // namespace movlex
