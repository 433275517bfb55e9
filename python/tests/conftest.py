"""Shared pieces of the Python tests: the C library through ctypes (the
reference every result is compared with), market-like data, parameters
drawn from the indicator table, and the library state."""

import ctypes
import os
import pathlib

import numpy as np
import pytest

import movlex

REPOSITORY = pathlib.Path(__file__).resolve().parents[2]


def _library_path():
    path = os.environ.get("MOVLEX_LIBRARY")
    if path:
        return pathlib.Path(path)
    for build in sorted(REPOSITORY.glob("build*")):
        candidate = build / "libmovlex-ta-dll.so"
        if candidate.exists():
            return candidate
    return None


class CandleSettings(ctypes.Structure):
    """MovlexCandleSettings of movlex_extended.h."""
    _fields_ = [("period", ctypes.c_int32)] + [(name, ctypes.c_double) for name in (
        "long_body", "short_body", "doji_body", "long_shadow", "very_short_shadow", "prices_near", "prices_far",
        "prices_equal")]


class CLibrary:
    """The shared library's entries, called as a C program would."""

    def __init__(self, path):
        self.dll = ctypes.CDLL(str(path))
        self.dll.MOVLEX_INIT()
        # The extended set's entries (movlex_...) are in libmovlex beside it,
        # which shares the core library's state.
        extended = pathlib.Path(path).parent / "libmovlex.so"
        self.extended = ctypes.CDLL(str(extended)) if extended.exists() else None

    def call(self, indicator, inputs, params):
        """The entry over the whole of `inputs` (1-D float64 arrays), its
        out_count values placed at out_begin in NaN-filled full-length arrays."""
        library = self.extended if indicator.entry.startswith("movlex_") else self.dll
        if library is None:
            pytest.skip("no built libmovlex.so beside the core library")
        entry = getattr(library, indicator.entry)
        n = len(inputs[0])
        arguments = [ctypes.c_int32(0), ctypes.c_int32(n - 1)]
        arguments += [x.ctypes.data_as(ctypes.POINTER(ctypes.c_double)) for x in inputs]
        values = [ctypes.c_double(value) if param.kind == "real" else ctypes.c_int32(int(value))
                  for param, value in zip(indicator.params, params)]
        if indicator.entry.startswith("movlex_candle_"):
            # The candlestick entries take their settings in one structure.
            settings = CandleSettings(*[value.value for value in values])
            values = [ctypes.byref(settings)]
        arguments += values
        begin, count = ctypes.c_int32(-1), ctypes.c_int32(-1)
        outputs = [np.empty(n) for _ in indicator.outputs]
        arguments += [ctypes.byref(begin), ctypes.byref(count)]
        arguments += [out.ctypes.data_as(ctypes.POINTER(ctypes.c_double)) for out in outputs]
        code = entry(*arguments)
        assert code == 0, f"{indicator.entry} returned {code}"
        results = []
        for out in outputs:
            full = np.full(n, np.nan)
            full[begin.value:begin.value + count.value] = out[:count.value]
            results.append(movlex._indicators.as_signals(full) if indicator.signals else full)
        return results


@pytest.fixture(scope="session")
def clib():
    path = _library_path()
    if path is None:
        pytest.skip("no built libmovlex-ta-dll.so (set MOVLEX_LIBRARY)")
    return CLibrary(path)


@pytest.fixture(params=["initialized", "shut down"])
def library_state(request, clib):
    """Runs a test in each library state, the same in the C library and in movlex."""
    if request.param == "shut down":
        movlex.shutdown()
        clib.dll.MOVLEX_SHUTDOWN()
    yield request.param
    if request.param == "shut down":
        movlex.initialize()
        clib.dll.MOVLEX_INIT()


def market(rng, bars, series=None):
    """Bars of a random walk: open, high, low, close, volume arrays, each of
    shape (bars,) or (series, bars)."""
    shape = (bars,) if series is None else (series, bars)
    close = 100 * np.exp(np.cumsum(rng.normal(0, 0.01, shape), axis=-1))
    open_ = close * np.exp(rng.normal(0, 0.005, shape))
    high = np.maximum(open_, close) * (1 + rng.uniform(0, 0.01, shape))
    low = np.minimum(open_, close) * (1 - rng.uniform(0, 0.01, shape))
    volume = rng.integers(1000, 100000, shape).astype(float)
    # The second series of two-series indicators (correlation, beta): the open.
    return {"open": open_, "high": high, "low": low, "close": close, "volume": volume, "other": open_}


def inputs_of(indicator, bars):
    return [bars[name] for name in indicator.inputs]


def random_params(indicator, rng, longest=40):
    """Parameter values inside the table's ranges, small enough for a few
    hundred bars to give results."""
    values = []
    for param in indicator.params:
        if param.kind == "ma_type":
            values.append(int(rng.integers(0, len(movlex.MA_TYPES))))
        elif param.kind == "integer":
            values.append(int(rng.integers(param.min, min(param.max, max(longest, param.min)) + 1)))
        else:
            low, high = max(param.min, -4.0), min(param.max, 4.0)
            if param.max <= 1.0:
                low, high = param.min, param.max
            elif param.min >= 0:
                high = min(param.max, 0.5)
                if high < low:  # a scale whose least value is above 0.5
                    high = min(param.max, low * 4)
            values.append(float(rng.uniform(low, high)))
    return values


def default_params(indicator):
    return [movlex.INDICATORS[indicator.name].params[i].default for i in range(len(indicator.params))]


def same_bits(a, b):
    a, b = np.asarray(a), np.asarray(b)
    if a.dtype == b.dtype == np.int32:  # signals
        return a.shape == b.shape and np.array_equal(a, b)
    return a.shape == b.shape and a.dtype == b.dtype == np.float64 and np.array_equal(a.view(np.uint64), b.view(np.uint64))
