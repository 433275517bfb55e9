"""The Python surface: alignment, pandas, errors, library state, references."""

import gc
import sys
import threading
import tracemalloc

import numpy as np
import pandas as pd
import pytest

import movlex
from conftest import market, same_bits


@pytest.fixture
def bars():
    return market(np.random.default_rng(7), 300)


@pytest.fixture
def frame(bars):
    index = pd.date_range("2021-01-01", periods=300, freq="D")
    return pd.DataFrame({"Open": bars["open"], "HIGH": bars["high"], "low": bars["low"], "Close": bars["close"],
                         "Volume": bars["volume"]}, index=index)


def test_output_i_belongs_to_input_i(bars):
    close = bars["close"]
    sma = movlex.sma(close, period=10)
    assert sma.shape == close.shape and sma.dtype == np.float64
    assert sma.flags.c_contiguous and sma.flags.writeable
    assert np.isnan(sma[:9]).all() and not np.isnan(sma[9:]).any()
    assert sma[9] == pytest.approx(close[:10].mean())
    assert sma[-1] == pytest.approx(close[-10:].mean())
    assert movlex.lookback("sma", period=10) == 9
    assert np.isnan(movlex.rsi(close)[:movlex.lookback("rsi")]).all()


def test_several_outputs_come_as_a_named_tuple(bars):
    macd, signal, hist = movlex.macd(bars["close"], fast_period=5, slow_period=12)
    result = movlex.macd(bars["close"], fast_period=5, slow_period=12)
    assert type(result).__name__ == "MacdResult" and result._fields == ("macd", "signal", "hist")
    assert same_bits(result.hist, hist)
    finite = ~np.isnan(hist)
    assert np.allclose(hist[finite], (macd - signal)[finite])


def test_parameters_positional_keyword_default_and_ma_type_by_name(bars):
    close = bars["close"]
    assert same_bits(movlex.sma(close, 20), movlex.sma(close, period=20))
    assert same_bits(movlex.sma(close), movlex.sma(close, period=None))
    assert same_bits(movlex.sma(close), movlex.sma(close, 30))
    assert same_bits(movlex.apo(close, ma_type="ema"), movlex.apo(close, ma_type=1))
    assert same_bits(movlex.apo(close, ma_type="EMA"), movlex.apo(close, ma_type=np.int32(1)))
    assert same_bits(movlex.bbands(close, deviations_up=1).upper, movlex.bbands(close, deviations_up=1.0).upper)
    assert same_bits(movlex.sma(list(close)), movlex.sma(close))


def test_series_in_series_out(frame):
    rsi = movlex.rsi(frame["Close"])
    assert isinstance(rsi, pd.Series) and rsi.name == "rsi_14"
    assert rsi.index.equals(frame.index)
    assert same_bits(rsi.to_numpy(), movlex.rsi(frame["Close"].to_numpy()))
    assert movlex.sma(frame["Close"], 20).name == "sma_20"
    assert movlex.sar(frame["HIGH"], frame["low"]).name == "sar_0.02_0.2"
    assert movlex.apo(frame["Close"], ma_type="ema").name == "apo_12_26_ema"


def test_a_dataframe_is_read_by_column_name_in_any_case(frame, bars):
    adx = movlex.adx(frame, period=10)
    assert isinstance(adx, pd.Series) and adx.index.equals(frame.index) and adx.name == "adx_10"
    assert same_bits(adx.to_numpy(), movlex.adx(bars["high"], bars["low"], bars["close"], period=10))
    assert same_bits(movlex.obv(frame).to_numpy(), movlex.obv(bars["close"], bars["volume"]))
    assert same_bits(movlex.sma(frame).to_numpy(), movlex.sma(bars["close"]))
    bands = movlex.bbands(frame, period=20)
    assert isinstance(bands, pd.DataFrame) and list(bands.columns) == ["upper", "middle", "lower"]
    assert bands.index.equals(frame.index)
    assert same_bits(bands["lower"].to_numpy(), movlex.bbands(bars["close"], period=20).lower)


def test_the_accessor(frame):
    assert same_bits(frame.movlex.rsi(period=10).to_numpy(), movlex.rsi(frame, period=10).to_numpy())
    assert frame.movlex.stoch().columns.tolist() == ["k", "d"]
    assert frame["Close"].movlex.sma(period=5).name == "sma_5"
    assert "rsi" in dir(frame.movlex)
    with pytest.raises(AttributeError):
        frame.movlex.nonsense


BAD_CALLS = [
    # (call, exception, words of the message)
    (lambda x: movlex.sma(x, period=1), ValueError, ["period=1", "2..100000"]),
    (lambda x: movlex.sma(x, period=100001), ValueError, ["period=100001", "2..100000"]),
    (lambda x: movlex.sma(x, period=2**40), ValueError, ["period=1099511627776", "2..100000"]),
    (lambda x: movlex.sma(x, period=-2**31), ValueError, ["period=-2147483648"]),
    (lambda x: movlex.sma(x, period=7.5), ValueError, ["period=7.5", "whole"]),
    (lambda x: movlex.sma(x, period="7"), TypeError, ["period"]),
    (lambda x: movlex.t3(x, volume_factor=1.5), ValueError, ["volume_factor=1.5", "0..1"]),
    (lambda x: movlex.t3(x, volume_factor=float("nan")), ValueError, ["volume_factor=nan"]),
    (lambda x: movlex.sar(x, x, acceleration=-4e37), ValueError, ["acceleration=-4e+37"]),
    (lambda x: movlex.apo(x, ma_type="hull"), ValueError, ["ma_type='hull'", "sma, ema"]),
    (lambda x: movlex.apo(x, ma_type=9), ValueError, ["ma_type=9", "0..8"]),
    (lambda x: movlex.apo(x, ma_type=-1), ValueError, ["ma_type=-1"]),
    (lambda x: movlex.stoch(x, x[:-1], x), ValueError, ["high", "low", "(300,)", "(299,)"]),
    (lambda x: movlex.stoch(x, x, x.reshape(3, 100)), ValueError, ["shape"]),
    (lambda x: movlex.sma(x.reshape(3, 10, 10)), ValueError, ["3-D"]),
    (lambda x: movlex.sma(5.0), ValueError, ["0-D"]),
    (lambda x: movlex.sma(["a", "b"]), TypeError, ["'close'", "not numbers"]),
    (lambda x: movlex.sma([object(), 1.0]), TypeError, ["'close'", "object", "not a number"]),
    (lambda x: movlex.sma(np.array([1.0, "2"], dtype=object)), TypeError, ["'2'", "str"]),
    (lambda x: movlex.sma(np.arange(300).astype("datetime64[D]")), TypeError, ["'close'", "datetime64"]),
    (lambda x: movlex.sma(pd.Series(pd.date_range("2020", periods=9))), TypeError, ["datetime64"]),
    (lambda x: movlex.sma(np.arange(300).astype("timedelta64[ns]")), TypeError, ["timedelta64"]),
    (lambda x: movlex.sma(x + 1j), TypeError, ["complex128"]),
    (lambda x: movlex.stoch(x, x, x.astype("datetime64[s]")), TypeError, ["'close'", "datetime64"]),
    (lambda x: movlex.stream.SMA().update_many(x.astype("complex64")), TypeError, ["complex64"]),
    (lambda x: movlex.sma(x, period=np.array([3])), TypeError, ["period", "array", "(1,)"]),
    (lambda x: movlex.sma(x, period=np.array([3.0])), TypeError, ["period", "array"]),
    (lambda x: movlex.sma(x, threads=2**64), ValueError, ["threads=18446744073709551616", "1..65536"]),
    (lambda x: movlex.sma(x, threads=-2**64), ValueError, ["threads=-18446744073709551616"]),
    (lambda x: movlex.sma(x, threads=np.array([2])), TypeError, ["threads", "ndarray"]),
    (lambda x: movlex.correl(pd.Series(x), pd.Series(x, index=np.arange(300) + 1)), ValueError,
     ["'close'", "'other'", "different indexes"]),
    (lambda x: movlex.sma(pd.DataFrame({"Close": x, "close": x})), ValueError, ["'Close'", "'close'"]),
    (lambda x: movlex.lookback("nope"), ValueError, ["no indicator 'nope'"]),
    (lambda x: movlex.lookback("rsj"), ValueError, ["no indicator 'rsj'", "rsi"]),
    (lambda x: movlex.plot(x, "rsi"), TypeError, ["['rsi']"]),
    (lambda x: movlex.stoch(x, x), TypeError, ["'close'"]),
    (lambda x: movlex.sma(x, threads=0), ValueError, ["threads=0"]),
    (lambda x: movlex.sma(x, threads=1.5), TypeError, ["threads"]),
    (lambda x: movlex.sma(x, nonsense=3), TypeError, []),
    (lambda x: movlex.adx(pd.DataFrame({"close": x})), ValueError, ["'high' column"]),
    (lambda x: movlex.adx(pd.DataFrame({"high": x, "low": x, "close": x}), 14), TypeError, ["keyword"]),
    (lambda x: movlex.lookback("sma", span=3), TypeError, ["span"]),
]


@pytest.mark.parametrize("case", range(len(BAD_CALLS)))
def test_bad_arguments_raise_and_name_what_is_wrong(case, bars):
    call, exception, words = BAD_CALLS[case]
    with pytest.raises(exception) as raised:
        call(bars["close"])
    for word in words:
        assert word in str(raised.value)


def test_masked_values_are_read_as_nan(bars):
    close = bars["close"]
    mask = np.zeros(close.shape, bool)
    mask[[40, 41, 200]] = True
    filled = np.where(mask, np.nan, close)
    masked = np.ma.masked_array(close, mask)
    assert same_bits(movlex.sma(masked, 5), movlex.sma(filled, 5))
    assert same_bits(movlex.stream.SMA(5).update_many(masked), movlex.sma(filled, 5))
    two_rows = np.ma.masked_array(np.stack([close, close]).astype(np.float32), np.stack([mask, ~mask]))
    expected = np.where(two_rows.mask, np.nan, two_rows.data.astype(np.float64))
    assert same_bits(movlex.rsi(two_rows, 5), movlex.rsi(expected, 5))


def test_object_arrays_of_numbers_are_read(bars):
    values = np.array([1.0, 2, np.float32(3), None, 5.5], dtype=object)
    assert same_bits(movlex.sma(values, 2), movlex.sma(np.array([1.0, 2, 3, np.nan, 5.5]), 2))


def test_series_on_one_index_pair_by_position(frame, bars):
    high, low = frame["HIGH"], frame["low"]
    assert same_bits(movlex.correl(high, low).to_numpy(), movlex.correl(bars["high"], bars["low"]))
    assert same_bits(movlex.correl(bars["high"], low), movlex.correl(bars["high"], bars["low"]))


def test_allocation_failure_raises_memory_error():
    with pytest.raises(MemoryError):
        movlex.sma(np.broadcast_to(np.float64(1.0), (2**20, 2**26)))


def test_library_state_changes_the_unstable_indicators(bars):
    close = bars["close"]
    initialised = movlex.ema(close, period=10)
    assert movlex.lookback("ema", period=10) == 159
    movlex.shutdown()
    try:
        assert movlex.lookback("ema", period=10) == 9
        shut_down = movlex.ema(close, period=10)
        assert np.isnan(shut_down[:9]).all() and not np.isnan(shut_down[9:]).any()
        with pytest.raises(RuntimeError):
            movlex.shutdown()
    finally:
        movlex.initialize()
    assert same_bits(movlex.ema(close, period=10), initialised)
    assert np.isnan(initialised[:159]).all()


def test_state_changes_wait_for_running_computations():
    rows = np.random.default_rng(3).random((64, 20000))
    expected = movlex.ema(rows, period=10)
    failures = []

    def compute():
        for _ in range(10):
            if not same_bits(movlex.ema(rows, period=10), expected):
                failures.append("mixed state")

    worker = threading.Thread(target=compute)
    worker.start()
    while worker.is_alive():
        movlex.initialize()  # the same state again: must not disturb a running call
    worker.join()
    assert not failures


def test_no_reference_or_memory_leaks_over_many_calls(bars, frame):
    close = bars["close"]
    rows = np.ascontiguousarray(np.stack([close, close]))
    calls = [lambda: movlex.sma(close, 5), lambda: movlex.macd(close), lambda: movlex.stoch(close, close, close),
             lambda: movlex.sma(rows, 5, threads=2), lambda: movlex.rsi(frame), lambda: movlex.sma(close.astype(np.float32))]
    for call in calls:
        call()
    references = [sys.getrefcount(close), sys.getrefcount(rows)]
    result = movlex.sma(close, 5)
    assert sys.getrefcount(result) == 2
    gc.collect()
    tracemalloc.start()
    try:
        before = tracemalloc.get_traced_memory()[0]
        for _ in range(500):
            for call in calls:
                call()
            try:
                movlex.sma(close, period=0)
            except ValueError:
                pass
        gc.collect()
        grown = tracemalloc.get_traced_memory()[0] - before
    finally:
        tracemalloc.stop()
    assert [sys.getrefcount(close), sys.getrefcount(rows)] == references
    assert grown < 100_000


def test_the_candle_scan_gives_every_pattern_as_its_own_function_does():
    rng = np.random.default_rng(27)
    bars = 500
    close = 100 * np.exp(np.cumsum(rng.normal(0, 0.01, bars)))
    open_ = close * np.exp(rng.normal(0, 0.005, bars))
    high = np.maximum(open_, close) * (1 + rng.uniform(0, 0.01, bars))
    low = np.minimum(open_, close) * (1 - rng.uniform(0, 0.01, bars))
    for settings in ({}, {"period": 5, "long_body": 1.0}):
        scan = movlex.candle_scan(open_, high, low, close, **settings)
        assert scan.shape == (bars, len(movlex.CANDLE_PATTERNS)) and scan.dtype == np.int8
        lookback = settings.get("period", 10) + 5
        for j, name in enumerate(movlex.CANDLE_PATTERNS):
            own = getattr(movlex, "candle_" + name)(open_, high, low, close, **settings)
            assert np.array_equal(scan[lookback:, j], own[lookback:]), name
        assert not scan[:lookback].any()
    frame = pd.DataFrame({"Open": open_, "High": high, "Low": low, "Close": close},
                         index=pd.date_range("2020-01-01", periods=bars))
    scanned = movlex.candle_scan(frame)
    assert list(scanned.columns) == list(movlex.CANDLE_PATTERNS) and scanned.index.equals(frame.index)
