"""out=: results written into the caller's arrays, bit for bit the allocating
call's, and every way an out argument can be wrong."""

import numpy as np
import pandas as pd
import pytest

import movlex
from movlex import INDICATORS

NAMES = sorted(INDICATORS)


def prices(shape, seed=3):
    rng = np.random.default_rng(seed)
    close = 50 + np.cumsum(rng.normal(0, 1, shape), axis=-1)
    spread = rng.uniform(0.1, 2, shape)
    columns = {"open": close + rng.normal(0, 0.5, shape), "high": close + spread, "low": close - spread,
               "close": close, "volume": rng.uniform(1e3, 1e4, shape), "other": close[..., ::-1].copy()}
    return columns


def inputs_of(indicator, columns):
    return [np.ascontiguousarray(columns.get(name, columns["close"])) for name in indicator.inputs]


def small_params(indicator):
    """Short periods, so that 60 bars give values."""
    values = {}
    for param in indicator.params:
        if param.kind == "integer" and param.default > 5:
            values[param.name] = max(param.min, 3)
        else:
            values[param.name] = None
    return values


def empty_outputs(indicator, shape, fill=7.0):
    dtype = np.int32 if indicator.signals else np.float64
    arrays = [np.full(shape, fill, dtype=dtype) for _ in indicator.outputs]
    return arrays[0] if len(arrays) == 1 else tuple(arrays)


def as_list(result):
    return [result] if isinstance(result, np.ndarray) else list(result)


def same_bits(a, b):
    return a.dtype == b.dtype and a.shape == b.shape and a.tobytes() == b.tobytes()


# Shapes: 1-D, 2-D over the engine, and inputs shorter than the lookback.
@pytest.mark.parametrize("shape", [(60,), (5, 60), (2,)], ids=["1d", "2d", "short"])
@pytest.mark.parametrize("name", NAMES)
def test_out_gives_the_allocating_call_bits_and_returns_out(name, shape):
    indicator = INDICATORS[name]
    function = getattr(movlex, name)
    inputs = inputs_of(indicator, prices(shape))
    params = small_params(indicator)
    expected = as_list(function(*inputs, **params))
    out = empty_outputs(indicator, shape)
    result = function(*inputs, **params, out=out)
    assert all(r is o for r, o in zip(as_list(result), as_list(out)))
    assert type(result) is type(function(*inputs, **params))
    for got, want in zip(as_list(result), expected):
        assert same_bits(got, want), name


def test_a_single_output_also_takes_a_tuple_of_one():
    x = prices((40,))["close"]
    out = np.empty(40)
    assert movlex.sma(x, 5, out=(out,)) is out
    assert same_bits(out, movlex.sma(x, 5))


def test_out_shared_with_an_input_where_outputs_may_be_inputs():
    x = prices((2, 50))["close"]
    for name in ("sma", "ema", "rsi", "wma"):
        function = getattr(movlex, name)
        expected = function(x, 7)
        in_place = x.copy()
        assert function(in_place, 7, out=in_place) is in_place
        assert same_bits(in_place, expected), name
    # An output that overlaps its input shifted by a bar, and a second output
    # sharing the input's memory.
    shifted = np.concatenate([x[0], [0.0]])
    expected = movlex.sma(shifted[1:], 4)
    movlex.sma(shifted[1:], 4, out=shifted[:-1])
    assert same_bits(shifted[:-1], expected)
    high, low = prices((50,))["high"], prices((50,))["low"]
    expected = movlex.aroon(high, low, 5)
    result = movlex.aroon(high.copy(), low_copy := low.copy(), 5, out=(np.empty(50), low_copy))
    assert same_bits(result.aroon_down, expected.aroon_down) and same_bits(result.aroon_up, expected.aroon_up)


WRONG = [
    # (indicator, out made from the inputs' shape, error, message part)
    ("sma", lambda shape: [0.0] * shape[-1], TypeError, "numpy array"),
    ("sma", lambda shape: np.empty(shape, dtype=np.float32), TypeError, "float64"),
    ("sma", lambda shape: np.empty(shape, dtype=">f8"), TypeError, "float64"),
    ("sma", lambda shape: np.empty(shape, dtype=np.int32), TypeError, "float64"),
    ("sma", lambda shape: np.empty(shape[-1] + 1), ValueError, "shape"),
    ("sma", lambda shape: np.empty((1,) + shape), ValueError, "shape"),
    ("sma", lambda shape: np.empty(shape[::-1] + (2,))[..., 0].T, ValueError, "C-contiguous"),
    ("sma", lambda shape: np.empty(shape[:-1] + (2 * shape[-1],))[..., ::2], ValueError, "C-contiguous"),
    ("sma", lambda shape: (np.empty(shape), np.empty(shape)), ValueError, "exactly 1 entry"),
    ("macd", lambda shape: np.empty(shape), TypeError, "tuple of 3"),
    ("macd", lambda shape: (np.empty(shape), np.empty(shape)), ValueError, "exactly 3 entries"),
    ("macd", lambda shape: (np.empty(shape),) * 3, ValueError, r"shares memory with out\[0\]"),
    ("macd", lambda shape: (np.empty(shape), np.empty(shape), [0.0] * shape[-1]), TypeError, r"out\[2\]"),
    ("candle_doji", lambda shape: np.empty(shape), TypeError, "int32"),
]


def read_only(shape):
    array = np.empty(shape)
    array.flags.writeable = False
    return array


WRONG.append(("sma", read_only, ValueError, "read-only"))


@pytest.mark.parametrize("shape", [(30,), (3, 30)], ids=["1d", "2d"])
@pytest.mark.parametrize("name, make, error, message", WRONG)
def test_wrong_out_arrays_raise_as_numpy_does(name, make, error, message, shape):
    indicator = INDICATORS[name]
    inputs = inputs_of(indicator, prices(shape))
    function = getattr(movlex, name)
    with pytest.raises(error, match=message):
        function(*inputs, out=make(shape))


@pytest.mark.parametrize("name", sorted(n for n, i in INDICATORS.items() if i.aliasing == "separate"))
def test_out_sharing_an_input_is_refused_where_outputs_must_be_separate(name):
    indicator = INDICATORS[name]
    inputs = inputs_of(indicator, prices((30,)))
    outputs = [np.empty(30) for _ in indicator.outputs]
    outputs[-1] = inputs[0]
    out = outputs[0] if len(outputs) == 1 else tuple(outputs)
    before = inputs[0].copy()
    with pytest.raises(ValueError, match="shares memory with input"):
        getattr(movlex, name)(*inputs, out=out)
    assert same_bits(inputs[0], before)


def test_pandas_inputs_write_out_and_still_give_pandas():
    frame = pd.DataFrame(prices((40,)), index=pd.date_range("2024-01-01", periods=40))
    out = np.empty(40)
    result = movlex.sma(frame["close"], 5, out=out)
    assert isinstance(result, pd.Series) and result.index.equals(frame.index)
    assert same_bits(result.to_numpy(), out) and same_bits(out, movlex.sma(frame["close"].to_numpy(), 5))
    outs = tuple(np.empty(40) for _ in range(3))
    result = movlex.bbands(frame, period=5, out=outs)
    assert isinstance(result, pd.DataFrame)
    for column, array in zip(result.columns, outs):
        assert same_bits(result[column].to_numpy(), array)
    with pytest.raises(TypeError, match="numpy array"):
        movlex.sma(frame["close"], 5, out=pd.Series(np.empty(40)))


def test_lists_as_inputs_take_out_too():
    values = list(prices((30,))["close"])
    out = np.empty(30)
    assert movlex.sma(values, 4, out=out) is out
    assert same_bits(out, movlex.sma(np.array(values), 4))
