// Shared helpers for the tests: deterministic price data, bit-exact
// comparison, and a guard that puts the library state back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "movlex.h"

namespace movlex::test {

// Deterministic OHLCV bars: a random walk with high >= max(open, close) and
// low <= min(open, close).
struct Bars {
    std::vector<double> open, high, low, close, volume;
    std::size_t size() const { return close.size(); }
};

inline Bars make_bars(std::size_t count, std::uint64_t seed = 1) {
    Bars bars;
    std::uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
    auto uniform = [&state]() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) / double(1ull << 53);
    };
    double price = 100.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double open = price;
        price *= 1.0 + (uniform() - 0.5) * 0.04;
        const double close = price;
        const double high = std::max(open, close) * (1.0 + uniform() * 0.01);
        const double low = std::min(open, close) * (1.0 - uniform() * 0.01);
        bars.open.push_back(open);
        bars.high.push_back(high);
        bars.low.push_back(low);
        bars.close.push_back(close);
        bars.volume.push_back(std::floor(1000.0 + uniform() * 9000.0));
    }
    return bars;
}

// The series of `bars` that an indicator's input of that name reads: open,
// high, low or volume, and the close for "close" and "input".
inline const std::vector<double>& named_series(const Bars& bars, const char* name) {
    const std::string input = name;
    if (input == "open") return bars.open;
    if (input == "high") return bars.high;
    if (input == "low") return bars.low;
    if (input == "volume") return bars.volume;
    return bars.close;
}

inline std::vector<double> make_series(std::size_t count, std::uint64_t seed = 1) { return make_bars(count, seed).close; }

// Each of the expected values matched by the output at its place within a
// relative `tolerance` (an absolute one for values below 1 in magnitude).
inline void expect_near_values(const double* actual, const std::vector<double>& expected, double tolerance = 1e-12) {
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_NEAR(actual[k], expected[k], tolerance * std::max(1.0, std::fabs(expected[k]))) << "output " << k;
}

inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Bit-for-bit equality of two arrays (NaN equals the same NaN).
inline ::testing::AssertionResult same_values(const double* expected, const double* actual, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!same_bits(expected[i], actual[i]))
            return ::testing::AssertionFailure()
                   << "element " << i << ": expected " << expected[i] << ", got " << actual[i];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult same_values(const std::vector<double>& expected, const double* actual,
                                              std::size_t count) {
    if (expected.size() != count)
        return ::testing::AssertionFailure() << "expected " << expected.size() << " values, got " << count;
    return same_values(expected.data(), actual, count);
}

// A single-output entry over the whole input, run once into an array of its
// own and once into the input array itself: both give the same values.
// entry(0, last, input, params..., out_begin, out_count, out).
template <class Entry, class... Params>
::testing::AssertionResult same_in_place(Entry entry, const std::vector<double>& input, Params... params) {
    const std::int32_t last = std::int32_t(input.size()) - 1;
    std::vector<double> expected(input.size()), in_place = input;
    std::int32_t begin = -1, count = -1;
    if (entry(0, last, input.data(), params..., &begin, &count, expected.data()) != RC_OK)
        return ::testing::AssertionFailure() << "the call into an array of its own failed";
    if (entry(0, last, in_place.data(), params..., &begin, &count, in_place.data()) != RC_OK)
        return ::testing::AssertionFailure() << "the call into the input array failed";
    return same_values(expected.data(), in_place.data(), std::size_t(count));
}

// Runs a test body with the library initialised (unstable periods 150) or
// not, and leaves it shut down afterwards.
class LibraryStateGuard {
public:
    explicit LibraryStateGuard(bool initialised) {
        MOVLEX_SHUTDOWN();
        if (initialised) MOVLEX_INIT();
    }
    ~LibraryStateGuard() { MOVLEX_SHUTDOWN(); }
    LibraryStateGuard(const LibraryStateGuard&) = delete;
    LibraryStateGuard& operator=(const LibraryStateGuard&) = delete;
};

// A request's bars first .. last and its period.
struct PeriodWindow {
    int first, last, period;
};

// check(window, unstable) for every window in both library states: unstable
// periods of 0, then of 150 (the library initialised), under a trace that
// names the state.
template <class Check>
void in_both_states(std::initializer_list<PeriodWindow> windows, Check check) {
    for (bool initialised : {false, true}) {
        const LibraryStateGuard state(initialised);
        SCOPED_TRACE(initialised ? "initialised" : "not initialised");
        for (const PeriodWindow& w : windows) check(w, initialised ? 150 : 0);
    }
}

}  // namespace movlex::test
