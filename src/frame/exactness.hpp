// The build options the library's bit-exact results rest on, checked where
// the arithmetic is compiled: every double operation rounds to double on its
// own (no wider intermediates, as the x87 unit of 32-bit x86 would keep
// without -msse2 -mfpmath=sse), and the compiler may not reorder, invert or
// assume away any of it (fast-math and its parts). The remaining option,
// -ffp-contract=off (no fused multiply-adds), has no macro; a test checks the
// object code of the shared library for fused instructions instead.
#pragma once

#include <cfloat>

#if defined(__FAST_MATH__) || defined(__ASSOCIATIVE_MATH__) || defined(__RECIPROCAL_MATH__) || \
    (defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__)
#error "movlex must be built without fast-math (or any of its parts): results would differ between machines"
#endif

static_assert(FLT_EVAL_METHOD == 0,
              "double arithmetic must round to double at every step (on 32-bit x86: -msse2 -mfpmath=sse)");
