// A validated request of the directional family, run through its kernel.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/contract.hpp"
#include "frame/kernel.hpp"
#include "movlex.h"

namespace movlex::directional {

// The first output belongs to bar max(first_index, lookback); the kernel is
// fed from lookback bars before it, so a later start seeds later.
template <class Kernel, std::size_t N>
RetCode run_request(const Kernel& kernel, std::int32_t first_index, std::int32_t last_index,
                    const std::array<const double*, N>& inputs, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out) {
    const Index lookback = kernel.lookback();
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(kernel, inputs, start - lookback, last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex::directional
