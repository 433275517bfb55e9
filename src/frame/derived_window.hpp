// The window runs (frame/window_moments.hpp) of two series that a kernel
// derives itself, bar by bar: the derived values are kept in rings as long as
// the window, from which the older run is formed afresh.
#pragma once

#include <utility>

#include "frame/kernel.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

template <class Run>
class DerivedWindow {
public:
    DerivedWindow() = default;
    explicit DerivedWindow(Index length) : values_(length), runs_(length) {}

    Index lookback() const { return runs_.lookback(); }

    // Adds the values of bar i; once the window is full sets `run` and
    // returns true.
    bool push(Index i, double a, double b, Run& run) {
        put(i, a, b);
        return runs_.step(i, pair(), run);
    }
    // The same once the window is full.
    Run next(Index i, double a, double b) {
        put(i, a, b);
        return runs_.next(i, pair());
    }

    const SlidingRuns<Run>& runs() const { return runs_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(values_);
        archive(runs_);
    }

private:
    void put(Index i, double a, double b) {
        values_.put(0, i, a);
        values_.put(1, i, b);
    }
    auto pair() const {
        return [this](Index j) { return std::pair{values_(0, j), values_(1, j)}; };
    }

    RingBars<2> values_;
    SlidingRuns<Run> runs_;
};

}  // namespace movlex
