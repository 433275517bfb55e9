"""The bars every benchmark runs over (bench/price_walk.hpp, bar for bar):
a price-like random walk that stays near its level (100).

Each bar the close moves by a random relative change of up to +-1 % less a
pull of 0.1 % of its distance from the level; the open lies within 0.2 % of
the previous close, the high and the low up to 0.8 % beyond the open and the
close, the volume is a whole number in [1000, 10000). Only +, -, *, / and a
64-bit congruential generator, so the bits are those of the C++ walk.
"""

import numpy as np

_MULTIPLIER = np.uint64(6364136223846793005)
_INCREMENT = np.uint64(1442695040888963407)


def price_walk(seeds, bars, level=100.0):
    """Open, high, low, close and volume of one walk per seed, as arrays of
    shape (len(seeds), bars)."""
    with np.errstate(over="ignore"):
        state = np.asarray(seeds, dtype=np.uint64) * np.uint64(0x9E3779B97F4A7C15)

        def uniform():
            nonlocal state
            state = state * _MULTIPLIER + _INCREMENT
            return (state >> np.uint64(11)).astype(np.float64) / 9007199254740992.0

        shape = (len(state), bars)
        columns = {name: np.empty(shape) for name in ("open", "high", "low", "close", "volume")}
        close = np.full(len(state), level)
        for t in range(bars):
            open_ = close * (1.0 + (uniform() - 0.5) * 0.004)
            close = close * (1.0 + ((uniform() - 0.5) * 0.02 - 0.001 * (close - level) / level))
            up, down = uniform(), uniform()
            columns["open"][:, t] = open_
            columns["close"][:, t] = close
            columns["high"][:, t] = np.maximum(open_, close) * (1.0 + up * 0.008)
            columns["low"][:, t] = np.minimum(open_, close) * (1.0 - down * 0.008)
            columns["volume"][:, t] = np.floor(1000.0 + uniform() * 9000.0)
    return columns
