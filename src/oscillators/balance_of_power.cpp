// Each bar on its own: (close - open) / (high - low). The guard is one-sided:
// only a range of at least 1e-8 is divided by, so a bar whose high lies below
// its low gives 0 as a flat bar does.
#include "oscillators/balance_of_power.hpp"

#include "frame/contract.hpp"

namespace movlex {

namespace {
constexpr double MINIMUM_RANGE = 1e-8;
}

std::int32_t bop_lookback() { return 0; }

RetCode bop_compute(std::int32_t first_index, std::int32_t last_index, const double* open, const double* high,
                    const double* low, const double* close, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(open, high, low, close).outputs(out).result();
    if (rc != RC_OK) return rc;

    Index k = 0;
    for (Index i = first_index; i <= last_index; ++i, ++k) {
        const double range = high[i] - low[i];
        out[k] = range < MINIMUM_RANGE ? 0.0 : (close[i] - open[i]) / range;
    }
    return report_output(out_begin, out_count, first_index, last_index);
}

}  // namespace movlex
