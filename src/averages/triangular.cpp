// The triangular average weights its window 1, 2, ... up to the middle and
// back down to 1. Three running sums carry it from one window to the next at
// constant cost: the plain sum of the older part, the plain sum of the newer
// part and the weighted sum of the whole window. Moving the window lowers
// every weight of the older part by one, raises every weight of the newer
// part by one and brings the new value in with weight 1; then one value
// changes parts. For an odd period that is the new middle value; for an even
// period it is the first value of the newer half, which keeps its weight h
// and so leaves the newer half before that half's sum is added.
#include "averages/triangular.hpp"

#include <algorithm>

#include "frame/contract.hpp"

namespace movlex {

namespace {

struct TriangularSums {
    double weighted = 0.0;
    double left = 0.0;   // older part
    double right = 0.0;  // newer part
};

// Sums of the first window: the older part accumulated downwards from its
// newest value (first .. last_of_left), the newer part upwards, each running
// sum added to the weighted sum after every value.
TriangularSums first_window(const double* input, Index first, Index last_of_left, Index last) {
    TriangularSums sums;
    for (Index i = last_of_left; i >= first; --i) {
        sums.left += input[i];
        sums.weighted += sums.left;
    }
    for (Index i = last_of_left + 1; i <= last; ++i) {
        sums.right += input[i];
        sums.weighted += sums.right;
    }
    return sums;
}

}  // namespace

std::int32_t trima_lookback(std::int32_t period) {
    if (!resolve(TRIMA_PARAMS, period)) return -1;
    return period - 1;
}

RetCode trima_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(TRIMA_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = period - 1;
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    const Index t = start - lookback;
    const Index h = period / 2;
    const bool odd = period % 2 != 0;
    // The weight sums reach 2500050000 for the largest periods: 64-bit.
    const Index weight_sum = odd ? (h + 1) * (h + 1) : h * (h + 1);
    const double factor = 1.0 / static_cast<double>(weight_sum);

    // The odd window's older part includes the middle t + h.
    const Index last_of_left = odd ? t + h : t + h - 1;
    TriangularSums sums = first_window(input, t, last_of_left, start);
    // Read before out[0] is stored: when out is input, out[0] may be input[t].
    double oldest = input[t];
    out[0] = factor * sums.weighted;

    Index k = 1;
    for (Index i = start + 1; i <= last_index; ++i, ++k) {
        const double changing = input[last_of_left + k];  // moves from the newer part to the older
        const double next_oldest = input[t + k];
        const double newest = input[i];
        if (odd)
            sums.weighted = ((sums.weighted - sums.left) + sums.right) + newest;
        else
            sums.weighted = ((sums.weighted - sums.left) + (sums.right - changing)) + newest;
        out[k] = factor * sums.weighted;
        sums.left = (sums.left - oldest) + changing;
        oldest = next_oldest;
        sums.right = (sums.right - changing) + newest;
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
