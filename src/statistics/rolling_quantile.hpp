// Rolling median and quantile: order statistics of the last `period` values,
// kept in two heaps so that a bar costs O(log period).
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/scratch.hpp"

namespace movlex {

inline constexpr std::array ROLLING_MEDIAN_PARAMS{integer_param("period", 20, 1)};
inline constexpr std::array ROLLING_QUANTILE_PARAMS{integer_param("period", 20, 1), real_param("quantile", 0.5, 0.0, 1.0)};

// The window's values split at a rank r (0 the smallest): a max-heap of the
// r + 1 smallest and a min-heap of the others, each value knowing its place.
// Values are ordered totally: -0.0 before +0.0, NaNs after every number, so
// that the values at the ranks depend only on the window's values, not on
// the order they came in.
class WindowRanks {
public:
    WindowRanks() = default;
    WindowRanks(Index length, Index rank);

    // The window afresh: each value put in its slot (slot = bar % length),
    // then the heaps built.
    void put(Index slot, double value) { values_[std::size_t(slot)] = value; }
    void build();
    // The value in `slot` (the oldest bar's) replaced by the newest bar's.
    void replace(Index slot, double value);

    double at_rank() const { return values_[std::size_t(lower_[0])]; }
    double above_rank() const { return values_[std::size_t(upper_[0])]; }
    bool holds_nan() const { return nans_ > 0; }

private:
    using Heap = ScratchVector<std::int32_t>;
    void sift(Heap& heap, bool lower, Index at);
    bool sift_up(Heap& heap, bool lower, Index at);
    void sift_down(Heap& heap, bool lower, Index at);
    bool above(bool lower, std::int32_t a, std::int32_t b) const;  // a belongs nearer the heap's top
    void place(Heap& heap, bool lower, Index at, std::int32_t slot);

    ScratchVector<double> values_;  // by slot
    Heap lower_;                    // slots of the r + 1 smallest, largest on top
    Heap upper_;                    // slots of the others, smallest on top
    Heap place_;                    // each slot's index in its heap
    Heap order_;                    // the slots, in building
    ScratchVector<std::int8_t> in_lower_;
    Index nans_ = 0;
};

// How the values at rank r and r + 1 make the result.
struct QuantileRule {
    Index rank = 0;
    double fraction = 0.0;  // of the way from rank r to rank r + 1
    bool midpoint = false;  // (x[r] + x[r + 1]) / 2: an even window's median
};

class RollingQuantileKernel : public IdleWarmUpKernel<RollingQuantileKernel> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    RollingQuantileKernel(std::int32_t period, QuantileRule rule)
        : IdleWarmUpKernel(period - 1), period_(period), rule_(rule), ranks_(period, rule.rank) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        if (built_) {
            ranks_.replace(i % period_, bars(0, i));
        } else {
            for (Index j = i - (period_ - 1); j <= i; ++j) ranks_.put(j % period_, bars(0, j));
            ranks_.build();
            built_ = true;
        }
        out[0] = result();
    }

    // The heaps are not saved: they follow from the window's values, which a
    // stream keeps, and are built again at the next bar.
    template <class Archive>
    void visit(Archive& archive) {
        archive(warm_up_);
        built_ = false;
    }

private:
    double result() const;

    Index period_;
    QuantileRule rule_;
    WindowRanks ranks_;
    bool built_ = false;
};

RollingQuantileKernel rolling_median_kernel(const double* params, const UnstablePeriods& unstable);
RollingQuantileKernel rolling_quantile_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
