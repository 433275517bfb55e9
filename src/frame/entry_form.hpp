// What an entry does after its checks have passed: make the indicator's
// kernel from the resolved parameters, look at the range, run the kernel over
// it and report the output. The steps are the same for every indicator; where
// one differs (it clears out_begin and out_count first, it allocates, it
// looks at the range before it takes its storage, it runs a faster kernel
// chosen for its parameters) its family says so by specialising entry_form or
// entry_runner next to the kernel's factory.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

#include "frame/contract.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// One checked call: the range, the arrays, and where its result goes.
template <std::size_t N, std::size_t M>
struct EntryRequest {
    std::int32_t first_index;
    std::int32_t last_index;
    std::array<const double*, N> inputs;
    std::int32_t* out_begin;
    std::int32_t* out_count;
    std::array<double*, M> outs;
    bool clears_outputs;  // out_begin and out_count read empty before the range is looked at
};

// The first output belongs to bar max(first_index, lookback); the kernel is
// fed from lookback bars before it, so a later start seeds later. The kernel
// is moved into the run, never copied: a copy of a kernel whose ring lives on
// the heap would allocate a second time.
template <class Kernel, std::size_t N, std::size_t M>
RetCode run_request(Kernel kernel, const EntryRequest<N, M>& request) {
    if (request.clears_outputs) no_output(request.out_begin, request.out_count);
    const Index lookback = kernel.lookback();
    const Index start = std::max<Index>(request.first_index, lookback);
    if (start > request.last_index) return no_output(request.out_begin, request.out_count);
    run_kernel(std::move(kernel), request.inputs, start - lookback, request.last_index, request.outs);
    return report_output(request.out_begin, request.out_count, start, request.last_index);
}

// What a kernel that cannot have its memory does to the result.
enum class OnNoMemory {
    not_allocating,  // the kernel allocates nothing (or its runner reports the failure itself)
    reports_empty,   // RC_NO_MEMORY with out_begin and out_count 0
    leaves_outputs,  // RC_NO_MEMORY with out_begin and out_count untouched
};

struct EntryForm {
    bool clears_outputs = false;
    OnNoMemory memory = OnNoMemory::not_allocating;
    // When set, the range is looked at against this lookback (of the
    // resolved parameters) before the kernel and its storage are made, so an
    // empty range allocates nothing.
    Index (*lookback_before_storage)(const double* params, const UnstablePeriods& unstable) = nullptr;
};

// The lookbacks of a window of `period` bars (the first parameter) that ends
// at the current bar, and of one that ends at the bar before.
inline Index window_lookback(const double* params, const UnstablePeriods&) { return Index(params[0]) - 1; }
inline Index window_before_lookback(const double* params, const UnstablePeriods&) { return Index(params[0]); }

// The form of the entry of the indicator whose factory is make_kernel.
template <auto make_kernel>
inline constexpr EntryForm entry_form{};

// The entry's kernel choice and run, where it is not simply the factory's
// kernel: a function RetCode(const double* params, const UnstablePeriods&,
// const EntryRequest<N, M>&) that ends in run_request.
template <auto make_kernel>
inline constexpr std::nullptr_t entry_runner = nullptr;

// After the checks: params are the resolved parameters in declaration order.
template <auto make_kernel, std::size_t N, std::size_t M>
RetCode run_entry(const double* params, const EntryRequest<N, M>& request) {
    constexpr EntryForm form = entry_form<make_kernel>;
    const auto body = [&]() -> RetCode {
        const UnstablePeriods unstable = current_unstable_periods();
        // A test the compiler settles (form is a constant); written as a plain
        // if, since some builds (the sanitizers') do not take a function's
        // address as a constant that can be compared with null.
        if (form.lookback_before_storage != nullptr) {
            if (request.clears_outputs) no_output(request.out_begin, request.out_count);
            if (std::max<Index>(request.first_index, form.lookback_before_storage(params, unstable)) >
                request.last_index)
                return no_output(request.out_begin, request.out_count);
        }
        if constexpr (std::is_null_pointer_v<std::remove_cvref_t<decltype(entry_runner<make_kernel>)>>)
            return run_request(make_kernel(params, unstable), request);
        else
            return entry_runner<make_kernel>(params, unstable, request);
    };
    if constexpr (form.memory == OnNoMemory::reports_empty)
        return guard_allocation(request.out_begin, request.out_count, body);
    else if constexpr (form.memory == OnNoMemory::leaves_outputs)
        return guard_allocation(body);
    else
        return body();
}

// The checks of an entry in the contract's order (range, inputs, the
// parameters against their declarations in argument order, outputs): the
// first failure, or RC_OK with params the resolved parameters in declaration
// order.
template <std::size_t P, std::size_t N, std::size_t M, class... Values>
RetCode check_request(const ParamList<P>& declared, std::int32_t first_index, std::int32_t last_index,
                      const std::array<const double*, N>& inputs, const std::array<double*, M>& outs,
                      std::array<double, MAX_PARAMS>& params, Values... values) {
    Validation validation(first_index, last_index);
    std::apply([&](auto... arrays) { validation.inputs(arrays...); }, inputs);
    validation.params(declared, values...);
    std::apply([&](auto... arrays) { validation.outputs(arrays...); }, outs);
    params = {double(values)...};
    return validation.result();
}

// The whole entry: the checks, then the run.
template <auto make_kernel, std::size_t P, std::size_t N, std::size_t M, class... Values>
RetCode core_entry(const ParamList<P>& declared, std::int32_t first_index, std::int32_t last_index,
                   const std::array<const double*, N>& inputs, std::int32_t* out_begin, std::int32_t* out_count,
                   const std::array<double*, M>& outs, Values... values) {
    std::array<double, MAX_PARAMS> params;
    const RetCode rc = check_request(declared, first_index, last_index, inputs, outs, params, values...);
    if (rc != RC_OK) return rc;
    const EntryRequest<N, M> request{first_index, last_index, inputs, out_begin, out_count, outs,
                                     entry_form<make_kernel>.clears_outputs};
    return run_entry<make_kernel>(params.data(), request);
}

// The lookback of the indicator for the given parameters (the default
// sentinels allowed): that of its kernel; -1 for a parameter out of range or
// a kernel that cannot have its memory.
template <auto make_kernel, std::size_t P, class... Values>
std::int32_t core_lookback(const ParamList<P>& declared, Values... values) {
    if (!resolve(declared, values...)) return -1;
    const std::array<double, MAX_PARAMS> params{double(values)...};
    const UnstablePeriods unstable = current_unstable_periods();
    // A kernel that takes storage says its lookback without it: a lookback is
    // arithmetic on the parameters and cannot fail for want of memory.
    constexpr EntryForm form = entry_form<make_kernel>;
    if (form.lookback_before_storage != nullptr)
        return std::int32_t(form.lookback_before_storage(params.data(), unstable));
    try {
        return std::int32_t(make_kernel(params.data(), unstable).lookback());
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

}  // namespace movlex
