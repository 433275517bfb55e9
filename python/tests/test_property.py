"""For any series and parameters, row i of a 2-D call is the 1-D call on row i."""

import numpy as np
from hypothesis import given, settings, strategies as st

import movlex
from conftest import market, random_params, same_bits

NAMES = sorted(movlex.INDICATORS)


@settings(max_examples=150, deadline=None)
@given(name=st.sampled_from(NAMES), seed=st.integers(0, 2**32 - 1), series=st.integers(1, 5),
       bars=st.integers(0, 260), threads=st.integers(1, 4))
def test_2d_row_equals_1d_call(name, seed, series, bars, threads):
    indicator = movlex.INDICATORS[name]
    rng = np.random.default_rng(seed)
    data = market(rng, bars, series=series)
    params = random_params(indicator, rng, longest=int(rng.integers(2, 60)))
    function = getattr(movlex, name)
    inputs = [data[input_name] for input_name in indicator.inputs]
    together = function(*inputs, *params, threads=threads)
    together = [together] if indicator.result_type is None else list(together)
    for row in range(series):
        alone = function(*[x[row] for x in inputs], *params)
        alone = [alone] if indicator.result_type is None else list(alone)
        for output, whole, single in zip(indicator.outputs, together, alone):
            assert same_bits(whole[row], single), f"{name}{tuple(params)} row {row} {output}"
