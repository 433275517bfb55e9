// Balance of power: no state between bars, so out may be any input array.
#include "oscillators/balance_of_power.hpp"

#include "frame/contract.hpp"

namespace movlex {

std::int32_t bop_lookback() { return 0; }

RetCode bop_compute(std::int32_t first_index, std::int32_t last_index, const double* open, const double* high,
                    const double* low, const double* close, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(open, high, low, close).outputs(out).result();
    if (rc != RC_OK) return rc;

    run_kernel(BopKernel(), std::array{open, high, low, close}, first_index, last_index, std::array{out});
    return report_output(out_begin, out_count, first_index, last_index);
}

BopKernel bop_kernel(const double*, const UnstablePeriods&) { return BopKernel(); }

}  // namespace movlex
