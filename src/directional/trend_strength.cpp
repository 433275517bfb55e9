// DX and ADX smooth both sides' movement and the true range in one pass. A
// bar whose smoothed range, or whose indicator sum, is near zero has no DX:
// DX then repeats its previous output (0 for the first), the ADX seed adds
// nothing for it and the ADX keeps its value. ADXR keeps the last period ADX
// values of one run and averages the newest with the oldest.
#include "directional/trend_strength.hpp"

#include <algorithm>

#include "directional/kernel_request.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

template <class Kernel>
RetCode trend_compute(const Kernel& kernel, std::int32_t first_index, std::int32_t last_index, const double* high,
                      const double* low, const double* close, std::int32_t* out_begin, std::int32_t* out_count,
                      double* out) {
    return directional::run_request(kernel, first_index, last_index, std::array{high, low, close}, out_begin,
                                    out_count, out);
}

RetCode validate(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                 const double* close, std::int32_t& period, const double* out) {
    return Validation(first_index, last_index)
        .inputs(high, low, close)
        .params(DX_PARAMS, period)
        .outputs(out)
        .result();
}

}  // namespace

std::int32_t dx_lookback(std::int32_t period) {
    if (!resolve(DX_PARAMS, period)) return -1;
    return period + unstable_period(UNSTABLE_DX);
}

std::int32_t adx_lookback(std::int32_t period) {
    if (!resolve(ADX_PARAMS, period)) return -1;
    return 2 * period - 1 + unstable_period(UNSTABLE_ADX);
}

std::int32_t adxr_lookback(std::int32_t period) {
    if (!resolve(ADXR_PARAMS, period)) return -1;
    return adx_lookback(period) + period - 1;
}

RetCode dx_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                   const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                   double* out) {
    const RetCode rc = validate(first_index, last_index, high, low, close, period, out);
    if (rc != RC_OK) return rc;
    return trend_compute(DxKernel(period, unstable_period(UNSTABLE_DX)), first_index, last_index, high, low, close,
                         out_begin, out_count, out);
}

RetCode adx_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = validate(first_index, last_index, high, low, close, period, out);
    if (rc != RC_OK) return rc;
    return trend_compute(AdxKernel(period, unstable_period(UNSTABLE_ADX)), first_index, last_index, high, low, close,
                         out_begin, out_count, out);
}

// The ring of the last period ADX values is the only memory ADXR takes, and
// only when there is something to compute; when it cannot be had the call
// fails with nothing written.
RetCode adxr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                     const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                     double* out) {
    const RetCode rc = validate(first_index, last_index, high, low, close, period, out);
    if (rc != RC_OK) return rc;
    if (std::max(first_index, adxr_lookback(period)) > last_index) return no_output(out_begin, out_count);
    return guard_allocation([&] {
        return trend_compute(AdxrKernel(period, unstable_period(UNSTABLE_ADX)), first_index, last_index, high, low,
                             close, out_begin, out_count, out);
    });
}

DxKernel dx_kernel(const double* params, const UnstablePeriods& unstable) {
    return DxKernel(std::int32_t(params[0]), unstable[UNSTABLE_DX]);
}

AdxKernel adx_kernel(const double* params, const UnstablePeriods& unstable) {
    return AdxKernel(std::int32_t(params[0]), unstable[UNSTABLE_ADX]);
}

AdxrKernel adxr_kernel(const double* params, const UnstablePeriods& unstable) {
    return AdxrKernel(std::int32_t(params[0]), unstable[UNSTABLE_ADX]);
}

}  // namespace movlex
