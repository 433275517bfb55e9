// Values of several independent series held side by side, one per lane, so
// that one instruction advances all of them. A kernel written over a value
// type V runs with V = double for one series (the entries, the streams) and
// with V = Lanes<W> for W series at once (the many-series engine). Every
// operation on lanes is the IEEE operation on each lane alone: +, -, *, / on
// Lanes<W> give in each lane exactly the bits they give on doubles, and a
// choice between two values (pick) moves bits without arithmetic. So a kernel
// performs, lane by lane, the operations it performs on one series.
//
// Branches on values become choices: where a kernel on doubles writes
// `if (c) x = a; else x = b;`, the same kernel over V writes
// `x = pick(c, a, b)`, which for doubles is that same choice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#elif defined(__aarch64__)
#include <arm_neon.h>
#endif

namespace movlex {

template <int W>
struct LaneVector;
template <>
struct LaneVector<2> {
    typedef double type __attribute__((vector_size(16)));
};
template <>
struct LaneVector<4> {
    typedef double type __attribute__((vector_size(32)));
};
template <>
struct LaneVector<8> {
    typedef double type __attribute__((vector_size(64)));
};

// W doubles, one per lane.
template <int W>
using Lanes = typename LaneVector<W>::type;

// The number of lanes of a value type: 1 for double.
template <class V>
inline constexpr int lane_count = int(sizeof(V) / sizeof(double));

// The same value in every lane.
template <class V>
inline V splat(double value) {
    if constexpr (lane_count<V> == 1) {
        return value;
    } else {
        V lanes;
        for (int l = 0; l < lane_count<V>; ++l) lanes[l] = value;
        return lanes;
    }
}

// a where the condition holds, else b (a comparison of V values gives a
// condition per lane).
template <class V, class Condition>
inline V pick(Condition condition, V a, V b) {
    return condition ? a : b;
}

// |value|: the sign bit cleared, as std::fabs does.
inline double magnitude(double value) { return __builtin_fabs(value); }
template <class V>
inline V magnitude(V value) {
    using Bits = decltype(value < value);  // 64-bit integers, one per lane
    return (V)((Bits)value & ~(Bits{} + INT64_MIN));
}

// The square root of every lane, correctly rounded as IEEE requires (so the
// bits of std::sqrt on each lane alone); a lane below zero gives a NaN and
// sets no errno.
inline double square_root(double value) { return __builtin_sqrt(value); }
template <class V>
inline V square_root(V value) {
#if defined(__SSE2__)
    if constexpr (lane_count<V> == 2) return (V)_mm_sqrt_pd((__m128d)value);
#elif defined(__aarch64__)
    if constexpr (lane_count<V> == 2) return (V)vsqrtq_f64((float64x2_t)value);
#endif
    for (int l = 0; l < lane_count<V>; ++l) value[l] = __builtin_sqrt(value[l]);
    return value;
}

// The lanes of `source`, which need not be aligned.
template <class V>
inline V load_lanes(const double* source) {
    V value;
    __builtin_memcpy(&value, source, sizeof(V));
    return value;
}

template <class V>
inline void store_lanes(double* target, V value) {
    __builtin_memcpy(target, &value, sizeof(V));
}

namespace lanes_detail {

// Where lane p of the first (or the second) vector of a pair `distance` apart
// comes from, in the pair's 2W lanes, in one stage of the transpose.
constexpr int stage_source(int W, int distance, bool second, int p) {
    if (!second) return (p & distance) ? W + p - distance : p;
    return (p & distance) ? W + p : p + distance;
}

template <class V, int distance, bool second, std::size_t... P>
inline V stage_shuffle(V x, V y, std::index_sequence<P...>) {
    return __builtin_shufflevector(x, y, stage_source(lane_count<V>, distance, second, int(P))...);
}

// One stage of the transpose: the pair (x, y) of vectors `distance` apart
// swaps the blocks of `distance` lanes in which they differ.
template <class V, int distance>
inline void transpose_stage(V* rows) {
    constexpr int W = lane_count<V>;
    constexpr auto lanes = std::make_index_sequence<std::size_t(W)>{};
    for (int j = 0; j < W; ++j) {
        if (j & distance) continue;
        const V x = rows[j], y = rows[j + distance];
        rows[j] = stage_shuffle<V, distance, false>(x, y, lanes);
        rows[j + distance] = stage_shuffle<V, distance, true>(x, y, lanes);
    }
}

}  // namespace lanes_detail

// Transposes W vectors of W lanes in place: lane t of vector l becomes lane l
// of vector t. It moves values only.
template <class V>
inline void transpose(V* rows) {
    if constexpr (lane_count<V> >= 2) lanes_detail::transpose_stage<V, 1>(rows);
    if constexpr (lane_count<V> >= 4) lanes_detail::transpose_stage<V, 2>(rows);
    if constexpr (lane_count<V> >= 8) lanes_detail::transpose_stage<V, 4>(rows);
}

}  // namespace movlex
