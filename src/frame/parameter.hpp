// Parameter declarations: every indicator declares its parameters once, in
// argument order, and its validation, its lookback and the indicator table
// all read that declaration.
//
//   inline constexpr std::array SMA_PARAMS{integer_param("period", 30, 2)};
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "movlex.h"

namespace movlex {

inline constexpr std::int32_t PERIOD_MAX = 100000;
inline constexpr double REAL_LIMIT = 3e37;
inline constexpr std::int32_t MA_TYPE_COUNT = 9;
// The most parameters any indicator takes (the candlestick settings).
inline constexpr int MAX_PARAMS = 9;

enum class ParamKind { integer, real, ma_type };

// A parameter: its name, kind, default and closed range min..max. Integers
// and MaType codes are held as doubles, which carry every int32 exactly.
struct ParamInfo {
    const char* name = nullptr;
    ParamKind kind = ParamKind::integer;
    double default_value = 0;
    double min = 0;
    double max = 0;
};

template <std::size_t N>
using ParamList = std::array<ParamInfo, N>;

// The kind's name as the bindings describe it: integer, real, ma_type.
constexpr const char* param_kind_name(ParamKind kind) {
    switch (kind) {
        case ParamKind::integer: return "integer";
        case ParamKind::real: return "real";
        case ParamKind::ma_type: return "ma_type";
    }
    return "?";
}

constexpr ParamInfo integer_param(const char* name, std::int32_t default_value, std::int32_t min,
                                  std::int32_t max = PERIOD_MAX) {
    return {name, ParamKind::integer, double(default_value), double(min), double(max)};
}
constexpr ParamInfo real_param(const char* name, double default_value, double min = -REAL_LIMIT,
                               double max = REAL_LIMIT) {
    return {name, ParamKind::real, default_value, min, max};
}
constexpr ParamInfo ma_type_param(const char* name) {
    return {name, ParamKind::ma_type, double(MA_SMA), 0.0, double(MA_TYPE_COUNT - 1)};
}

// Whether a value, held as a double, lies in the declared range (the default
// sentinels are not values: they lie in no range).
constexpr bool in_declared_range(const ParamInfo& param, double value) {
    return value >= param.min && value <= param.max;
}

// Replaces the default sentinel by the declared default; false when the value
// lies outside the declared range. MaType codes are compared as unsigned, so
// every negative code but the sentinel is out of range.
constexpr bool resolve(std::int32_t& value, const ParamInfo& param) {
    if (value == DEFAULT_INT) {
        value = static_cast<std::int32_t>(param.default_value);
        return true;
    }
    if (param.kind == ParamKind::ma_type)
        return static_cast<std::uint32_t>(value) <= static_cast<std::uint32_t>(param.max);
    return value >= static_cast<std::int32_t>(param.min) && value <= static_cast<std::int32_t>(param.max);
}

// As above for doubles. NaN lies in no range and is rejected.
constexpr bool resolve(double& value, const ParamInfo& param) {
    if (value == DEFAULT_REAL) {
        value = param.default_value;
        return true;
    }
    return in_declared_range(param, value);
}

// A parameter held as a double (as the indicator table and the bindings hold
// them) with its default filled in; false when out of range. Integer and type
// parameters must be whole numbers within int32_t, as a caller of the entry
// could pass them.
inline bool resolve_value(const ParamInfo& param, double raw, double& resolved) {
    if (param.kind == ParamKind::real) {
        double value = raw;
        if (!resolve(value, param)) return false;
        resolved = value;
        return true;
    }
    if (!(raw >= double(INT32_MIN) && raw <= double(INT32_MAX)) || raw != double(std::int32_t(raw))) return false;
    std::int32_t value = std::int32_t(raw);
    if (!resolve(value, param)) return false;
    resolved = double(value);
    return true;
}

// Resolves the values against their declarations in argument order; false at
// the first value out of range.
template <std::size_t N, class... Values>
constexpr bool resolve(const ParamList<N>& params, Values&... values) {
    static_assert(sizeof...(Values) == N, "one value per declared parameter");
    std::size_t p = 0;
    return (resolve(values, params[p++]) && ...);
}

}  // namespace movlex
