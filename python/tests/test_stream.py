"""movlex.stream: every indicator that streams gives its function's values
bar for bar; copies and pickled states go on like the original."""

import copy
import math
import pickle
import threading

import numpy as np
import pytest

import movlex
from conftest import default_params, inputs_of, market, random_params




def _streamable(name):
    try:
        getattr(movlex.stream, name.upper())()
    except RuntimeError:  # an indicator without a stream
        return False
    return True


NAMES = [name for name in movlex.INDICATORS if _streamable(name)]


def same_or_both_nan(a, b):
    a, b = np.asarray(a), np.asarray(b)
    if a.dtype == b.dtype == np.int32:  # signals
        return a.shape == b.shape and np.array_equal(a, b)
    return a.shape == b.shape and bool(np.all((a.view(np.uint64) == b.view(np.uint64)) | (np.isnan(a) & np.isnan(b))))


@pytest.mark.parametrize("name", NAMES)
def test_stream_matches_the_function(name, library_state):
    indicator = movlex.INDICATORS[name]
    rng = np.random.default_rng(7)
    bars = market(rng, 600)
    inputs = inputs_of(indicator, bars)
    for params in (default_params(indicator), random_params(indicator, rng)):
        expected = getattr(movlex, name)(*inputs, *params)
        stream = getattr(movlex.stream, name.upper())(*params)
        half = 300
        first = stream.update_many(*[x[:half] for x in inputs])
        clone, pickled = copy.copy(stream), pickle.loads(pickle.dumps(stream))
        for s in (stream, clone, pickled):
            rest = s.update_many(*[x[half:] for x in inputs])
            if indicator.result_type is None:
                assert same_or_both_nan(np.concatenate([first, rest]), expected)
            else:
                for k in range(len(indicator.outputs)):
                    assert same_or_both_nan(np.concatenate([first[k], rest[k]]), expected[k])


def test_update_gives_nan_then_values():
    s = movlex.stream.SMA(period=3)
    assert math.isnan(s.update(1.0)) and math.isnan(s.update(2.0))
    assert s.update(6.0) == 3.0
    assert s.bars == 3


def test_bad_parameters_raise_like_the_functions():
    with pytest.raises(ValueError, match="period"):
        movlex.stream.SMA(period=1)
    with pytest.raises(TypeError):
        movlex.stream.SMA(length=3)
    with pytest.raises(ValueError):
        movlex.stream.Stream.from_state(b"not a state")


def test_a_stream_shared_by_threads_counts_every_bar():
    # update_many runs without the GIL; unlocked, two threads stepping one
    # stream at once lose bars.
    shared = movlex.stream.ADX(period=5)
    high, low, close = (np.full(500_000, value) for value in (2.0, 1.0, 1.5))

    def many():
        for _ in range(4):
            shared.update_many(high, low, close)

    def one_at_a_time():
        for _ in range(20_000):
            shared.update(2.0, 1.0, 1.5)

    threads = [threading.Thread(target=target) for target in (many, many, one_at_a_time)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert shared.bars == 2 * 4 * 500_000 + 20_000
    alone = movlex.stream.ADX(period=5)
    alone.update_many(*(np.full(shared.bars, value) for value in (2.0, 1.0, 1.5)))
    assert shared.save() == alone.save()
