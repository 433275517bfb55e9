// The batch path of a kernel (steady_block, frame/kernel.hpp) runs over bars
// in pairs: what lies off a carried chain (per-bar measures, output
// formulas) is computed for two bars at once over Lanes<2>, without
// branches, while the chain itself steps through the two bars one after the
// other, all in one pass, so that the work off the chain overlaps with it.
// Every operation on Lanes<2> is that operation on each lane alone, so each
// bar gets the bits of the kernel's step.
#pragma once

#include "frame/contract.hpp"
#include "frame/lanes.hpp"

namespace movlex {

// Calls body.template operator()<U>(j) for the positions j of 0 .. n - 1:
// two at a time with U = Lanes<2> (positions j and j + 1), the last one
// alone with U = double when n is odd.
template <class Body>
inline void over_pairs(Index n, Body&& body) {
    Index j = 0;
    for (; j + 2 <= n; j += 2) body.template operator()<Lanes<2>>(j);
    if (j < n) body.template operator()<double>(j);
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

template <class U>
inline void set_lane(U& value, int l, double x) {
    if constexpr (lane_count<U> == 1) {
        value = x;
    } else {
        value[l] = x;
    }
}

// 1 in the lanes where the condition holds, else 0.
template <class U, class Condition>
inline U flag(Condition condition) {
    return pick(condition, splat<U>(1.0), U{});
}

}  // namespace movlex
