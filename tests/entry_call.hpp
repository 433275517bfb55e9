// The outputs of one call of an entry, and the check of one output against
// worked values: shared by the tests of worked examples.
#pragma once

#include <cstdint>
#include <vector>

#include "test_support.hpp"

namespace movlex::test {

// The outputs of one call, as the entry reported them; every slot starts at
// -1 so that a value the entry did not write shows.
struct Call {
    RetCode code = RC_OK;
    std::int32_t begin = -1, count = -1;
    std::vector<std::vector<double>> out;

    explicit Call(std::size_t outputs, std::size_t size) : out(outputs, std::vector<double>(size, -1.0)) {}
};

// The call wrote exactly the expected values, each within `tolerance`.
inline void expect_values(const std::vector<double>& actual, std::int32_t count, const std::vector<double>& expected,
                          double tolerance = 1e-12) {
    ASSERT_EQ(count, std::int32_t(expected.size()));
    expect_near_values(actual.data(), expected, tolerance);
}

}  // namespace movlex::test
