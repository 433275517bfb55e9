// Work on a block of consecutive bars at once, for the batch run of a kernel
// (steady_block, frame/kernel.hpp). A kernel whose carried state must advance
// bar by bar may leave what lies off that chain (per-bar measures, divisions,
// roots, output formulas) to passes over two bars at a time in lanes, without
// branches, so that it overlaps with the chain. Every operation on Lanes<2> is
// that operation on each lane alone, so each bar gets the bits of the kernel's
// step.
#pragma once

#include <cstddef>
#include <cstring>

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

// Calls body.template operator()<U>(j) for the positions j of 0 .. n - 1:
// two at a time with U = BlockLanes (positions j and j + 1), the last one
// alone with U = double when n is odd. body reads and writes its arrays with
// load_lanes<U> and store_lanes.
template <class Body>
inline void over_pairs(Index n, Body&& body) {
    constexpr Index W = lane_count<BlockLanes>;
    Index j = 0;
    for (; j + W <= n; j += W) body.template operator()<BlockLanes>(j);
    for (; j < n; ++j) body.template operator()<double>(j);
}

// Lane l of a value over U (the value itself for a double).
template <class U>
inline double lane(U value, int l) {
    if constexpr (lane_count<U> == 1) {
        return value;
    } else {
        return value[l];
    }
}

// Sets lane l by its bytes: an element store into the vector reads the
// whole vector first, which the compiler then reports as possibly
// uninitialized.
template <class U>
inline void set_lane(U& value, int l, double x) {
    if constexpr (lane_count<U> == 1) {
        value = x;
    } else {
        std::memcpy(reinterpret_cast<char*>(&value) + sizeof(double) * std::size_t(l), &x, sizeof x);
    }
}

// 1 in the lanes where the condition holds, else 0.
template <class U, class Condition>
inline U flag(Condition condition) {
    return pick(condition, splat<U>(1.0), U{});
}

}  // namespace movlex
