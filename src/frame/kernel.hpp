// An indicator's arithmetic is written once, as a kernel: a small state that
// consumes bars one at a time, in order, from the first bar it is fed, and
// after its warm-up produces one set of outputs per bar. The batch entries run
// a kernel over the caller's arrays; a stream runs the same kernel over a ring
// of the most recent bars. Both perform the same operations in the same order,
// so they give the same bits.
//
// A kernel K provides:
//
//   static constexpr int inputs, outputs;
//   Index history() const;     bars of each input it reads, the current one
//                              included (1 when it reads only the current bar)
//   Index lookback() const;    bars consumed before the first output
//   template <class Bars> bool step(const Bars& bars, Index i, double* out);
//                              consumes bar i (bars(k, i) is input k at bar i;
//                              bars(k, j) for i - history() < j <= i may be
//                              read); writes out[0 .. outputs - 1] and returns
//                              true once the warm-up is over, else false
//   template <class Bars> void steady(const Bars& bars, Index i, double* out);
//                              the same step once the warm-up is over
//   template <class Archive> void visit(Archive& archive);
//                              lists every field of the state (see archive.hpp)
//
// and may provide, for the batch entries alone,
//
//   template <int N> void steady_block(const PointerBars<N>& bars, Index i,
//                                      Index count, std::array<double*, outputs> out);
//                              the steady steps of bars i .. i + count - 1 over
//                              the caller's arrays (bar i - 1 readable too),
//                              writing bar i + j's outputs to out[k][j]: the
//                              same bits as count calls of steady, in an order
//                              that lets the work off a carried chain overlap
//                              (it reads every input of a bar before it writes
//                              that bar's outputs)
//
// Bar indices are absolute: a batch call feeds the kernel from its seed index
// on, a stream from 0.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "frame/contract.hpp"
#include "frame/lanes.hpp"
#include "frame/scratch.hpp"

namespace movlex {

// The caller's input arrays, read in place.
template <int N>
struct PointerBars {
    std::array<const double*, std::size_t(N)> arrays;
    double operator()(int k, Index i) const { return arrays[k][i]; }
};

// One value, the current bar of a series that is not kept (a stage that reads
// only the current output of the stage before it).
template <class V>
struct ValueBarsOf {
    V value;
    V operator()(int, Index) const { return value; }
};
using ValueBars = ValueBarsOf<double>;

// The most recent bars of N series, in rings whose length is a power of two
// at least as long as the history a kernel reads (scratch storage: making
// them may throw std::bad_alloc). Over lanes (V = Lanes<W>, frame/lanes.hpp)
// the rings hold one value of every lane per bar.
template <int N, class V = double>
class RingBars {
public:
    RingBars() = default;
    explicit RingBars(Index history) {
        std::size_t length = 1;
        while (Index(length) < history) length *= 2;
        for (auto& ring : rings_) ring.assign(length * LANES, 0.0);
        mask_ = Index(length) - 1;
    }

    void put(int k, Index i, V value) { std::memcpy(&rings_[k][slot(i)], &value, sizeof(V)); }
    V operator()(int k, Index i) const {
        V value;
        std::memcpy(&value, &rings_[k][slot(i)], sizeof(V));
        return value;
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (auto& ring : rings_) archive(ring);
    }

private:
    // The lanes of a bar lie side by side, copied in and out as bytes: the
    // rings make no promise of the alignment of a vector of lanes.
    static constexpr std::size_t LANES = std::size_t(lane_count<V>);
    std::size_t slot(Index i) const { return std::size_t(i & mask_) * LANES; }

    std::array<ScratchVector<double>, N> rings_{};
    Index mask_ = 0;
};

// A series derived inside a kernel (one stage's output read by the next) and
// kept for the next stage's history: push the value of bar i, then read it.
template <class V>
class DerivedSeriesOf {
public:
    DerivedSeriesOf() = default;
    explicit DerivedSeriesOf(Index history) : ring_(history) {}
    const RingBars<1, V>& push(Index i, V value) {
        ring_.put(0, i, value);
        return ring_;
    }
    template <class Archive>
    void visit(Archive& archive) {
        ring_.visit(archive);
    }

private:
    RingBars<1, V> ring_;
};

using DerivedSeries = DerivedSeriesOf<double>;

// Runs a kernel over input bars seed .. end and writes the outputs of bars
// first .. end (first = seed + kernel.lookback()) to outs[k][0 ..]. Each
// output is stored after the step has read its bars, so an output array may be
// an input array whenever the kernel's history does not reach back past its
// lookback.
//
// The kernel runs as a local object: one passed by value may live in the
// caller's memory, which any call made on the way might change, so that its
// state would go back to memory at every bar.
template <class Kernel, std::size_t N>
void run_kernel(Kernel given, const std::array<const double*, N>& inputs, Index seed, Index end,
                const std::array<double*, Kernel::outputs>& outs) {
    Kernel kernel = std::move(given);
    const PointerBars<int(N)> bars{inputs};
    const Index first = seed + kernel.lookback();
    double value[Kernel::outputs] = {};
    for (Index i = seed; i < first; ++i) kernel.step(bars, i, value);
    kernel.step(bars, first, value);
    for (int k = 0; k < Kernel::outputs; ++k) outs[k][0] = value[k];
    if constexpr (requires { kernel.steady_block(bars, first + 1, end - first, outs); }) {
        std::array<double*, Kernel::outputs> rest = outs;
        for (double*& out : rest) ++out;
        if (end > first) kernel.steady_block(bars, first + 1, end - first, rest);
        return;
    }
    for (Index i = first + 1; i <= end; ++i) {
        kernel.steady(bars, i, value);
        for (int k = 0; k < Kernel::outputs; ++k) outs[k][i - first] = value[k];
    }
}

// Runs body() (which makes and runs a kernel) and returns its code; when the
// storage a kernel keeps (rings, window blocks) cannot be had, returns
// RC_NO_MEMORY instead, so that no exception leaves an entry. The first form
// leaves out_begin and out_count as they are, the second sets both to 0.
template <class Body>
RetCode guard_allocation(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return RC_NO_MEMORY;
    }
}

template <class Body>
RetCode guard_allocation(std::int32_t* out_begin, std::int32_t* out_count, Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        *out_begin = 0;
        *out_count = 0;
        return RC_NO_MEMORY;
    }
}

// Counts the bars a kernel has consumed and says when its warm-up ends:
// `warming()` is true for the first `lookback` bars.
class WarmUp {
public:
    WarmUp() = default;
    explicit WarmUp(Index lookback) : remaining_(lookback) {}
    // Consumes one bar; true while the warm-up lasts (this bar gives no output).
    bool consume() {
        if (remaining_ == 0) return false;
        --remaining_;
        return true;
    }
    Index remaining() const { return remaining_; }
    template <class Archive>
    void visit(Archive& archive) {
        archive.bounded(remaining_, 0, INT32_MAX);
    }

private:
    Index remaining_ = 0;
};

}  // namespace movlex
