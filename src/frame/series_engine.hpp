// One kernel over many independent series of the same length. A recursive
// indicator waits at every bar for its previous value (a division on a
// carried chain, say), so one series cannot go faster; independent series can
// overlap. The engine runs copies of one kernel over a group of series bar by
// bar, all lanes of a bar before the next bar, so the processor works on
// several chains at once. Every lane performs exactly the operations the
// kernel performs alone, so each series gets the bits of the batch entry.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

#include "frame/kernel.hpp"

namespace movlex {

// Where the series are: input k of series s starts at inputs[k] + s *
// input_stride, output k of series s at outputs[k] + s * output_stride; every
// series has `bars` bars. Output k of bar i is stored at index i of its block.
struct SeriesLayout {
    const double* const* inputs = nullptr;
    std::ptrdiff_t input_stride = 0;
    double* const* outputs = nullptr;
    std::ptrdiff_t output_stride = 0;
    Index bars = 0;
};

// How many series a kernel's group interleaves: a kernel whose bars wait on a
// carried chain says so with `static constexpr int series_lanes = L;`; any
// other kernel runs one series at a time, as its batch entry does.
template <class Kernel>
constexpr int series_lanes() {
    if constexpr (requires { Kernel::series_lanes; })
        return Kernel::series_lanes;
    else
        return 1;
}

namespace series_detail {

template <class Kernel, std::size_t... L>
std::array<Kernel, sizeof...(L)> copies(const Kernel& prototype, std::index_sequence<L...>) {
    return {((void)L, prototype)...};
}

}  // namespace series_detail

// Runs copies of `prototype` (a kernel that has consumed nothing) over series
// first .. first + L - 1, feeding bars 0 .. bars - 1 (the batch entry's call
// with first_index 0), and stores outputs from bar prototype.lookback() on.
template <int L, class Kernel>
void run_series_lanes(const Kernel& prototype, const SeriesLayout& layout, std::size_t first) {
    constexpr int N = Kernel::inputs;
    constexpr int M = Kernel::outputs;
    const Index begin = prototype.lookback();
    if (begin >= layout.bars) return;

    auto kernels = series_detail::copies(prototype, std::make_index_sequence<L>{});
    std::array<PointerBars<N>, L> bars;
    std::array<std::array<double*, M>, L> outs;
    for (int l = 0; l < L; ++l) {
        const std::ptrdiff_t series = std::ptrdiff_t(first) + l;
        for (int k = 0; k < N; ++k) bars[l].arrays[k] = layout.inputs[k] + series * layout.input_stride;
        for (int k = 0; k < M; ++k) outs[l][k] = layout.outputs[k] + series * layout.output_stride;
    }

    double value[L][M] = {};
    for (Index i = 0; i <= begin; ++i)
        for (int l = 0; l < L; ++l) kernels[l].step(bars[l], i, value[l]);
    for (int l = 0; l < L; ++l)
        for (int k = 0; k < M; ++k) outs[l][k][begin] = value[l][k];
    for (Index i = begin + 1; i < layout.bars; ++i) {
        for (int l = 0; l < L; ++l) kernels[l].steady(bars[l], i, value[l]);
        for (int l = 0; l < L; ++l)
            for (int k = 0; k < M; ++k) outs[l][k][i] = value[l][k];
    }
}

// Series first .. first + count - 1: full groups of the kernel's lanes, then
// one at a time.
template <class Kernel>
void run_series(const Kernel& prototype, const SeriesLayout& layout, std::size_t first, std::size_t count) {
    constexpr int L = series_lanes<Kernel>();
    std::size_t s = first;
    for (; s + L <= first + count; s += L) run_series_lanes<L>(prototype, layout, s);
    for (; s < first + count; ++s) run_series_lanes<1>(prototype, layout, s);
}

}  // namespace movlex
