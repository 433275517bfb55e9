// Work on a block of consecutive bars at once, for the batch run of a kernel
// (run_kernel, frame/kernel.hpp). A kernel whose carried state must advance
// bar by bar may still leave the per-bar arithmetic that follows from it
// (divisions, roots) to a second pass over the block, in lanes: each element
// goes through the same IEEE operations as in the kernel's step, so the block
// gives the bits of the steps.
#pragma once

#include "frame/contract.hpp"
#include "frame/lanes.hpp"

namespace movlex {

// The most bars a kernel takes in one block (its arrays for the block live
// on the stack).
inline constexpr Index BAR_BLOCK = 64;

// The value type of a block's pass: two lanes, what every processor of each
// target has (SSE2 on x86-64, Advanced SIMD on aarch64; elsewhere the
// compiler splits them into doubles).
using BlockLanes = Lanes<2>;

// Calls op.template operator()<V>(j) for elements j .. j + lane_count<V> - 1
// of a block of n: in lanes (V = BlockLanes) while a whole vector fits, then
// one element at a time (V = double). op reads and writes its arrays with
// load_lanes<V> and store_lanes.
template <class Op>
inline void for_lanes(Index n, Op&& op) {
    constexpr Index W = lane_count<BlockLanes>;
    Index j = 0;
    for (; j + W <= n; j += W) op.template operator()<BlockLanes>(j);
    for (; j < n; ++j) op.template operator()<double>(j);
}

}  // namespace movlex
