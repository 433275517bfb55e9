// The many-series engine's lane kernels for one instruction set. This source
// is compiled once per instruction set the engine dispatches to: the build
// defines MOVLEX_LANE_ENTRY (the function it defines), MOVLEX_LANE_WIDTH (the
// lanes of one group) and the compiler's options for the instruction set.
// Everything an entry runs is compiled into it, so this object defines no
// function but its entries, and no code for one instruction set reaches
// another's callers (a test checks its symbols).
#include "averages/exponential.hpp"
#include "directional/movement.hpp"
#include "directional/trend_strength.hpp"
#include "directional/true_range.hpp"
#include "frame/series_engine.hpp"
#include "oscillators/rsi.hpp"

#ifndef MOVLEX_LANE_ENTRY
#define MOVLEX_LANE_ENTRY run_series_baseline
#define MOVLEX_LANE_WIDTH 2
#endif

namespace movlex {

template <class Kernel>
[[gnu::flatten]] void MOVLEX_LANE_ENTRY(const Kernel& prototype, const SeriesLayout& layout, std::size_t first,
                                        std::size_t count) {
    run_series_over_lanes<MOVLEX_LANE_WIDTH>(prototype, layout, first, count);
}

// Every kernel of the table written over lanes (those with retyped()).
#define MOVLEX_FOR_EACH_LANE_KERNEL(X) \
    X(EmaKernel)                       \
    X(DemaKernel)                      \
    X(TemaKernel)                      \
    X(RsiKernel)                       \
    X(CmoKernel)                       \
    X(AtrKernel)                       \
    X(NatrKernel)                      \
    X(PlusDmKernel)                    \
    X(MinusDmKernel)                   \
    X(PlusDiKernel)                    \
    X(MinusDiKernel)                   \
    X(DxKernel)                        \
    X(AdxKernel)                       \
    X(AdxrKernel)

#define MOVLEX_INSTANTIATE(Kernel) \
    template void MOVLEX_LANE_ENTRY<Kernel>(const Kernel&, const SeriesLayout&, std::size_t, std::size_t);
MOVLEX_FOR_EACH_LANE_KERNEL(MOVLEX_INSTANTIATE)

}  // namespace movlex
