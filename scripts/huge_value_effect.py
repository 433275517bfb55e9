#!/usr/bin/python3
"""How one value many orders above the rest affects the running-sum indicators
after it has left their window.

A series of prices near 100 (a walk of 0.01 ticks) gets one bar whose value
is SIZE (1e6, 1e9, 1e12) at bar 1000. Once that bar has left an indicator's
window, the exact result is the one over the same series without it; the
table gives the largest difference between the two, over all later bars,
relative to the size of the result (its median magnitude). The core
indicators keep their running sums by adding the entering bar and
subtracting the leaving one, as their definitions state, so the rounding of
the huge value stays in the sums for the rest of the series.

    PYTHONPATH=build/python /usr/bin/python3 scripts/huge_value_effect.py
"""
import numpy as np

import movlex

BARS, SPIKE_AT, SIZES = 3000, 1000, (1e6, 1e9, 1e12)

rng = np.random.default_rng(7)
close = np.round(100 + np.cumsum(rng.choice([-0.01, 0.0, 0.01], BARS)), 2)
high, low = close + 0.05, close - 0.05
volume = np.round(rng.uniform(1000, 2000, BARS))

# name, what the spike is put into, how the indicator is called, its window
CASES = [
    ("sma", "close", lambda c, h, l, v: movlex.sma(c, 20), 20),
    ("wma", "close", lambda c, h, l, v: movlex.wma(c, 20), 20),
    ("trima", "close", lambda c, h, l, v: movlex.trima(c, 20), 20),
    ("var", "close", lambda c, h, l, v: movlex.var(c, 20), 20),
    ("stddev", "close", lambda c, h, l, v: movlex.stddev(c, 20), 20),
    ("bbands upper", "close", lambda c, h, l, v: movlex.bbands(c, 20)[0], 20),
    ("cci", "close", lambda c, h, l, v: movlex.cci(h, l, c, 20), 20),
    ("mfi", "volume", lambda c, h, l, v: movlex.mfi(h, l, c, v, 14), 14),
    ("ultosc", "close", lambda c, h, l, v: movlex.ultosc(h, l, c), 28),
]


def with_spike(where, size):
    series = {"close": close.copy(), "high": high.copy(), "low": low.copy(), "volume": volume.copy()}
    series[where][SPIKE_AT] = size
    if where == "close":  # the bar stays a bar: its high holds the close
        series["high"][SPIKE_AT] = size
    return series["close"], series["high"], series["low"], series["volume"]


def main():
    print("| indicator | spike in | " + " | ".join("%g" % size for size in SIZES) + " |")
    print("|---|---|" + "---|" * len(SIZES))
    for name, where, call, window in CASES:
        clean = np.asarray(call(close, high, low, volume))
        after = slice(SPIKE_AT + window + 1, BARS)
        scale = np.nanmedian(np.abs(clean[after])) or 1.0
        cells = []
        for size in SIZES:
            dirty = np.asarray(call(*with_spike(where, size)))
            cells.append("%.1e" % (np.nanmax(np.abs(dirty[after] - clean[after])) / scale))
        print("| %s | %s | %s |" % (name, where, " | ".join(cells)))


if __name__ == "__main__":
    main()
