// The entries of the extended set work as the core's do: the checks of the
// calling contract, then the indicator's kernel over the range. The kernel
// takes the unstable periods in force (those of the core library, where that
// is another library), and an allocation that fails (a kernel's rings) is
// RC_NO_MEMORY. Each entry is one call of extended_entry, generated from the
// indicator list.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>

#include "api/entry_invoker.hpp"
#include "api/stream.hpp"
#include "frame/contract.hpp"
#include "frame/entry_form.hpp"
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

// The whole entry: the checks (check_request), then the kernel made from
// the resolved parameters.
template <auto make_kernel, std::size_t P, std::size_t N, std::size_t M, class... Values>
RetCode extended_entry(const ParamList<P>& declared, std::int32_t first_index, std::int32_t last_index,
                       const std::array<const double*, N>& inputs, std::int32_t* out_begin, std::int32_t* out_count,
                       const std::array<double*, M>& outs, Values... values) {
    std::array<double, MAX_PARAMS> params;
    const RetCode rc = check_request(declared, first_index, last_index, inputs, outs, params, values...);
    if (rc != RC_OK) return rc;
    return run_extended_entry<make_kernel>(first_index, last_index, inputs, params.data(), out_begin, out_count,
                                           outs);
}

// Whether two parameter lists declare the same names, kinds, defaults and
// ranges (the generated prototypes document one; the entry checks the other).
template <std::size_t N, std::size_t M>
constexpr bool same_params(const ParamList<N>& declared, const ParamList<M>& documented) {
    if (N != M) return false;
    for (std::size_t p = 0; p < N; ++p) {
        const ParamInfo& a = declared[p];
        const ParamInfo& b = documented[p];
        if (std::string_view(a.name) != b.name || a.kind != b.kind || a.default_value != b.default_value ||
            a.min != b.min || a.max != b.max)
            return false;
    }
    return true;
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
