// One indicator with one set of parameters over K symbols, fed one bar of
// every symbol at a time: for hosts that receive a whole universe at each bar.
// Each symbol goes through the indicator's kernel exactly as its own stream
// would, so it gets the same bits; kernels written over lanes (the ones the
// many-series engine interleaves) step two symbols per instruction, and the
// symbols' chains, independent of each other, overlap in the processor.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "frame/kernel.hpp"
#include "frame/lanes.hpp"
#include "frame/series_engine.hpp"

namespace movlex {

class StreamSet {
public:
    virtual ~StreamSet() = default;

    // Feeds the next bar of every symbol: inputs[k][s] is input k of symbol
    // s. True with output k of symbol s in outputs[k][s], false while there
    // is no value yet (outputs untouched). Every symbol has been fed as many
    // bars as every other, so all have values from the same bar on.
    virtual bool update(const double* const* inputs, double* const* outputs) = 0;

    std::size_t symbols() const { return symbols_; }
    Index bars() const { return bars_; }
    Index lookback() const { return lookback_; }

protected:
    StreamSet(std::size_t symbols, Index lookback) : symbols_(symbols), lookback_(lookback) {}

    std::size_t symbols_;
    Index bars_ = 0;
    Index lookback_;
};

namespace stream_set_detail {

// A kernel and the rings of the bars it reads back, over one symbol
// (V = double) or over the lanes of V, one symbol per lane.
template <class Kernel, class V>
struct Member {
    explicit Member(const Kernel& prototype) : kernel(prototype), ring(prototype.history()) {}

    // Feeds bar i of symbols first .. first + lanes - 1; true with their
    // outputs stored.
    template <bool Steady>
    bool feed(const double* const* inputs, double* const* outputs, std::size_t first, Index i) {
        for (int k = 0; k < Kernel::inputs; ++k) ring.put(k, i, load_lanes<V>(inputs[k] + first));
        V value[Kernel::outputs] = {};
        if constexpr (Steady)
            kernel.steady(ring, i, value);
        else if (!kernel.step(ring, i, value))
            return false;
        for (int k = 0; k < Kernel::outputs; ++k) store_lanes(outputs[k] + first, value[k]);
        return true;
    }

    Kernel kernel;
    RingBars<Kernel::inputs, V> ring;
};

// The lane width a set groups symbols by: the baseline's, which every
// processor of the target runs; 1 for a kernel not written over lanes.
constexpr int SET_LANES = 2;

template <class Kernel>
struct LaneTypes {
    static constexpr int width = 1;
    using Group = Member<Kernel, double>;  // unused: no group is made
};

template <LaneKernel Kernel>
struct LaneTypes<Kernel> {
    static constexpr int width = SET_LANES;
    using LaneKernelType = decltype(std::declval<const Kernel&>().template retyped<Lanes<SET_LANES>>());
    using Group = Member<LaneKernelType, Lanes<SET_LANES>>;
};

}  // namespace stream_set_detail

template <class Kernel>
class KernelStreamSet final : public StreamSet {
    using Types = stream_set_detail::LaneTypes<Kernel>;
    static constexpr std::size_t W = std::size_t(Types::width);

public:
    // K streams of `prototype`, a kernel that has consumed nothing.
    KernelStreamSet(const Kernel& prototype, std::size_t symbols) : StreamSet(symbols, prototype.lookback()) {
        std::size_t s = 0;
        if constexpr (W > 1) {
            const auto lanes = prototype.template retyped<Lanes<W>>();
            groups_.reserve(symbols / W);
            for (; s + W <= symbols; s += W) groups_.emplace_back(lanes);
        }
        singles_.reserve(symbols - s);
        for (; s < symbols; ++s) singles_.emplace_back(prototype);
    }

    bool update(const double* const* inputs, double* const* outputs) override {
        const Index i = bars_++;
        if (i > lookback_) return feed<true>(inputs, outputs, i);
        return feed<false>(inputs, outputs, i);
    }

private:
    template <bool Steady>
    bool feed(const double* const* inputs, double* const* outputs, Index i) {
        bool ready = Steady || i >= lookback_;  // the kernels' answer, when there are symbols
        std::size_t first = 0;
        for (auto& group : groups_) {
            ready = group.template feed<Steady>(inputs, outputs, first, i);
            first += W;
        }
        for (auto& single : singles_) ready = single.template feed<Steady>(inputs, outputs, first++, i);
        return ready;
    }

    std::vector<typename Types::Group> groups_;
    std::vector<stream_set_detail::Member<Kernel, double>> singles_;
};

}  // namespace movlex
