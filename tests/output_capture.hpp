// Runs one indicator call into fresh output arrays and keeps what it
// reported, so that tests can compare results as vectors.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "movlex.h"

namespace movlex::test {

struct Captured {
    RetCode rc = RC_OK;
    std::int32_t begin = -1;
    std::int32_t count = -1;
    std::vector<double> values;  // first output, out_count elements after RC_OK
    std::vector<double> second;  // second output, where there is one
};

// call(out_begin, out_count, out) for single-output indicators.
template <class Call>
Captured capture(std::size_t capacity, Call call) {
    Captured result;
    result.values.assign(capacity, std::numeric_limits<double>::quiet_NaN());
    result.rc = call(&result.begin, &result.count, result.values.data());
    if (result.rc == RC_OK) result.values.resize(std::size_t(result.count));
    return result;
}

// call(out_begin, out_count, out_first, out_second) for two-output indicators.
template <class Call>
Captured capture_pair(std::size_t capacity, Call call) {
    Captured result;
    result.values.assign(capacity, std::numeric_limits<double>::quiet_NaN());
    result.second.assign(capacity, std::numeric_limits<double>::quiet_NaN());
    result.rc = call(&result.begin, &result.count, result.values.data(), result.second.data());
    if (result.rc == RC_OK) {
        result.values.resize(std::size_t(result.count));
        result.second.resize(std::size_t(result.count));
    }
    return result;
}

}  // namespace movlex::test
