"""The cost of one Python call on a tiny input: movlex.sma(x, 3) on 10
float64 values, against a ctypes call of MOVLEX_SMA in the shared library on
the same array (its arguments made once, as a program calling it in a loop
would keep them). Times are the minimum over repeats of timeit loops, in
microseconds per call.

    PYTHONPATH=build/python /usr/bin/python3 python/bench/call_overhead.py [--library build/libmovlex-ta-dll.so]
"""

import argparse
import ctypes
import os
import pathlib
import timeit

import numpy as np

import movlex

REPOSITORY = pathlib.Path(__file__).resolve().parents[2]


def per_call_us(call, number, repeat):
    return min(timeit.repeat(call, number=number, repeat=repeat)) / number * 1e6


def ctypes_sma(library, x, out):
    dll = ctypes.CDLL(str(library))
    dll.MOVLEX_INIT()
    entry = dll.MOVLEX_SMA
    pointer = ctypes.POINTER(ctypes.c_double)
    entry.argtypes = [ctypes.c_int32, ctypes.c_int32, pointer, ctypes.c_int32,
                      ctypes.POINTER(ctypes.c_int32), ctypes.POINTER(ctypes.c_int32), pointer]
    begin, count = ctypes.c_int32(), ctypes.c_int32()
    arguments = (0, len(x) - 1, x.ctypes.data_as(pointer), 3, ctypes.byref(begin), ctypes.byref(count),
                 out.ctypes.data_as(pointer))
    return lambda: entry(*arguments)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--library", default=os.environ.get("MOVLEX_LIBRARY",
                                                            REPOSITORY / "build" / "libmovlex-ta-dll.so"))
    parser.add_argument("--number", type=int, default=200_000)
    parser.add_argument("--repeat", type=int, default=7)
    options = parser.parse_args()

    x = np.arange(10, dtype=np.float64) + 10.0
    out = np.empty(10)
    calls = {
        "movlex.sma(x, 3)": lambda: movlex.sma(x, 3),
        "movlex.sma(x, period=3)": lambda: movlex.sma(x, period=3),
        "movlex.sma(x, 3, out=out)": lambda: movlex.sma(x, 3, out=out),
        "ctypes MOVLEX_SMA": ctypes_sma(options.library, x, out),
        "empty lambda": lambda: None,
    }
    print(f"us per call, min of {options.repeat} x {options.number:,} calls, 10 float64 values:")
    for text, call in calls.items():
        try:
            print(f"  {text:28s} {per_call_us(call, options.number, options.repeat):6.3f}")
        except TypeError as error:  # a build without out=
            print(f"  {text:28s} n/a ({error})")


if __name__ == "__main__":
    main()
