// The calling contract every validating routine follows: range, input arrays,
// parameters in argument order, output arrays; the first failure wins and
// nothing is written before the checks have passed.
#pragma once

#include <cstdint>

#include "frame/exactness.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// Indices and element counts are carried in 64 bits so that no range a caller
// can pass (up to last_index = INT32_MAX) overflows an intermediate.
using Index = std::int64_t;

// A range is valid when it starts at 0 or later, ends at or after its start,
// and holds at most INT32_MAX indices: a longer one (only 0 .. INT32_MAX is)
// could yield more values than out_count can report.
inline RetCode check_range(std::int32_t first_index, std::int32_t last_index) {
    if (first_index < 0) return RC_START_OUT_OF_RANGE;
    if (last_index < 0 || last_index < first_index) return RC_END_OUT_OF_RANGE;
    if (Index(last_index) - first_index + 1 > INT32_MAX) return RC_END_OUT_OF_RANGE;
    return RC_OK;
}

// Runs the checks in call order and keeps the first failure:
//
//   RetCode rc = Validation(first_index, last_index)
//                    .inputs(high, low, close)
//                    .params(ADX_PARAMS, period)
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

    // The values against their declarations, in argument order.
    template <std::size_t N, class... Values>
    Validation& params(const ParamList<N>& declared, Values&... values) {
        if (code_ == RC_OK && !resolve(declared, values...)) code_ = RC_BAD_ARGUMENT;
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
