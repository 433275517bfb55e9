// Point-to-point comparisons: no smoothing and no state between bars, so out
// may be the input array (each bar reads its own index and one lower, both
// at or above the output position).
#include "oscillators/momentum.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

namespace {

// Validates a request and writes measure(current, reference) for every bar.
template <class Measure>
RetCode compare_with_earlier(std::int32_t first_index, std::int32_t last_index, const double* input,
                             std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out,
                             Measure measure) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MOM_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, period);
    if (start > last_index) return no_output(out_begin, out_count);

    Index k = 0;
    for (Index i = start; i <= last_index; ++i, ++k) out[k] = measure(input[i], input[i - period]);
    return report_output(out_begin, out_count, start, last_index);
}

double difference(double current, double reference) { return current - reference; }

// Percent change, (current / reference - 1) * 100 in that order; 0 against a
// reference of exactly zero (either sign).
double percent_change(double current, double reference) {
    if (reference == 0.0) return 0.0;
    return (current / reference - 1.0) * 100.0;
}

}  // namespace

std::int32_t mom_lookback(std::int32_t period) {
    if (!resolve(MOM_PARAMS, period)) return -1;
    return period;
}

std::int32_t roc_lookback(std::int32_t period) { return mom_lookback(period); }

RetCode mom_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return compare_with_earlier(first_index, last_index, input, period, out_begin, out_count, out, difference);
}

RetCode roc_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return compare_with_earlier(first_index, last_index, input, period, out_begin, out_count, out, percent_change);
}

}  // namespace movlex
