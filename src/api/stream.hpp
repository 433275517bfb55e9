// Streams over the indicator table: one kernel per stream, fed from a ring of
// the most recent bars.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "api/entry_invoker.hpp"
#include "api/stream_set.hpp"
#include "frame/archive.hpp"
#include "frame/kernel.hpp"
#include "frame/series_engine.hpp"
#include "frame/library_state.hpp"
#include "movlex.h"
#include "movlex_stream.h"

namespace movlex {

struct IndicatorInfo;

// What a stream is made from: its indicator's parameters with the defaults
// filled in, and the unstable periods in force when it was created.
struct StreamSetup {
    std::array<double, MAX_PARAMS> params{};
    UnstablePeriods unstable{};
};

class Stream {
public:
    virtual ~Stream() = default;

    // Feeds the next bar (one value per input); true with the bar's outputs in
    // out, false while there is no value yet (out untouched).
    virtual bool update(const double* inputs, double* out) = 0;
    virtual std::unique_ptr<Stream> clone() const = 0;

    // Bars the kernel consumes before its first output.
    virtual Index lookback() const = 0;
    // Whether the kernel gains from running over several series at once
    // (interleaved, or in lanes).
    virtual bool interleaves() const = 0;
    // Runs the kernel of a stream that has consumed no bar over series
    // first .. first + count - 1 of `layout` (see series_engine.hpp), a lane
    // kernel on `target`; the stream itself is left as it is.
    virtual void run_series(const SeriesLayout& layout, std::size_t first, std::size_t count,
                            LaneTarget target) const = 0;
    // Of a stream that has consumed no bar: a set of `symbols` streams of its
    // indicator and parameters, as it is (may throw std::bad_alloc).
    virtual std::unique_ptr<StreamSet> make_set(std::size_t symbols) const = 0;

    const IndicatorInfo& indicator() const { return *indicator_; }
    const StreamSetup& setup() const { return setup_; }
    Index bars() const { return bars_; }

    // The state in the versioned byte format (docs/streams.md).
    std::vector<std::uint8_t> save() const;
    // Replaces this stream's state by a saved one of the same indicator and
    // parameters; on failure the stream is unchanged.
    RetCode restore(std::span<const std::uint8_t> bytes);

protected:
    virtual void write_state(StateWriter& writer) = 0;
    virtual bool read_state(StateReader& reader) = 0;
    // Takes the state of a stream of the same kernel type; false for another.
    virtual bool assign_state(const Stream& other) = 0;

    const IndicatorInfo* indicator_ = nullptr;
    StreamSetup setup_{};
    Index bars_ = 0;

    friend RetCode make_stream(const IndicatorInfo&, const double*, int, std::unique_ptr<Stream>&);
    friend RetCode stream_from_state(std::span<const std::uint8_t>, std::unique_ptr<Stream>&);
};

// A stream of any kernel: the kernel and the rings of bars it reads back.
template <class Kernel>
class KernelStream final : public Stream {
public:
    explicit KernelStream(const Kernel& kernel)
        : kernel_(kernel), bars_ring_(kernel.history()), lookback_(kernel.lookback()) {}

    bool update(const double* inputs, double* out) override {
        const Index i = bars_++;
        for (int k = 0; k < Kernel::inputs; ++k) bars_ring_.put(k, i, inputs[k]);
        // Past the first output the kernel's warm-up test is known to pass.
        // The outputs go through a local array: written straight to `out`,
        // which might alias the state, they would make the compiler reload
        // the state after the store, putting the output's arithmetic on the
        // state's chain.
        if (i > lookback_) [[likely]] {
            double value[Kernel::outputs];
            kernel_.steady(bars_ring_, i, value);
            for (int k = 0; k < Kernel::outputs; ++k) out[k] = value[k];
            return true;
        }
        // During the warm-up a kernel that reports a value sets every output;
        // cleared first, so that the compiler need not see that.
        double value[Kernel::outputs] = {};
        const bool ready = kernel_.step(bars_ring_, i, value);
        if (ready)
            for (int k = 0; k < Kernel::outputs; ++k) out[k] = value[k];
        return ready;
    }

    std::unique_ptr<Stream> clone() const override { return std::make_unique<KernelStream>(*this); }

    Index lookback() const override { return kernel_.lookback(); }
    bool interleaves() const override { return LaneKernel<Kernel> || series_lanes<Kernel>() > 1; }
    void run_series(const SeriesLayout& layout, std::size_t first, std::size_t count,
                    LaneTarget target) const override {
        movlex::run_series(kernel_, layout, first, count, target);
    }
    std::unique_ptr<StreamSet> make_set(std::size_t symbols) const override {
        return std::make_unique<KernelStreamSet<Kernel>>(kernel_, symbols);
    }

private:
    void write_state(StateWriter& writer) override {
        writer(kernel_);
        writer(bars_ring_);
    }
    bool read_state(StateReader& reader) override {
        reader(kernel_);
        reader(bars_ring_);
        lookback_ = kernel_.lookback();
        if constexpr (requires { kernel_.agrees_with(bars_); })
            if (!kernel_.agrees_with(bars_)) return false;
        return reader.ok();
    }
    bool assign_state(const Stream& other) override {
        const auto* same = dynamic_cast<const KernelStream*>(&other);
        if (same == nullptr) return false;
        kernel_ = same->kernel_;
        bars_ring_ = same->bars_ring_;
        bars_ = same->bars_;
        lookback_ = same->lookback_;
        return true;
    }

    Kernel kernel_;
    RingBars<Kernel::inputs> bars_ring_;
    Index lookback_;
};

// How a table row makes its stream's kernel from resolved parameters.
using StreamFactory = std::unique_ptr<Stream> (*)(const StreamSetup& setup);

template <auto make_kernel>
std::unique_ptr<Stream> stream_of(const StreamSetup& setup) {
    using Kernel = decltype(make_kernel(setup.params.data(), setup.unstable));
    return std::make_unique<KernelStream<Kernel>>(make_kernel(setup.params.data(), setup.unstable));
}

// Creates a stream of `indicator` from param_count parameters in table order
// (missing ones and the default sentinels take their defaults), with the
// unstable periods in force now. RC_BAD_ARGUMENT for a parameter out of range.
RetCode make_stream(const IndicatorInfo& indicator, const double* params, int param_count,
                    std::unique_ptr<Stream>& stream);

// The checksum that ends a saved state: 32-bit FNV-1a of the bytes before it.
// Any change confined to one byte changes it.
std::uint32_t state_checksum(std::span<const std::uint8_t> bytes);

// A new stream from a saved state.
RetCode stream_from_state(std::span<const std::uint8_t> bytes, std::unique_ptr<Stream>& stream);

// The unstable periods a new stream takes. Where the library state lives in
// another library, the extended library's build supplies its own definition.
UnstablePeriods unstable_periods_in_force();

}  // namespace movlex
