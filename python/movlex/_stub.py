"""The type stubs of the package, written from the indicator table at build
time so that editors and type checkers know the generated functions and
stream classes: their keywords, defaults, and (in the docstrings) ranges.

    python3 -m movlex._stub DIRECTORY     writes __init__.pyi and stream.pyi there
"""

import pathlib
import sys

from ._indicators import INDICATORS, _default_value, _docstring
from .stream import _class_doc

_HEADER = "# Generated from movlex's indicator table by movlex._stub; not to be edited.\n"

_PARAM_TYPES = {"integer": "int | None", "real": "float | None", "ma_type": "int | str | None"}


def _doc(text, indent):
    lines = text.replace("\\", "\\\\").replace('"""', '\\"\\"\\"').splitlines()
    out = [f'{indent}"""{lines[0]}'] + [f"{indent}{line}" if line else "" for line in lines[1:]]
    return "\n".join(out) + ('"""\n' if len(lines) == 1 else f'\n{indent}"""\n')


def _parameters(indicator):
    return [f"{p.name}: {_PARAM_TYPES[p.kind]} = {_default_value(p)!r}" for p in indicator.params]


def _result_class(indicator, element):
    fields = "".join(f"    {name}: {element}\n" for name in indicator.outputs)
    return f"class {indicator.result_type.__name__}(NamedTuple):\n{fields}\n"


def _function(indicator):
    """Two overloads: numpy in, numpy out; pandas in, pandas out."""
    first, *rest = indicator.inputs
    arrays_out = "_Array" if indicator.result_type is None else indicator.result_type.__name__
    out_type = "_npt.NDArray[Any]" if indicator.result_type is None else "tuple[_npt.NDArray[Any], ...]"
    params = _parameters(indicator) + ["*", "threads: int | None = None", f"out: {out_type} | None = None"]
    pandas_out = "_pd.Series" if indicator.result_type is None else "_pd.DataFrame"
    text = ""
    for first_type, rest_type, result in (("_pd.Series | _pd.DataFrame", "_pd.Series | None", pandas_out),
                                          ("_ArrayLike", "_ArrayLike | None", arrays_out)):
        arguments = [f"{first}: {first_type}"] + [f"{name}: {rest_type} = None" for name in rest] + params
        text += f"@overload\ndef {indicator.name}({', '.join(arguments)}) -> {result}:\n"
        text += _doc(_docstring(indicator), "    ")
    return text + "\n"


def init_stub():
    """The text of __init__.pyi."""
    text = _HEADER + '''from typing import Any, NamedTuple, overload

import numpy as _np
import numpy.typing as _npt
import pandas as _pd

from . import stream as stream

_ArrayLike = _npt.ArrayLike
_Array = _npt.NDArray[_np.float64]

__version__: str
MA_TYPES: tuple[str, ...]

class Param(NamedTuple):
    name: str
    kind: str
    default: float
    min: float
    max: float

class Indicator(NamedTuple):
    name: str
    entry: str
    summary: str
    inputs: tuple[str, ...]
    params: tuple[Param, ...]
    outputs: tuple[str, ...]
    placement: str
    index: int
    result_type: type | None
    placements: tuple[str, ...]
    signals: bool
    aliasing: str

INDICATORS: dict[str, Indicator]

def lookback(name: str, **params: Any) -> int: ...
def initialize() -> None: ...
def shutdown() -> None: ...
def hardware_threads() -> int: ...
def plot(data: Any, indicators: list[Any], **options: Any) -> Any: ...

CANDLE_PATTERNS: tuple[str, ...]

def candle_scan(open: Any, high: Any = None, low: Any = None, close: Any = None, **settings: Any) -> Any: ...

'''
    for indicator in INDICATORS.values():
        if indicator.result_type is not None:
            text += _result_class(indicator, "_Array")
    for indicator in INDICATORS.values():
        text += _function(indicator)
    return text


def stream_stub():
    """The text of stream.pyi."""
    results = [indicator.result_type.__name__ for indicator in INDICATORS.values() if indicator.result_type]
    text = _HEADER + '''from typing import Any, NamedTuple, TypeVar

import numpy as _np
import numpy.typing as _npt

from . import ''' + ", ".join(["Indicator"] + results) + '''

_S = TypeVar("_S", bound="Stream")
_Array = _npt.NDArray[_np.float64]

class Stream:
    indicator: Indicator
    def __init__(self, *args: Any, **params: Any) -> None: ...
    def update(self, *bar: float) -> Any: ...
    def update_many(self, *inputs: _npt.ArrayLike) -> Any: ...
    @property
    def bars(self) -> int: ...
    def copy(self: _S) -> _S: ...
    def save(self) -> bytes: ...
    @classmethod
    def from_state(cls, state: bytes) -> Stream: ...

class StreamSet:
    indicator: Indicator
    def __init__(self, name: str, symbols: int, *args: Any, **params: Any) -> None: ...
    def update(self, *inputs: _npt.ArrayLike) -> Any: ...
    @property
    def bars(self) -> int: ...
    @property
    def symbols(self) -> int: ...

'''
    for indicator in INDICATORS.values():
        if indicator.result_type is not None:
            text += _result_class(indicator, "float").replace("class ", "class _Bar", 1)
    for indicator in INDICATORS.values():
        bar = "float" if indicator.result_type is None else f"_Bar{indicator.result_type.__name__}"
        arrays = "_Array" if indicator.result_type is None else indicator.result_type.__name__
        inputs = ", ".join(f"{name}: float" for name in indicator.inputs)
        many = ", ".join(f"{name}: _npt.ArrayLike" for name in indicator.inputs)
        text += f"class {indicator.name.upper()}(Stream):\n" + _doc(_class_doc(indicator), "    ")
        text += f"    def __init__({', '.join(['self'] + _parameters(indicator))}) -> None: ...\n"
        text += f"    def update(self, {inputs}) -> {bar}: ...\n"
        text += f"    def update_many(self, {many}) -> {arrays}: ...\n\n"
    return text


def write(directory):
    directory = pathlib.Path(directory)
    (directory / "__init__.pyi").write_text(init_stub())
    (directory / "stream.pyi").write_text(stream_stub())


if __name__ == "__main__":
    write(sys.argv[1])
