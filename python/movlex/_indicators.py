"""One Python function per row of the indicator table.

The functions are generated when the package is imported: their keyword
names, defaults, ranges and docstrings all come from the table that the
compiled module reports, so a new row of the table becomes a new function.
"""

import collections
import difflib
import inspect
import sys

import numpy as np

from . import _movlex

#: Moving-average types by code: MA_TYPES[1] == "ema".
MA_TYPES = tuple(_movlex.ma_type_names())

# The table's single price series ("input") is called close in Python and
# reads a DataFrame's close column.
_PYTHON_INPUT_NAMES = {"input": "close"}

Param = collections.namedtuple("Param", "name kind default min max")
Param.__doc__ = "A parameter of an indicator: name, kind (integer, real or ma_type), default and range."

Indicator = collections.namedtuple(
    "Indicator", "name entry summary inputs params outputs placement index result_type placements signals aliasing")
Indicator.__doc__ = """An indicator of the table.

name, entry (the C entry, MOVLEX_...), summary, inputs (argument names, which
are also the DataFrame columns read), params (Param tuples), outputs (result
names), placement ("overlay": drawn over the prices, "panel": in a panel of
its own, "markers": as markers on the candles where not 0), index (its row in
the table), result_type (the named tuple of a multi-output result, else
None), placements (each output's placement), signals (True when the outputs
are signals, whole numbers with 0 for none, given as int32 arrays: the
candlestick patterns), aliasing ("any": an out= array may share memory
with an input, "separate": it may not)."""


def _output_name(name):
    return name[len("out_"):] if name.startswith("out_") else name


def _camel(name):
    return "".join(part.capitalize() for part in name.split("_"))


def _indicator(index, row):
    outputs = tuple(_output_name(name) for name in row["outputs"])
    result_type = None
    if len(outputs) > 1:
        result_type = collections.namedtuple(_camel(row["name"]) + "Result", outputs)
        result_type.__module__ = "movlex"
    return Indicator(
        name=row["name"],
        entry=row["entry"],
        summary=row["summary"],
        inputs=tuple(_PYTHON_INPUT_NAMES.get(name, name) for name in row["inputs"]),
        params=tuple(Param(p["name"], p["kind"], p["default"], p["min"], p["max"]) for p in row["params"]),
        outputs=outputs,
        placement=row["placement"],
        index=index,
        result_type=result_type,
        placements=tuple(row["placements"]),
        signals=row["signals"],
        aliasing=row["aliasing"],
    )


#: Every indicator of the table by name.
INDICATORS = {row["name"]: _indicator(i, row) for i, row in enumerate(_movlex.indicator_table())}


# ---- Values as text ------------------------------------------------------------

def _number_text(value):
    value = float(value)
    return str(int(value)) if value.is_integer() and abs(value) < 1e15 else repr(value)


def _default_value(param):
    if param.kind == "ma_type":
        return MA_TYPES[int(param.default)]
    return int(param.default) if param.kind == "integer" else float(param.default)


def _ma_type_name(value):
    if isinstance(value, str):
        return value.lower()
    return MA_TYPES[int(value)]


def label(indicator, params):
    """The name of a result: the indicator's name and its numeric parameter
    values, followed by the moving-average types other than sma: rsi_14,
    bbands_20_2_2, macd_12_ema_26_ema_9."""
    parts = [indicator.name]
    for param, value in zip(indicator.params, params):
        value = param.default if value is None else value
        if param.kind == "ma_type":
            name = _ma_type_name(value)
            if name != MA_TYPES[0]:
                parts.append(name)
        else:
            parts.append(_number_text(value))
    return "_".join(parts)


def as_signals(values):
    """A signal output as int32, 0 (no signal) on the bars before its first
    value."""
    return np.nan_to_num(values, nan=0.0).astype(np.int32)


# ---- Calls with pandas objects or other array-likes ------------------------------

def _pandas_type(value, name):
    pandas = sys.modules.get("pandas")
    return pandas is not None and isinstance(value, getattr(pandas, name))


def first_repeat(pairs):
    """(key, first value, second value) for the first key that comes twice
    among the (key, value) pairs, else None; and {key: value} of them all."""
    found = {}
    for key, value in pairs:
        if key in found:
            return (key, found[key], value), found
        found[key] = value
    return None, found


def columns_by_name(columns, names, owner=""):
    """{name: column} for each of `names` (lower case) that one of `columns`
    is called in any case. Raises ValueError when two columns are: which of
    Close and close holds the prices is not for movlex to guess."""
    repeat, found = first_repeat((str(c).lower(), c) for c in columns if str(c).lower() in names)
    if repeat:
        name, first, second = repeat
        raise ValueError(f"{owner}the DataFrame has columns {first!r} and {second!r}, both read as '{name}'; keep one")
    return found


def missing_column(frame, name, owner=""):
    return ValueError(f"{owner}the DataFrame has no '{name}' column (it has {', '.join(map(str, frame.columns))})")


def _columns(indicator, frame):
    owner = f"{indicator.name}: "
    by_name = columns_by_name(frame.columns, indicator.inputs, owner)
    for name in indicator.inputs:
        if name not in by_name:
            raise missing_column(frame, name, owner)
    return tuple(frame[by_name[name]] for name in indicator.inputs)


def _series_index(indicator, inputs):
    """The index of the first input when it is a Series (the result's). All
    the Series among the inputs must have one index: values are paired by
    position, so Series on different indexes would pair unrelated rows."""
    named = [(name, value) for name, value in zip(indicator.inputs, inputs) if _pandas_type(value, "Series")]
    for name, value in named[1:]:
        if not value.index.equals(named[0][1].index):
            raise ValueError(f"{indicator.name}: inputs '{named[0][0]}' and '{name}' have different indexes; "
                             f"align them first, e.g. a, b = a.align(b, join='inner')")
    return inputs[0].index if _pandas_type(inputs[0], "Series") else None


def _to_pandas(indicator, result, index, params):
    import pandas

    name = label(indicator, params)
    if indicator.result_type is None:
        return pandas.Series(result, index=index, name=name)
    frame = pandas.DataFrame(dict(zip(indicator.outputs, result)), index=index)
    frame.attrs["label"] = name
    return frame


def compute(indicator, inputs, params, threads=None, out=None):
    """Computes `indicator` (an Indicator) for any inputs its function takes.
    With out=, the values go into those numpy arrays; pandas inputs still give
    a pandas result, made on the out arrays' values."""
    first = inputs[0]
    index = None
    if _pandas_type(first, "DataFrame"):
        if any(value is not None for value in inputs[1:]):
            raise TypeError(f"{indicator.name}: a DataFrame brings every input; give the parameters by keyword")
        index = first.index
        inputs = _columns(indicator, first)
    else:
        index = _series_index(indicator, inputs)
    for name, value in zip(indicator.inputs, inputs):
        if value is None:
            raise TypeError(f"{indicator.name}() missing input '{name}'")
    result = _movlex.compute(indicator.index, inputs, params, threads, out)
    if index is not None:
        return _to_pandas(indicator, result, index, params)
    return result if indicator.result_type is None else indicator.result_type(*result)


# ---- The generated functions ------------------------------------------------------

def _range_text(param):
    return f"range {_number_text(param.min)}..{_number_text(param.max)}"


def _docstring(indicator):
    kinds = {"integer": "int", "real": "float", "ma_type": "moving-average type"}
    lines = [f"{indicator.summary} ({indicator.entry}).", "", "Inputs", "------"]
    for name in indicator.inputs:
        lines.append(f"{name} : array-like of float, 1-D (bars) or 2-D (series, bars)")
    lines += [
        f"    Or a pandas Series; or a DataFrame as the first argument, whose",
        f"    {', '.join(indicator.inputs)} column{'s are' if len(indicator.inputs) > 1 else ' is'} read (any case).",
        "", "Parameters", "----------"]
    for param in indicator.params:
        default = _default_value(param)
        if param.kind == "ma_type":
            lines.append(f"{param.name} : moving-average type, default {default!r}")
            lines.append(f"    A name ({', '.join(MA_TYPES)}) or its code 0..{len(MA_TYPES) - 1}.")
        else:
            lines.append(f"{param.name} : {kinds[param.kind]}, default {default!r}, {_range_text(param)}")
    out_type = "int32" if indicator.signals else "float64"
    out_arrays = "array" if indicator.result_type is None else f"tuple of {len(indicator.outputs)} arrays"
    lines += ["threads : int, keyword only, default None (all cores), range 1..65536",
              "    Threads for a 2-D input, each computing whole rows.",
              f"out : {out_arrays}, keyword only, default None",
              f"    C-contiguous, writeable {out_type} arrays shaped like the input that",
              "    receive the results (the same values as without out=), and are returned.",
              "    Only an indicator whose outputs may be its inputs takes an out array",
              "    sharing memory with an input. From pandas inputs the result is still",
              "    pandas, made from the out arrays.",
              "None for a parameter selects its default.", "", "Returns", "-------"]
    if indicator.signals:
        lines.append("out : int32 array shaped like the input: +1 bullish, -1 bearish, +-2 a")
        lines.append("    confirmation, 0 none (see docs/patterns.md)")
    elif indicator.result_type is None:
        lines.append("out : float64 array shaped like the input")
    else:
        fields = ", ".join(indicator.outputs)
        lines.append(f"{indicator.result_type.__name__}({fields}) : float64 arrays shaped like the input")
    if indicator.result_type is None:
        from_pandas = f"a Series named like '{label(indicator, [None] * len(indicator.params))}'"
    else:
        from_pandas = f"a DataFrame with columns {', '.join(indicator.outputs)}"
    before = "0" if indicator.signals else "NaN"
    lines += [
        f"    Element i belongs to input bar i; {before} before the first computed bar",
        f"    (movlex.lookback('{indicator.name}', ...) bars). Each row of a 2-D input",
        "    is computed alone, exactly as the 1-D call on that row.",
        f"    From pandas: {from_pandas}, on the input's index.", "",
        "Raises",
        "------",
        "ValueError : a parameter out of range (named with its value and range),",
        "    inputs of different shapes, an input that is not 1-D or 2-D, pandas",
        "    Series on different indexes, or a DataFrame with two columns of one",
        "    name in different cases.",
        "TypeError : a parameter or an input that is not numbers (dates, durations,",
        "    complex numbers, text); masked values of a masked array read as NaN.",
        "MemoryError : the results or the scratch arrays do not fit in memory."]
    return "\n".join(lines)


def _source(indicator):
    first, *rest = indicator.inputs
    arguments = [first] + [f"{name}=None" for name in rest]
    arguments += [f"{p.name}={_default_value(p)!r}" for p in indicator.params]
    inputs = "(" + "".join(f"{name}, " for name in indicator.inputs) + ")"
    params = "(" + "".join(f"{p.name}, " for p in indicator.params) + ")"
    fast = f"_compute({indicator.index}, {inputs}, {params}, threads, out)"
    if indicator.result_type is not None:
        fast = f"_Result(*{fast})"
    return (f"def {indicator.name}({', '.join(arguments)}, *, threads=None, out=None):\n"
            f"    if type({first}) is _ndarray:\n"
            f"        return {fast}\n"
            f"    return _general(_indicator, {inputs}, {params}, threads, out)\n")


def make_function(indicator):
    """The function of one indicator: an IndicatorFunction of the compiled
    module, which takes a call with a numpy array straight to the entry and
    hands any other to the Python function written here (pandas objects,
    other array-likes, and the errors of arguments it cannot place)."""
    namespace = {"_ndarray": np.ndarray, "_compute": _movlex.compute, "_Result": indicator.result_type,
                 "_indicator": indicator, "_general": compute}
    exec(_source(indicator), namespace)
    general = namespace[indicator.name]
    general.__module__ = "movlex"
    function = _movlex.IndicatorFunction(indicator.index, general, indicator.result_type)
    function.__name__ = function.__qualname__ = indicator.name
    function.__module__ = "movlex"
    function.__doc__ = general.__doc__ = _docstring(indicator)
    function.__signature__ = inspect.signature(general)
    function.indicator = indicator
    return function


def indicator_named(name):
    """The Indicator called `name`; ValueError naming the nearest ones when
    there is none."""
    if not isinstance(name, str):
        raise TypeError(f"an indicator is named by a str, not {type(name).__name__} ({name!r})")
    if name not in INDICATORS:
        near = difflib.get_close_matches(name.lower(), INDICATORS, n=3)
        hint = f"; did you mean {' or '.join(near)}?" if near else "; movlex.INDICATORS lists them"
        raise ValueError(f"movlex has no indicator '{name}'{hint}")
    return INDICATORS[name]


def request_items(indicators):
    """The items of a list of indicators, refusing a bare string (whose
    letters would be read as names)."""
    if isinstance(indicators, str):
        raise TypeError(f"indicators must be a list; for one indicator write ['{indicators}']")
    return list(indicators)


def lookback(name, **params):
    """The number of bars before the first value of indicator `name` with the
    given parameters (the others at their defaults) in the current library
    state: the NaN prefix of its results."""
    indicator = indicator_named(name)
    unknown = set(params) - {p.name for p in indicator.params}
    if unknown:
        raise TypeError(f"{name}: no parameter {', '.join(sorted(unknown))}")
    return _movlex.lookback(indicator.index, tuple(params.get(p.name) for p in indicator.params))
