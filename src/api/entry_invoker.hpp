// Calls any exported entry, or any lookback routine, from one uniform
// request. The role of each argument follows from its position and type, as
// the calling contract lays it out: first_index, last_index, the input arrays
// (const double*), the parameters (int32_t or double, or one settings
// structure holding them all), out_begin, out_count and the output arrays
// (double*).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#include "frame/parameter.hpp"
#include "movlex.h"
#include "movlex_extended.h"
#include "movlex_stream.h"

namespace movlex {

inline constexpr int MAX_INPUTS = MOVLEX_MAX_INPUTS;
inline constexpr int MAX_OUTPUTS = MOVLEX_MAX_OUTPUTS;

// One call of an indicator. Integer parameters are held as doubles, which
// represent every int32_t exactly.
struct Request {
    std::int32_t first_index = 0;
    std::int32_t last_index = 0;
    std::array<const double*, MAX_INPUTS> inputs{};
    std::array<double, MAX_PARAMS> params{};
    std::int32_t* out_begin = nullptr;
    std::int32_t* out_count = nullptr;
    std::array<double*, MAX_OUTPUTS> outputs{};
};

namespace invoker_detail {

enum class Role { first_index, last_index, input, param, settings, out_begin, out_count, output };

template <class... Args>
constexpr std::array<Role, sizeof...(Args)> roles() {
    std::array<Role, sizeof...(Args)> result{};
    std::size_t position = 0;
    bool begin_seen = false;
    auto assign = [&](auto tag) {
        using T = typename decltype(tag)::type;
        Role role;
        if (position == 0)
            role = Role::first_index;
        else if (position == 1)
            role = Role::last_index;
        else if constexpr (std::is_same_v<T, const double*>)
            role = Role::input;
        else if constexpr (std::is_same_v<T, double*>)
            role = Role::output;
        else if constexpr (std::is_same_v<T, const MovlexCandleSettings*>)
            role = Role::settings;
        else if constexpr (std::is_same_v<T, std::int32_t*>) {
            role = begin_seen ? Role::out_count : Role::out_begin;
            begin_seen = true;
        } else {
            static_assert(std::is_same_v<T, std::int32_t> || std::is_same_v<T, double>, "unexpected argument type");
            role = Role::param;
        }
        result[position++] = role;
    };
    (assign(std::type_identity<Args>{}), ...);
    return result;
}

// Position of each argument among the arguments of the same role.
template <std::size_t N>
constexpr std::array<std::size_t, N> ranks(const std::array<Role, N>& roles) {
    std::array<std::size_t, N> result{};
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (roles[j] == roles[i]) ++result[i];
    return result;
}

// The candlestick settings from the request's parameters, in the order of
// the structure's fields (the sentinels passed on as they are).
inline MovlexCandleSettings settings_of(const Request& request) {
    const auto& p = request.params;
    return {std::int32_t(p[0]), p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]};
}

template <class T>
T fetch(const Request& request, Role role, std::size_t rank, const MovlexCandleSettings& settings) {
    if constexpr (std::is_same_v<T, const MovlexCandleSettings*>) {
        return &settings;
    } else if constexpr (std::is_same_v<T, const double*>) {
        return request.inputs[rank];
    } else if constexpr (std::is_same_v<T, double*>) {
        return request.outputs[rank];
    } else if constexpr (std::is_same_v<T, std::int32_t*>) {
        return role == Role::out_begin ? request.out_begin : request.out_count;
    } else if constexpr (std::is_same_v<T, double>) {
        return request.params[rank];
    } else {
        if (role == Role::first_index) return request.first_index;
        if (role == Role::last_index) return request.last_index;
        return static_cast<std::int32_t>(request.params[rank]);
    }
}

template <class Function>
struct Entry;

template <class... Args>
struct Entry<RetCode(MOVLEX_CALL*)(Args...)> {
    static constexpr auto arg_roles = roles<Args...>();
    static constexpr auto arg_ranks = ranks(arg_roles);

    template <auto function, std::size_t... I>
    static RetCode call(const Request& request, std::index_sequence<I...>) {
        constexpr bool takes_settings = (std::is_same_v<Args, const MovlexCandleSettings*> || ...);
        const MovlexCandleSettings settings = takes_settings ? settings_of(request) : MovlexCandleSettings{};
        return function(fetch<Args>(request, arg_roles[I], arg_ranks[I], settings)...);
    }
};

template <class Function>
struct Lookback;

template <class... Params>
struct Lookback<std::int32_t (*)(Params...)> {
    static constexpr std::size_t arity = sizeof...(Params);

    template <auto function, std::size_t... I>
    static std::int32_t call(const double* params, std::index_sequence<I...>) {
        return function(static_cast<Params>(params[I])...);
    }
};

}  // namespace invoker_detail

using Invoker = RetCode (*)(const Request&);
using LookbackInvoker = std::int32_t (*)(const double* params);

template <auto entry>
RetCode invoke_entry(const Request& request) {
    using E = invoker_detail::Entry<decltype(entry)>;
    return E::template call<entry>(request, std::make_index_sequence<E::arg_roles.size()>{});
}

template <auto lookback>
std::int32_t invoke_lookback(const double* params) {
    using L = invoker_detail::Lookback<decltype(lookback)>;
    return L::template call<lookback>(params, std::make_index_sequence<L::arity>{});
}

}  // namespace movlex
