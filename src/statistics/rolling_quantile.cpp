// The heaps meet at the rank: every value of the lower heap is at most every
// value of the upper one. A replaced value moves up or down its own heap;
// if it then breaks the meeting, the two tops change heaps, which restores
// it (the rest of each heap lay on its own side already).
#include "statistics/rolling_quantile.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace movlex {

namespace {

// The total order: numbers by value, -0.0 before +0.0, NaNs last.
bool before(double a, double b) {
    if (a < b) return true;
    if (a > b) return false;
    if (a == b) return std::signbit(a) && !std::signbit(b);
    return !std::isnan(a) && std::isnan(b);
}

}  // namespace

WindowRanks::WindowRanks(Index length, Index rank)
    : values_(std::size_t(length)),
      lower_(std::size_t(rank + 1)),
      upper_(std::size_t(length - rank - 1)),
      place_(std::size_t(length)),
      order_(std::size_t(length)),
      in_lower_(std::size_t(length)) {}

bool WindowRanks::above(bool lower, std::int32_t a, std::int32_t b) const {
    const double x = values_[std::size_t(a)], y = values_[std::size_t(b)];
    return lower ? before(y, x) : before(x, y);
}

void WindowRanks::place(Heap& heap, bool lower, Index at, std::int32_t slot) {
    heap[std::size_t(at)] = slot;
    place_[std::size_t(slot)] = std::int32_t(at);
    in_lower_[std::size_t(slot)] = lower ? 1 : 0;
}

bool WindowRanks::sift_up(Heap& heap, bool lower, Index at) {
    const std::int32_t slot = heap[std::size_t(at)];
    const Index start = at;
    while (at > 0) {
        const Index parent = (at - 1) / 2;
        if (!above(lower, slot, heap[std::size_t(parent)])) break;
        place(heap, lower, at, heap[std::size_t(parent)]);
        at = parent;
    }
    place(heap, lower, at, slot);
    return at != start;
}

void WindowRanks::sift_down(Heap& heap, bool lower, Index at) {
    const Index size = Index(heap.size());
    const std::int32_t slot = heap[std::size_t(at)];
    for (;;) {
        Index child = 2 * at + 1;
        if (child >= size) break;
        if (child + 1 < size && above(lower, heap[std::size_t(child + 1)], heap[std::size_t(child)])) ++child;
        if (!above(lower, heap[std::size_t(child)], slot)) break;
        place(heap, lower, at, heap[std::size_t(child)]);
        at = child;
    }
    place(heap, lower, at, slot);
}

void WindowRanks::sift(Heap& heap, bool lower, Index at) {
    if (!sift_up(heap, lower, at)) sift_down(heap, lower, at);
}

void WindowRanks::build() {
    Heap& order = order_;
    std::iota(order.begin(), order.end(), 0);
    const auto by_value = [this](std::int32_t a, std::int32_t b) {
        return before(values_[std::size_t(a)], values_[std::size_t(b)]);
    };
    const auto cut = order.begin() + std::ptrdiff_t(lower_.size());
    if (!upper_.empty()) std::nth_element(order.begin(), cut, order.end(), by_value);
    for (std::size_t k = 0; k < lower_.size(); ++k) place(lower_, true, Index(k), order[k]);
    for (std::size_t k = 0; k < upper_.size(); ++k) place(upper_, false, Index(k), order[lower_.size() + k]);
    for (Index k = Index(lower_.size()) / 2 - 1; k >= 0; --k) sift_down(lower_, true, k);
    for (Index k = Index(upper_.size()) / 2 - 1; k >= 0; --k) sift_down(upper_, false, k);
    nans_ = std::count_if(values_.begin(), values_.end(), [](double v) { return std::isnan(v); });
}

void WindowRanks::replace(Index slot, double value) {
    double& held = values_[std::size_t(slot)];
    nans_ += Index(std::isnan(value)) - Index(std::isnan(held));
    held = value;
    const bool lower = in_lower_[std::size_t(slot)] != 0;
    sift(lower ? lower_ : upper_, lower, place_[std::size_t(slot)]);
    if (upper_.empty() || !before(values_[std::size_t(upper_[0])], values_[std::size_t(lower_[0])])) return;
    const std::int32_t low_top = lower_[0], high_top = upper_[0];
    place(lower_, true, 0, high_top);
    place(upper_, false, 0, low_top);
    sift_down(lower_, true, 0);
    sift_down(upper_, false, 0);
}

double RollingQuantileKernel::result() const {
    if (ranks_.holds_nan()) return std::numeric_limits<double>::quiet_NaN();
    const double low = ranks_.at_rank();
    if (rule_.midpoint) return (low + ranks_.above_rank()) / 2.0;
    if (rule_.fraction == 0.0) return low;
    return low + rule_.fraction * (ranks_.above_rank() - low);
}

RollingQuantileKernel rolling_median_kernel(const double* params, const UnstablePeriods&) {
    const auto period = std::int32_t(params[0]);
    const bool even = period % 2 == 0;
    return RollingQuantileKernel(period, QuantileRule{(period - 1) / 2, 0.0, even});
}

RollingQuantileKernel rolling_quantile_kernel(const double* params, const UnstablePeriods&) {
    const auto period = std::int32_t(params[0]);
    const double position = double(period - 1) * params[1];
    const double rank = std::floor(position);
    return RollingQuantileKernel(period, QuantileRule{Index(rank), position - rank, false});
}

}  // namespace movlex
