// The selector adds two rules of its own to the averages it dispatches to: a
// period of 1 means no smoothing (the input is copied), and the two averages
// with real parameters run with fixed values (MAMA with limits 0.5 and 0.05,
// its FAMA line discarded; T3 with volume factor 0.7).
#include "averages/selector.hpp"

#include <algorithm>
#include <cstring>

#include "averages/exponential.hpp"
#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "core_lookbacks.hpp"  // generated
#include "frame/contract.hpp"
#include "frame/entry_form.hpp"

namespace movlex {

namespace {
constexpr double MAMA_FAST_LIMIT = SELECTOR_MAMA_FAST_LIMIT;
constexpr double MAMA_SLOW_LIMIT = SELECTOR_MAMA_SLOW_LIMIT;
constexpr double T3_VOLUME_FACTOR = SELECTOR_T3_VOLUME_FACTOR;
}  // namespace

std::int32_t ma_lookback(std::int32_t period, std::int32_t ma_type) {
    if (!resolve(MA_PARAMS, period, ma_type)) return -1;
    if (period == 1) return 0;
    switch (ma_type) {
        case MA_SMA: return sma_lookback(period);
        case MA_EMA: return ema_lookback(period);
        case MA_WMA: return wma_lookback(period);
        case MA_DEMA: return dema_lookback(period);
        case MA_TEMA: return tema_lookback(period);
        case MA_TRIMA: return trima_lookback(period);
        case MA_KAMA: return kama_lookback(period);
        case MA_MAMA: return mama_lookback(MAMA_FAST_LIMIT, MAMA_SLOW_LIMIT);
        default: return t3_lookback(period, T3_VOLUME_FACTOR);
    }
}

RetCode ma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MA_PARAMS, period, ma_type)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    if (period == 1) {
        // The source index is never below the destination index, so the
        // copy is safe when out is input.
        const Index count = Index(last_index) - first_index + 1;
        std::memmove(out, input + first_index, std::size_t(count) * sizeof(double));
        return report_output(out_begin, out_count, first_index, last_index);
    }

    const EntryRequest<1, 1> request{first_index, last_index, {input}, out_begin, out_count, {out}, false};
    const UnstablePeriods unstable = current_unstable_periods();
    return with_average_kind(period, ma_type, [&](auto kind) {
        const auto average = make_average(kind, period, unstable);
        if constexpr (decltype(average)::outputs == 1)
            return run_request(average, request);
        else  // MAMA: only its line is kept, no array for FAMA
            return run_request(AnyMaKernel(period, ma_type, unstable, Feed::bars), request);
    });
}

}  // namespace movlex
