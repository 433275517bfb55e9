// The calling contract every validating routine follows: range, input arrays,
// parameters in argument order, output arrays; the first failure wins and
// nothing is written before the checks have passed.
#pragma once

#include <cstdint>

#include "frame/exactness.hpp"
#include "movlex.h"

namespace movlex {

// Indices and element counts are carried in 64 bits so that no range a caller
// can pass (up to last_index = INT32_MAX) overflows an intermediate.
using Index = std::int64_t;

inline constexpr std::int32_t PERIOD_MAX = 100000;
inline constexpr double REAL_LIMIT = 3e37;
inline constexpr std::int32_t MA_TYPE_COUNT = 9;

// A range is valid when it starts at 0 or later, ends at or after its start,
// and holds at most INT32_MAX indices: a longer one (only 0 .. INT32_MAX is)
// could yield more values than out_count can report.
inline RetCode check_range(std::int32_t first_index, std::int32_t last_index) {
    if (first_index < 0) return RC_START_OUT_OF_RANGE;
    if (last_index < 0 || last_index < first_index) return RC_END_OUT_OF_RANGE;
    if (Index(last_index) - first_index + 1 > INT32_MAX) return RC_END_OUT_OF_RANGE;
    return RC_OK;
}

// Replaces the default sentinel by the default; false when the value lies
// outside the closed range min..max.
inline bool resolve_integer(std::int32_t& value, std::int32_t default_value, std::int32_t min, std::int32_t max) {
    if (value == DEFAULT_INT) {
        value = default_value;
        return true;
    }
    return value >= min && value <= max;
}

// As resolve_integer for doubles. NaN lies in no range and is rejected.
inline bool resolve_real(double& value, double default_value, double min, double max) {
    if (value == DEFAULT_REAL) {
        value = default_value;
        return true;
    }
    return value >= min && value <= max;
}

// MaType codes are compared as unsigned, so every negative code but the
// sentinel is out of range.
inline bool resolve_ma_type(std::int32_t& value) {
    if (value == DEFAULT_INT) {
        value = MA_SMA;
        return true;
    }
    return static_cast<std::uint32_t>(value) < static_cast<std::uint32_t>(MA_TYPE_COUNT);
}

// Runs the checks in call order and keeps the first failure:
//
//   RetCode rc = Validation(first_index, last_index)
//                    .inputs(high, low, close)
//                    .integer(period, 14, 2, PERIOD_MAX)
//                    .outputs(out)
//                    .result();
class Validation {
public:
    Validation(std::int32_t first_index, std::int32_t last_index) : code_(check_range(first_index, last_index)) {}

    template <class... Arrays>
    Validation& inputs(const Arrays*... arrays) {
        if (code_ == RC_OK && ((arrays == nullptr) || ...)) code_ = RC_BAD_ARGUMENT;
        return *this;
    }

    Validation& integer(std::int32_t& value, std::int32_t default_value, std::int32_t min, std::int32_t max) {
        if (code_ == RC_OK && !resolve_integer(value, default_value, min, max)) code_ = RC_BAD_ARGUMENT;
        return *this;
    }

    Validation& real(double& value, double default_value, double min, double max) {
        if (code_ == RC_OK && !resolve_real(value, default_value, min, max)) code_ = RC_BAD_ARGUMENT;
        return *this;
    }

    Validation& ma_type(std::int32_t& value) {
        if (code_ == RC_OK && !resolve_ma_type(value)) code_ = RC_BAD_ARGUMENT;
        return *this;
    }

    template <class... Arrays>
    Validation& outputs(Arrays*... arrays) {
        if (code_ == RC_OK && ((arrays == nullptr) || ...)) code_ = RC_BAD_ARGUMENT;
        return *this;
    }

    RetCode result() const { return code_; }

private:
    RetCode code_;
};

// The empty result: a range that ends before the first computable index.
inline RetCode no_output(std::int32_t* out_begin, std::int32_t* out_count) {
    *out_begin = 0;
    *out_count = 0;
    return RC_OK;
}

// Reports the output of a successful call: begin is the input index of output
// element 0, last_index the last input index computed.
inline RetCode report_output(std::int32_t* out_begin, std::int32_t* out_count, Index begin, Index last_index) {
    *out_begin = static_cast<std::int32_t>(begin);
    *out_count = static_cast<std::int32_t>(last_index - begin + 1);
    return RC_OK;
}

}  // namespace movlex
