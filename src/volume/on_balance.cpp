// The running total starts at the volume of the first requested bar and then
// adds each bar's volume on a rising price, subtracts it on a falling one and
// leaves it alone on an unchanged one.
#include "volume/on_balance.hpp"

#include "frame/contract.hpp"

namespace movlex {

std::int32_t obv_lookback() { return 0; }

RetCode obv_compute(std::int32_t first_index, std::int32_t last_index, const double* input, const double* volume,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index).inputs(input, volume).outputs(out).result();
    if (rc != RC_OK) return rc;

    double total = volume[first_index];
    double previous = input[first_index];
    Index k = 0;
    for (Index i = first_index; i <= last_index; ++i, ++k) {
        const double price = input[i];
        if (price > previous)
            total += volume[i];
        else if (price < previous)
            total -= volume[i];
        out[k] = total;
        previous = price;
    }
    return report_output(out_begin, out_count, first_index, last_index);
}

}  // namespace movlex
