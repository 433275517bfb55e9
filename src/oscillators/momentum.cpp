// Point-to-point comparisons: no smoothing and no state between bars, so out
// may be the input array (each bar reads its own index and one `period` bars
// lower, both at or above the output position).
#include "oscillators/momentum.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

namespace {

// Validates a request and runs the comparison over it.
template <class Kernel>
RetCode compare_with_earlier(std::int32_t first_index, std::int32_t last_index, const double* input,
                             std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MOM_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index start = std::max<Index>(first_index, period);
    if (start > last_index) return no_output(out_begin, out_count);

    run_kernel(Kernel(period), std::array{input}, start - period, last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t mom_lookback(std::int32_t period) {
    if (!resolve(MOM_PARAMS, period)) return -1;
    return period;
}

std::int32_t roc_lookback(std::int32_t period) { return mom_lookback(period); }

RetCode mom_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return compare_with_earlier<MomKernel>(first_index, last_index, input, period, out_begin, out_count, out);
}

RetCode roc_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return compare_with_earlier<RocKernel>(first_index, last_index, input, period, out_begin, out_count, out);
}

MomKernel mom_kernel(const double* params, const UnstablePeriods&) { return MomKernel(std::int32_t(params[0])); }
RocKernel roc_kernel(const double* params, const UnstablePeriods&) { return RocKernel(std::int32_t(params[0])); }

}  // namespace movlex
