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


@pytest.mark.parametrize("name", NAMES)
def test_stream_set_matches_each_symbols_function(name):
    indicator = movlex.INDICATORS[name]
    rng = np.random.default_rng(11)
    symbols = [inputs_of(indicator, market(rng, 120)) for _ in range(5)]
    params = random_params(indicator, rng)
    expected = [getattr(movlex, name)(*inputs, *params) for inputs in symbols]
    stream_set = movlex.stream.StreamSet(name, 5, *params)
    outputs = []
    for t in range(120):
        outputs.append(stream_set.update(*[np.array([inputs[k][t] for inputs in symbols])
                                           for k in range(len(indicator.inputs))]))
    assert stream_set.bars == 120 and stream_set.symbols == 5
    for s in range(5):
        if indicator.result_type is None:
            assert same_or_both_nan(np.array([bar[s] for bar in outputs]), expected[s])
        else:
            for k in range(len(indicator.outputs)):
                assert same_or_both_nan(np.array([bar[k][s] for bar in outputs]), expected[s][k])


def test_stream_set_checks_its_inputs():
    with pytest.raises(ValueError, match="no indicator"):
        movlex.stream.StreamSet("no_such", 3)
    with pytest.raises(ValueError, match="period"):
        movlex.stream.StreamSet("sma", 3, period=1)
    stream_set = movlex.stream.StreamSet("sma", 3, period=2)
    with pytest.raises(ValueError, match="one value per symbol"):
        stream_set.update(np.zeros(4))
    with pytest.raises(ValueError, match="input array"):
        stream_set.update(np.zeros(3), np.zeros(3))
    assert np.isnan(stream_set.update([1.0, 2.0, 3.0])).all()
    assert list(stream_set.update([3.0, 4.0, 5.0])) == [2.0, 3.0, 4.0]
