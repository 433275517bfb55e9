// Blocks of bars for a kernel's batch path (steady_block, frame/kernel.hpp):
// the work of a block is split into passes, so that what lies off a carried
// chain (per-bar measures, output formulas) runs two bars at a time and
// without branches, and the chain itself runs alone over a short array.
// Every pass performs on each bar the operations the kernel's step performs
// (an operation on Lanes<2> is that operation on each lane alone), so the
// bits are those of the step.
#pragma once

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/lanes.hpp"

namespace movlex {

// Bars per block: the passes' arrays stay in the first-level cache.
inline constexpr Index BLOCK_BARS = 256;

// A pass's array of one value per bar of a block.
struct alignas(16) BlockArray {
    double at[BLOCK_BARS];
    double* data() { return at; }
    const double* data() const { return at; }
};

// Calls body(offset, n) for the blocks offset .. offset + n - 1 that cover
// 0 .. count - 1 in order.
template <class Body>
inline void for_each_block(Index count, Body&& body) {
    for (Index offset = 0; offset < count; offset += BLOCK_BARS) body(offset, std::min(BLOCK_BARS, count - offset));
}

// Calls body.template operator()<U>(j) for the positions j of 0 .. n - 1:
// two at a time with U = Lanes<2> (positions j and j + 1), the last one
// alone with U = double when n is odd.
template <class Body>
inline void over_pairs(Index n, Body&& body) {
    Index j = 0;
    for (; j + 2 <= n; j += 2) body.template operator()<Lanes<2>>(j);
    if (j < n) body.template operator()<double>(j);
}

}  // namespace movlex
