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
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/lanes.hpp"

// Lanes wider than 16 bytes (AVX2, AVX-512) on x86 processors that have
// them; the build defines MOVLEX_WIDE_LANES where it compiles them. Not on
// Windows, whose compilers do not align the stack for them.
#ifndef MOVLEX_WIDE_LANES
#define MOVLEX_WIDE_LANES 0
#endif

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

// Kernels written over a value type (frame/lanes.hpp) and able to make a
// fresh copy of themselves over lanes: `template <class U> K<U> retyped()`.
template <class Kernel>
concept LaneKernel = requires(const Kernel& kernel) { kernel.template retyped<Lanes<2>>(); };

// The instruction sets a lane kernel can run on. The baseline is what every
// processor of the target has (SSE2 on x86-64); the others are used when the
// processor has them. All perform the same IEEE operations in the same order
// (none of them fuses a multiply and an add), so they give the same bits.
enum class LaneTarget { baseline, avx2, avx512 };

// The widest target this processor runs; the baseline off x86 and on
// Windows, whose compilers do not keep the stack aligned for wider vectors.
LaneTarget best_lane_target();
// Whether this processor, and this build, can run `target`.
bool lane_target_available(LaneTarget target);

// The bars of lane_count<V> neighbouring series, one per lane: input k of
// lane l at bar i is first[k][l * stride + i].
template <int N, class V>
struct LaneBars {
    std::array<const double*, std::size_t(N)> first;
    std::ptrdiff_t stride;
    V operator()(int k, Index i) const {
        V lanes;
        for (int l = 0; l < lane_count<V>; ++l) lanes[l] = first[k][l * stride + i];
        return lanes;
    }
};

// Bars base .. base + W - 1 of N inputs over W lanes, held as one vector of
// lanes per bar: the current bar of a kernel that reads no earlier one.
template <int N, class V>
struct LaneBlockBars {
    V values[N][lane_count<V>];
    Index base;
    V operator()(int k, Index i) const { return values[k][i - base]; }
};

// Runs `prototype` (a lane kernel that has consumed nothing) over series
// first .. first + W - 1 at once, W the lanes of V, as run_series_lanes does
// one lane at a time. After the warm-up, blocks of W bars are read as W
// vectors per input (a lane's bars each) and turned into a vector per bar;
// the outputs go back the same way.
template <class V, class Kernel>
void run_series_vector(const Kernel& prototype, const SeriesLayout& layout, std::size_t first) {
    constexpr int W = lane_count<V>;
    constexpr int N = Kernel::inputs;
    constexpr int M = Kernel::outputs;
    const Index begin = prototype.lookback();
    if (begin >= layout.bars) return;

    auto kernel = prototype.template retyped<V>();
    static_assert(decltype(kernel)::inputs == N);
    LaneBars<N, V> bars{{}, layout.input_stride};
    std::array<double*, M> outs;
    for (int k = 0; k < N; ++k) bars.first[k] = layout.inputs[k] + std::ptrdiff_t(first) * layout.input_stride;
    for (int k = 0; k < M; ++k) outs[k] = layout.outputs[k] + std::ptrdiff_t(first) * layout.output_stride;
    auto store = [&](const V* value, Index i) {
        for (int k = 0; k < M; ++k)
            for (int l = 0; l < W; ++l) outs[k][l * layout.output_stride + i] = value[k][l];
    };

    V value[M] = {};
    for (Index i = 0; i <= begin; ++i) kernel.step(bars, i, value);
    store(value, begin);
    Index i = begin + 1;
    for (; i + W <= layout.bars; i += W) {
        LaneBlockBars<N, V> block;
        block.base = i;
        for (int k = 0; k < N; ++k) {
            for (int l = 0; l < W; ++l) block.values[k][l] = load_lanes<V>(bars.first[k] + l * bars.stride + i);
            transpose(block.values[k]);
        }
        V results[M][W];
        for (int t = 0; t < W; ++t) {
            kernel.steady(block, i + t, value);
            for (int k = 0; k < M; ++k) results[k][t] = value[k];
        }
        for (int k = 0; k < M; ++k) {
            transpose(results[k]);
            for (int l = 0; l < W; ++l) store_lanes(outs[k] + l * layout.output_stride + i, results[k][l]);
        }
    }
    for (; i < layout.bars; ++i) {
        kernel.steady(bars, i, value);
        store(value, i);
    }
}

// Series first .. first + count - 1: full groups of the kernel's lanes, then
// one at a time.
template <class Kernel>
void run_series_scalar(const Kernel& prototype, const SeriesLayout& layout, std::size_t first, std::size_t count) {
    constexpr int L = series_lanes<Kernel>();
    std::size_t s = first;
    for (; s + L <= first + count; s += L) run_series_lanes<L>(prototype, layout, s);
    for (; s < first + count; ++s) run_series_lanes<1>(prototype, layout, s);
}

// Series first .. first + count - 1 of a lane kernel: groups of W series over
// Lanes<W>, then one at a time.
template <int W, class Kernel>
inline void run_series_over_lanes(const Kernel& prototype, const SeriesLayout& layout, std::size_t first,
                                  std::size_t count) {
    std::size_t s = first;
    for (; s + W <= first + count; s += W) run_series_vector<Lanes<W>>(prototype, layout, s);
    for (; s < first + count; ++s) run_series_lanes<1>(prototype, layout, s);
}

// A lane kernel's series on one instruction set each: defined for every lane
// kernel of the table by one source compiled once per instruction set
// (api/lane_kernels.cpp), so that all of its arithmetic, the choices between
// lanes included, is compiled for that instruction set.
template <class Kernel>
void run_series_baseline(const Kernel& prototype, const SeriesLayout& layout, std::size_t first, std::size_t count);
template <class Kernel>
void run_series_avx2(const Kernel& prototype, const SeriesLayout& layout, std::size_t first, std::size_t count);
template <class Kernel>
void run_series_avx512(const Kernel& prototype, const SeriesLayout& layout, std::size_t first, std::size_t count);

// Series first .. first + count - 1 of `layout`: a lane kernel on `target`
// (which must be available), any other kernel as run_series_scalar does.
template <class Kernel>
void run_series(const Kernel& prototype, const SeriesLayout& layout, std::size_t first, std::size_t count,
                LaneTarget target) {
    if constexpr (LaneKernel<Kernel>) {
#if MOVLEX_WIDE_LANES
        if (target == LaneTarget::avx512) return run_series_avx512(prototype, layout, first, count);
        if (target == LaneTarget::avx2) return run_series_avx2(prototype, layout, first, count);
#endif
        (void)target;
        run_series_baseline(prototype, layout, first, count);
    } else {
        (void)target;
        run_series_scalar(prototype, layout, first, count);
    }
}

}  // namespace movlex
