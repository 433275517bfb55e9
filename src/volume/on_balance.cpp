// On-balance volume from the first requested bar on.
#include "volume/on_balance.hpp"

#include "frame/contract.hpp"

namespace movlex {

std::int32_t obv_lookback() { return 0; }

RetCode obv_compute(std::int32_t first_index, std::int32_t last_index, const double* input, const double* volume,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(input, volume).outputs(out).result();
    if (rc != RC_OK) return rc;

    run_kernel(ObvKernel(), std::array{input, volume}, first_index, last_index, std::array{out});
    return report_output(out_begin, out_count, first_index, last_index);
}

ObvKernel obv_kernel(const double*, const UnstablePeriods&) { return ObvKernel(); }

}  // namespace movlex
