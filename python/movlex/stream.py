"""Streams: every indicator updated one bar at a time.

    s = movlex.stream.RSI(period=14)
    s.update(close)            # the bar's value, or NaN before the first
    s.update_many(closes)      # an array of values, NaN before the first

After bars 0 .. t a stream gives, bit for bit, what movlex.rsi gives at bar t
over those bars. A stream keeps the library state in force when it was made
(movlex.initialize / movlex.shutdown). Copies (copy.copy, s.copy()) go on
independently; pickle saves the whole state, which restores on any machine.
A stream may be shared by threads: its calls hold the stream's lock, one at a
time, so no bar is lost.

A stream set holds one indicator's streams for many symbols and takes one bar
of every symbol per call, for hosts that receive a whole universe at each bar:

    rsi = movlex.stream.StreamSet("rsi", symbols=512, period=14)
    rsi.update(closes)         # one close per symbol in; an array of 512 out

Each symbol gets, bit for bit, what its own stream gives.
"""

import math

import numpy as np

from . import _movlex
from ._indicators import INDICATORS, MA_TYPES, _default_value, _range_text, as_signals


def _parameters(indicator, args, params):
    """The parameters given by position and by name, in the indicator's
    order (None for those not given)."""
    names = [p.name for p in indicator.params]
    if len(args) > len(names):
        raise TypeError(f"{indicator.name}: at most {len(names)} parameters")
    values = dict(zip(names, args))
    for name, value in params.items():
        if name not in names:
            raise TypeError(f"{indicator.name}: no parameter '{name}'")
        values[name] = value
    return tuple(values.get(name) for name in names)


def _results(indicator, result):
    """Arrays as the package's functions return them: signals as int32, one
    array, or a named tuple of them."""
    if indicator.signals:
        result = [as_signals(values) for values in result]
    if indicator.result_type is None:
        return result[0]
    return indicator.result_type(*result)


class Stream:
    """A stream of one indicator; see the module's documentation."""

    indicator = None  # set on each generated class

    def __init__(self, *args, **params):
        self._stream = _movlex.Stream(self.indicator.index, _parameters(self.indicator, args, params))

    @classmethod
    def _wrap(cls, stream):
        made = cls.__new__(cls)
        made._stream = stream
        return made

    def update(self, *bar):
        """Feeds one bar (one value per input: close, or high, low, close, ...).
        Returns the bar's value (a named tuple for several outputs), NaN (or a
        tuple of NaN) while there is no value yet; a signal (a candlestick
        pattern) as an int, 0 while there is none yet."""
        values = self._stream.update([float(value) for value in bar])
        outputs = self.indicator.outputs
        if values is None:
            values = (0 if self.indicator.signals else math.nan,) * len(outputs)
        elif self.indicator.signals:
            values = tuple(int(value) for value in values)
        if self.indicator.result_type is None:
            return values[0]
        return self.indicator.result_type(*values)

    def update_many(self, *inputs):
        """Feeds every bar of the input arrays; returns arrays like movlex's
        functions (NaN where there is no value yet; int32 signals, 0 where
        there is none yet)."""
        return _results(self.indicator, self._stream.update_many(list(inputs)))

    @property
    def bars(self):
        """The number of bars fed so far."""
        return self._stream.bars

    def copy(self):
        return type(self)._wrap(self._stream.copy())

    __copy__ = copy

    def __deepcopy__(self, memo):
        return self.copy()

    def save(self):
        """The stream's state as bytes (docs/streams.md)."""
        return self._stream.save()

    @classmethod
    def from_state(cls, state):
        stream = _movlex.Stream.from_state(bytes(state))
        made_class = _CLASSES[INDICATORS_BY_INDEX[stream.index].name]
        if cls is not Stream and made_class is not cls:
            raise ValueError(f"the state is of {made_class.__name__}, not {cls.__name__}")
        return made_class._wrap(stream)

    def __reduce__(self):
        return (_restore, (self.save(),))

    def __repr__(self):
        return f"<movlex.stream.{type(self).__name__} after {self.bars} bars>"


class StreamSet:
    """One indicator's streams for `symbols` symbols, fed one bar of every
    symbol at a time; see the module's documentation."""

    def __init__(self, name, symbols, *args, **params):
        self.indicator = INDICATORS.get(name)
        if self.indicator is None:
            raise ValueError(f"no indicator named '{name}'")
        self._set = _movlex.StreamSet(self.indicator.index, _parameters(self.indicator, args, params), symbols)

    def update(self, *inputs):
        """Feeds one bar of every symbol (one array per input, one value per
        symbol). Returns an array of one value per symbol (a named tuple of
        arrays for several outputs), NaN while there is no value yet; signals
        (candlestick patterns) as int32, 0 while there is none yet."""
        result = self._set.update(list(inputs))
        if result is None:  # NaN, read as no signal for signals
            result = [np.full(self.symbols, math.nan) for _ in self.indicator.outputs]
        return _results(self.indicator, result)

    @property
    def bars(self):
        """The number of bars fed so far."""
        return self._set.bars

    @property
    def symbols(self):
        """The number of symbols."""
        return self._set.symbols

    def __repr__(self):
        return f"<movlex.stream.StreamSet of {self.indicator.name} over {self.symbols} symbols after {self.bars} bars>"


def _restore(state):
    return Stream.from_state(state)


def _class_doc(indicator):
    lines = [f"Stream of {indicator.summary} ({indicator.entry}).", "",
             f"update({', '.join(indicator.inputs)}) feeds one bar.", "", "Parameters:"]
    for p in indicator.params:
        kind = f"a name ({', '.join(MA_TYPES)}) or code" if p.kind == "ma_type" else _range_text(p)
        lines.append(f"    {p.name}: default {_default_value(p)!r}, {kind}")
    return "\n".join(lines)


INDICATORS_BY_INDEX = {indicator.index: indicator for indicator in INDICATORS.values()}
_CLASSES = {}
for _name, _indicator in INDICATORS.items():
    _class = type(_name.upper(), (Stream,), {"indicator": _indicator, "__doc__": _class_doc(_indicator),
                                             "__module__": __name__})
    _CLASSES[_name] = _class
    globals()[_name.upper()] = _class
del _name, _indicator, _class

__all__ = ["Stream", "StreamSet"] + [name.upper() for name in INDICATORS]
