// Shared helpers for the tests: deterministic price data, bit-exact
// comparison, and a guard that puts the library state back.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
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

inline std::vector<double> make_series(std::size_t count, std::uint64_t seed = 1) { return make_bars(count, seed).close; }

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

}  // namespace movlex::test
