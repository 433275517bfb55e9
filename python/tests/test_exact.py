"""Every indicator gives through Python exactly the bits its C entry gives,
in both library states, for every way of passing the data."""

import numpy as np
import pytest

import movlex
from conftest import default_params, inputs_of, market, random_params, same_bits

INDICATORS = list(movlex.INDICATORS.values())
NAMES = [indicator.name for indicator in INDICATORS]


def call(indicator, inputs, params, **options):
    result = getattr(movlex, indicator.name)(*inputs, *params, **options)
    return [result] if indicator.result_type is None else list(result)


def layouts(array):
    """The same 2-D values as a C-ordered array, a Fortran-ordered one, a
    strided view (every other column of a wider array), float32-exact
    values as float32 and whole values as int64."""
    wide = np.empty((array.shape[0], 2 * array.shape[1]))
    wide[:, ::2] = array
    return {
        "c order": array,
        "fortran order": np.asfortranarray(array),
        "strided": wide[:, ::2],
        "float32": array.astype(np.float32),
        "int64": np.round(array * 100).astype(np.int64),
    }


@pytest.mark.parametrize("name", NAMES)
def test_every_indicator_matches_its_entry(name, clib, library_state):
    indicator = movlex.INDICATORS[name]
    rng = np.random.default_rng(sum(map(ord, name)))
    bars = market(rng, 400)
    draws = [default_params(indicator)] + [random_params(indicator, rng) for _ in range(6)]
    for params in draws:
        inputs = inputs_of(indicator, bars)
        expected = clib.call(indicator, inputs, params)
        got = call(indicator, inputs, params)
        for output, want, have in zip(indicator.outputs, expected, got):
            assert same_bits(have, want), f"{name}{tuple(params)} {output}"


@pytest.mark.parametrize("name", NAMES)
def test_every_layout_and_dtype_of_2d_inputs(name, clib, library_state):
    indicator = movlex.INDICATORS[name]
    rng = np.random.default_rng(1000 + sum(map(ord, name)))
    bars = market(rng, 300, series=3)
    params = random_params(indicator, rng, longest=25)
    per_input = [layouts(bars[input_name]) for input_name in indicator.inputs]
    for layout in per_input[0]:
        inputs = [variants[layout] for variants in per_input]
        as_double = [np.ascontiguousarray(x, dtype=np.float64) for x in inputs]
        got = call(indicator, inputs, params, threads=2)
        for row in range(3):
            expected = clib.call(indicator, [x[row] for x in as_double], params)
            for output, want, have in zip(indicator.outputs, expected, got):
                assert same_bits(have[row], want), f"{name} {layout} row {row} {output}"
        one_d = call(indicator, [x[1] for x in inputs], params)
        for output, want, have in zip(indicator.outputs, one_d, got):
            assert same_bits(have[1], want), f"{name} {layout} 1-D {output}"


@pytest.mark.parametrize("bars", [0, 1, 5, 40])
def test_inputs_shorter_than_the_lookback_give_nan_only(bars, clib):
    rng = np.random.default_rng(bars)
    data = market(rng, bars)
    for indicator in INDICATORS:
        inputs = inputs_of(indicator, data)
        got = call(indicator, inputs, default_params(indicator))
        lookback = movlex.lookback(indicator.name)
        for have in got:
            assert have.shape == (bars,)
            # Signals (candlestick patterns) are 0 where there is no value.
            assert (have[:lookback] == 0).all() if indicator.signals else np.isnan(have[:lookback]).all()
        if bars:
            for have, want in zip(got, clib.call(indicator, inputs, default_params(indicator))):
                assert same_bits(have, want)
