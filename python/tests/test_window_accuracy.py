"""The extended set's window statistics (z-score, correlation, beta, linear
regression) against exact rational arithmetic on long series at several
price levels, tick sizes and periods: every output within 1e-10 of the exact
value relative to the output's own scale, as accurate at bar 1,000,000 as at
bar 1,000, and untouched by a huge value once it has left the window."""

import decimal
import math
from fractions import Fraction

import numpy as np
import pytest

import movlex

BARS = 1_000_000
BOUND = 1e-10
ULP = 2.0 ** -52

decimal.getcontext().prec = 50


def root(value):
    """The square root of a non-negative Fraction, to 50 digits."""
    return Fraction((decimal.Decimal(value.numerator) / decimal.Decimal(value.denominator)).sqrt())


def walk(rng, level, tick, bars):
    """A price level plus whole ticks of a random walk, as doubles."""
    return level + tick * np.cumsum(rng.integers(-3, 4, bars)).astype(np.float64)


def moments(xs, ys):
    n = len(xs)
    mx, my = sum(xs) / n, sum(ys) / n
    sxx = sum((x - mx) ** 2 for x in xs)
    syy = sum((y - my) ** 2 for y in ys)
    sxy = sum((x - mx) * (y - my) for x, y in zip(xs, ys))
    return n, mx, my, sxx, syy, sxy


def errors_at(bar, data, other, period, results):
    """Each output's error at `bar`, relative to its own scale."""
    window = [Fraction(v) for v in data[bar - period + 1:bar + 1]]
    other_window = [Fraction(v) for v in other[bar - period + 1:bar + 1]]
    n, _, my, _, syy, _ = moments(window, window)
    sd = root(syy / n)
    errors = {}

    # z-score, in units of the window's standard deviation.
    z = (window[-1] - my) / sd if syy else Fraction(0)
    errors["zscore"] = abs(Fraction(results["zscore"][bar]) - z)

    # correlation (scale 1) and beta (scale sd(input) / sd(other)).
    _, _, _, saa, sbb, sab = moments(window, other_window)
    correl = sab / (root(saa) * root(sbb))
    errors["correl"] = abs(Fraction(results["correl"][bar]) - correl)
    beta = sab / sbb
    errors["beta"] = abs(Fraction(results["beta"][bar]) - beta) / root(saa / sbb)

    # linear regression over positions 0 .. n - 1: slope in units of
    # sd(values) / sd(positions); lines and the standard error in units of
    # sd(values), less the rounding of the exact value to a double.
    positions = [Fraction(k) for k in range(n)]
    _, mp, _, spp, _, spy = moments(positions, window)
    slope = spy / spp
    slope_scale = sd / root(spp / n)
    value, slope_out, intercept, angle, forecast, stderr = (Fraction(r[bar]) for r in results["linreg"])
    errors["linreg slope"] = abs(slope_out - slope) / slope_scale
    for name, have, line_at in (("value", value, n - 1), ("intercept", intercept, 0), ("forecast", forecast, n)):
        exact = my + slope * (line_at - mp)
        errors["linreg " + name] = max(abs(have - exact) - 2 * ULP * abs(exact), 0) / sd
    exact_angle = math.degrees(math.atan(float(slope)))
    angle_scale = Fraction(180 / math.pi) * slope_scale / (1 + slope * slope)
    errors["linreg angle"] = max(abs(angle - Fraction(exact_angle)) - 8 * ULP * abs(Fraction(exact_angle)), 0) \
        / angle_scale
    residual = (syy - spy * spy / spp) / (n - 2)
    errors["linreg stderr"] = abs(stderr - root(residual)) / sd
    return errors


def compute(data, other, period):
    return {
        "zscore": movlex.zscore(data, period),
        "correl": movlex.correl(data, other, period),
        "beta": movlex.beta(data, other, period),
        "linreg": list(movlex.linreg(data, period)),
    }


def worst(bars, data, other, period, results):
    worst_of = {}
    for bar in bars:
        for name, error in errors_at(bar, data, other, period, results).items():
            worst_of[name] = max(worst_of.get(name, 0), float(error))
    return worst_of


CASES = [(1.0, 1e-4, 20), (100.0, 0.01, 30), (10_000.0, 0.0001, 14), (0.01, 1e-6, 5), (250.0, 0.25, 200)]


@pytest.mark.parametrize("level,tick,period", CASES)
def test_window_statistics_stay_accurate_over_a_long_series(level, tick, period):
    rng = np.random.default_rng(int(level * 7 + period))
    data = walk(rng, level, tick, BARS)
    other = 0.5 * data + walk(rng, level / 2, tick, BARS)
    results = compute(data, other, period)
    samples = rng.integers(period, BARS, 40)
    early = worst(range(1000, 1000 + 2 * period + 3), data, other, period, results)
    late = worst(list(range(BARS - 2 * period - 3, BARS)) + list(samples), data, other, period, results)
    for name in early:
        assert early[name] <= BOUND, (name, early[name])
        assert late[name] <= BOUND, (name, late[name])
        # No growth: the late error is of the early one's order.
        assert late[name] <= max(16 * early[name], 1e-14), (name, early[name], late[name])


@pytest.mark.parametrize("level,tick,period", CASES[:3])
def test_a_huge_value_leaves_no_trace_once_out_of_the_window(level, tick, period):
    rng = np.random.default_rng(period)
    bars = 20_000
    data = walk(rng, level, tick, bars)
    other = 0.5 * data + walk(rng, level / 2, tick, bars)
    plain = compute(data, other, period)
    before = worst(range(9_000 - 3 * period, 9_000), data, other, period, plain)
    data[9_000] *= 1e9
    other[9_003] *= 1e9
    results = compute(data, other, period)
    after = worst(range(9_004 + period, 9_004 + 4 * period), data, other, period, results)
    for name in before:
        assert after[name] <= max(16 * before[name], 1e-14), (name, before[name], after[name])
        assert after[name] <= BOUND, (name, after[name])
