// The entries of the extended set are written as the core's are: the checks
// of the calling contract, then the indicator's kernel over the range. The
// kernel takes the unstable periods in force (those of the core library,
// where that is another library), and an allocation that fails (a kernel's
// rings) is RC_NO_MEMORY.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "api/entry_invoker.hpp"
#include "api/stream.hpp"
#include "frame/contract.hpp"
#include "frame/kernel.hpp"
#include "frame/parameter.hpp"

namespace movlex {

// After the checks have passed: params are the resolved parameters in
// declaration order.
template <auto make_kernel, std::size_t N, std::size_t M>
RetCode run_extended_entry(std::int32_t first_index, std::int32_t last_index,
                           const std::array<const double*, N>& inputs, const double* params,
                           std::int32_t* out_begin, std::int32_t* out_count, const std::array<double*, M>& outs) {
    return guard_allocation(out_begin, out_count, [&] {
        const auto kernel = make_kernel(params, unstable_periods_in_force());
        const Index start = std::max<Index>(first_index, kernel.lookback());
        if (start > last_index) return no_output(out_begin, out_count);
        run_kernel(kernel, inputs, start - kernel.lookback(), last_index, outs);
        return report_output(out_begin, out_count, start, last_index);
    });
}

// The parameter declarations of the table row whose lookback routine is
// `lookback`, and their number.
const ParamInfo* declared_params_of(std::int32_t (*lookback)(const double*), int& count);

// The lookback of an extended indicator from raw parameters (the default
// sentinels allowed), checked against its row's declarations; -1 for a
// parameter out of range.
template <auto make_kernel>
std::int32_t extended_lookback(const double* raw) {
    int count = 0;
    const ParamInfo* declared = declared_params_of(&extended_lookback<make_kernel>, count);
    std::array<double, MAX_PARAMS> params{};
    for (int p = 0; p < count; ++p)
        if (!resolve_value(declared[p], raw[p], params[std::size_t(p)])) return -1;
    try {
        return std::int32_t(make_kernel(params.data(), unstable_periods_in_force()).lookback());
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

}  // namespace movlex
