// One price for each bar from its open, high, low and close: the average,
// median, typical and weighted-close prices.
#pragma once

#include <array>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/typical_price.hpp"

namespace movlex {

inline constexpr std::array<ParamInfo, 0> BAR_PRICE_PARAMS{};

// ((open + high) + low) + close, over 4.
inline double average_price(const double* v) { return (((v[0] + v[1]) + v[2]) + v[3]) / 4.0; }
// (high + low) / 2.
inline double median_price(const double* v) { return (v[0] + v[1]) / 2.0; }
// ((high + low) + close) / 3, as the money-flow index takes it.
inline double typical_bar_price(const double* v) { return typical_price(v[0], v[1], v[2]); }
// ((high + low) + close * 2) / 4: the close counted twice.
inline double weighted_close(const double* v) { return ((v[0] + v[1]) + v[2] * 2.0) / 4.0; }

// price(inputs of the bar), from the first bar on; nothing is carried.
template <int N, double (*price)(const double*)>
class BarPriceKernel : public EachBarKernel<BarPriceKernel<N, price>> {
public:
    static constexpr int inputs = N;
    static constexpr int outputs = 1;

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double values[N];
        for (int k = 0; k < N; ++k) values[k] = bars(k, i);
        out[0] = price(values);
    }

    template <class Archive>
    void visit(Archive&) {}
};

using AveragePriceKernel = BarPriceKernel<4, average_price>;    // open, high, low, close
using MedianPriceKernel = BarPriceKernel<2, median_price>;     // high, low
using TypicalPriceKernel = BarPriceKernel<3, typical_bar_price>;  // high, low, close
using WeightedCloseKernel = BarPriceKernel<3, weighted_close>;   // high, low, close

template <class Kernel>
Kernel bar_price_kernel(const double*, const UnstablePeriods&) {
    return Kernel{};
}

}  // namespace movlex
