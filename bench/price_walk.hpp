// The bars every benchmark runs over: a price-like random walk that stays at
// its level however long it runs.
//
// Each bar the close moves by a random relative change of up to +-1 % less a
// pull of 0.1 % of its distance from the level (100), so the log of the price
// wanders about the level with a spread of about 13 % and takes some 1,000
// bars to come back (a close after 1,000,000 bars is still near 100, not
// 1e-39 as under a plain product of factors near 1, whose drift towards zero
// leaves almost every window flat). The open lies within 0.2 % of the
// previous close (a small gap), the high and the low up to 0.8 % beyond the
// open and the close, and the volume is a whole number in [1000, 10000).
//
// Only +, -, *, / and a 64-bit congruential generator, so the same seed gives
// the same bits wherever the walk is written out: bench/js/price_walk.mjs and
// python/bench/price_walk.py are this walk, bar for bar.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace movlex_bench {

struct PriceBar {
    double open, high, low, close, volume;
};

class PriceWalk {
public:
    // trend != 0 replaces the random change by that steady relative change
    // each bar, with no pull to the level and high and low at half their
    // range and no gap (a window's extreme then leaves it at every bar).
    explicit PriceWalk(std::uint64_t seed, double level = 100.0, double trend = 0.0)
        : state_(seed * 0x9E3779B97F4A7C15ull), level_(level), trend_(trend), close_(level) {}

    // On [0, 1).
    double uniform() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return double(state_ >> 11) / 9007199254740992.0;
    }

    PriceBar next() {
        PriceBar bar;
        bar.open = close_ * (1.0 + (trend_ != 0.0 ? 0.0 : (uniform() - 0.5) * 0.004));
        const double change =
            trend_ != 0.0 ? trend_ : (uniform() - 0.5) * 0.02 - 0.001 * (close_ - level_) / level_;
        close_ = close_ * (1.0 + change);
        bar.close = close_;
        const double up = trend_ != 0.0 ? 0.5 : uniform();
        const double down = trend_ != 0.0 ? 0.5 : uniform();
        bar.high = std::max(bar.open, bar.close) * (1.0 + up * 0.008);
        bar.low = std::min(bar.open, bar.close) * (1.0 - down * 0.008);
        bar.volume = std::floor(1000.0 + uniform() * 9000.0);
        return bar;
    }

private:
    std::uint64_t state_;
    double level_;
    double trend_;
    double close_;
};

// The closes of `count` bars of the walk from `seed`.
inline std::vector<double> price_closes(std::size_t count, std::uint64_t seed) {
    PriceWalk walk(seed);
    std::vector<double> closes(count);
    for (double& close : closes) close = walk.next().close;
    return closes;
}

}  // namespace movlex_bench
