"""movlex: technical-analysis indicators over numpy arrays and pandas objects.

One function per indicator, with the parameters, defaults and ranges of the
indicator table: movlex.sma(close, period=30), movlex.macd(close, ...),
movlex.stoch(high, low, close, ...); movlex.INDICATORS describes them all.

Inputs are float array-likes: a 1-D input gives full-length float64 results
aligned with it (NaN before the first computed bar); a 2-D input of shape
(series, bars) computes every row on its own, rows in parallel (threads=).
pandas Series give Series, a DataFrame with open/high/low/close/volume
columns can be passed whole, and df.movlex.rsi(period=14) works too.
Values are paired by position: Series given together must share an index.
Arrays of dates, durations, complex numbers or text raise TypeError; the
masked values of a masked array are read as NaN.

Library state: importing movlex calls MOVLEX_INIT, as the movlex command-line
tool does by default, so that the recursive indicators (EMA, RSI, ATR, ADX,
...) start after their unstable period of 150 bars. movlex.shutdown() returns
to the uninitialised state (no unstable period), movlex.initialize() back.
"""

from . import _movlex
from ._indicators import INDICATORS, MA_TYPES, Indicator, Param, lookback, make_function
from . import stream

__version__ = "0.1.0"


def initialize():
    """Calls MOVLEX_INIT: every unstable period becomes 150. Importing movlex
    has done this already. Waits for running computations to finish."""
    _movlex.initialize()


def shutdown():
    """Calls MOVLEX_SHUTDOWN: the unstable periods go back to 0. Raises
    RuntimeError when the library is not initialised."""
    if _movlex.shutdown() != 0:
        raise RuntimeError("movlex.shutdown(): the library is not initialised")


def hardware_threads():
    """The number of threads a 2-D call uses when threads is not given."""
    return _movlex.hardware_threads()


#: The candlestick patterns in the order of candle_scan's columns ("doji", ...).
CANDLE_PATTERNS = tuple(_movlex.candle_pattern_names())


def candle_scan(open, high=None, low=None, close=None, **settings):
    """Every candlestick pattern over one series in one pass (docs/patterns.md).

    open, high, low, close: 1-D array-likes, or a DataFrame with those columns
    as the first argument. settings: the patterns' settings by keyword
    (period=10, long_body=1.3, ...; see movlex.candle_doji).
    Returns an int8 array of shape (bars, len(CANDLE_PATTERNS)): column j is
    pattern CANDLE_PATTERNS[j], with the values its own function gives (+1
    bullish, -1 bearish, +-2 a confirmation, 0 none), 0 on the bars before
    the scan's first (period + 5). From a DataFrame: a DataFrame of those
    columns on its index."""
    import numpy as np

    from ._indicators import _columns, _pandas_type

    first = INDICATORS["candle_" + CANDLE_PATTERNS[0]]
    unknown = set(settings) - {p.name for p in first.params}
    if unknown:
        raise TypeError(f"candle_scan: no setting {', '.join(sorted(unknown))}")
    params = tuple(settings.get(p.name) for p in first.params)
    index = None
    inputs = (open, high, low, close)
    if _pandas_type(open, "DataFrame"):
        index = open.index
        inputs = _columns(first, open)
    result = _movlex.candle_scan(first.index, tuple(np.asarray(x, dtype=float) for x in inputs), params)
    if index is None:
        return result
    import pandas

    return pandas.DataFrame(result, index=index, columns=CANDLE_PATTERNS)


def plot(data, indicators, **options):
    """Draws prices and indicators with matplotlib; see movlex.chart.plot."""
    from .chart import plot as draw

    return draw(data, indicators, **options)


for _name, _indicator in INDICATORS.items():
    globals()[_name] = make_function(_indicator)
del _name, _indicator

__all__ = sorted(INDICATORS) + [
    "INDICATORS", "MA_TYPES", "Indicator", "Param", "lookback", "initialize", "shutdown", "hardware_threads", "plot",
    "stream", "CANDLE_PATTERNS", "candle_scan"]

try:
    import pandas as _pandas
except ImportError:
    pass
else:
    from ._accessor import register as _register_accessors

    _register_accessors(_pandas)

initialize()
