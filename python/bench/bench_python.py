"""Benchmarks of the Python package, reported as figures of one run:

1. call overhead: one call on a 10-element input, in microseconds;
2. a 2-D call over SERIES x BARS (default 1,000 x 10,000): ns per value on
   one thread, against the C entries' own ns per value (each row through the
   shared library with ctypes, the ctypes cost of a call measured on an empty
   call and taken off), and the speed-up of 2 threads over 1;
3. the GIL: two Python threads each making a 2-D call, against the same two
   calls one after the other.

The series are the closes of the price-like walk of every benchmark
(price_walk.py, the walk of bench/price_walk.hpp), one seed per row.

    PYTHONPATH=build/python /usr/bin/python3 python/bench/bench_python.py [--library build/libmovlex-ta-dll.so]
"""

import argparse
import ctypes
import pathlib
import threading
import time
import timeit

import numpy as np

import movlex
from price_walk import price_walk

REPOSITORY = pathlib.Path(__file__).resolve().parents[2]


def best(function, repeat):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return min(times)


def call_overhead():
    x = np.random.default_rng(1).random(10) + 10
    high, low = x + 1, x - 1
    calls = {
        "sma(x, period=5)": lambda: movlex.sma(x, period=5),
        "sma(x, 5)": lambda: movlex.sma(x, 5),
        "rsi(x, period=5)": lambda: movlex.rsi(x, period=5),
        "macd(x, 3, 'ema', 5)": lambda: movlex.macd(x, 3, "ema", 5),
        "stoch(high, low, x)": lambda: movlex.stoch(high, low, x),
    }
    print("call overhead on 10 elements (best of 5 runs of 100,000 calls):")
    for text, call in calls.items():
        seconds = min(timeit.repeat(call, number=100_000, repeat=5)) / 100_000
        print(f"  movlex.{text:24s} {seconds * 1e6:6.2f} us")


class CEntries:
    def __init__(self, path):
        self.dll = ctypes.CDLL(str(path))
        self.dll.MOVLEX_INIT()

    def per_value_ns(self, indicator, rows, params, repeat, fresh_outputs):
        """ns per value of the entry over every row, less the ctypes cost of a
        call; into output arrays allocated for each run (as the Python call
        does), or into the same ones every time (touched before)."""
        entry = getattr(self.dll, indicator.entry)
        series, bars = rows.shape
        out = [np.empty((series, bars)) for _ in indicator.outputs]
        begin, count = ctypes.c_int32(), ctypes.c_int32()
        pointer = ctypes.POINTER(ctypes.c_double)
        c_params = [ctypes.c_double(v) if p.kind == "real" else ctypes.c_int32(int(v))
                    for p, v in zip(indicator.params, params)]
        row_arguments = [
            [ctypes.c_int32(0), ctypes.c_int32(bars - 1), rows[r].ctypes.data_as(pointer), *c_params,
             ctypes.byref(begin), ctypes.byref(count), *[o[r].ctypes.data_as(pointer) for o in out]]
            for r in range(series)]
        empty = [ctypes.c_int32(0), ctypes.c_int32(0)] + row_arguments[0][2:]

        def all_rows():
            if fresh_outputs:
                fresh = [np.empty((series, bars)) for _ in indicator.outputs]
                for r, arguments in enumerate(row_arguments):
                    arguments[-len(fresh):] = [o[r].ctypes.data_as(pointer) for o in fresh]
                    entry(*arguments)
            else:
                for arguments in row_arguments:
                    entry(*arguments)

        def empty_calls():
            for _ in range(series):
                entry(*empty)

        all_rows()  # the outputs are touched once, as a program reusing its buffers has them
        seconds = best(all_rows, repeat) - best(empty_calls, repeat)
        return seconds / (series * bars) * 1e9


def two_dimensional(c_entries, series, bars, names, repeat):
    rows = price_walk(range(1, series + 1), bars)["close"]
    print(f"\n2-D call over {series:,} x {bars:,} (best of {repeat}), ns per value:")
    print("  C: the entries through ctypes into reused (warm) or newly allocated (fresh) outputs; "
          "ratio: 1 thread / C fresh")
    print(f"  {'indicator':10s} {'C warm':>7s} {'C fresh':>8s} {'1 thread':>9s} {'ratio':>6s} {'2 threads':>10s} "
          f"{'speed-up':>9s}")
    for name in names:
        indicator = movlex.INDICATORS[name]
        function = getattr(movlex, name)
        params = [p.default for p in indicator.params]
        one = best(lambda: function(rows, threads=1), repeat) / rows.size * 1e9
        two = best(lambda: function(rows, threads=2), repeat) / rows.size * 1e9
        warm = c_entries.per_value_ns(indicator, rows, params, repeat, False) if c_entries else float("nan")
        fresh = c_entries.per_value_ns(indicator, rows, params, repeat, True) if c_entries else float("nan")
        print(f"  {name:10s} {warm:7.2f} {fresh:8.2f} {one:9.2f} {one / fresh:6.2f} {two:10.2f} {one / two:8.2f}x")


def gil(series, bars, repeat):
    rows = price_walk(range(1, series + 1), bars)["close"]

    def call():
        movlex.ema(rows, period=20, threads=1)

    def in_two_threads():
        workers = [threading.Thread(target=call) for _ in range(2)]
        for worker in workers:
            worker.start()
        for worker in workers:
            worker.join()

    sequential = best(lambda: (call(), call()), repeat)
    parallel = best(in_two_threads, repeat)
    print(f"\nGIL: two Python threads, each ema over {series:,} x {bars:,} with threads=1: "
          f"{sequential / parallel:.2f}x the speed of the same two calls in turn")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--library", default=None, help="libmovlex-ta-dll.so (default: the first build*/ having one)")
    parser.add_argument("--series", type=int, default=1000)
    parser.add_argument("--bars", type=int, default=10000)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--indicators", default="sma,ema,rsi,bbands,kama")
    options = parser.parse_args()
    library = options.library or next(iter(sorted(REPOSITORY.glob("build*/libmovlex-ta-dll.so"))), None)
    print(f"movlex {movlex.__version__} from {pathlib.Path(movlex.__file__).parent}, "
          f"{movlex.hardware_threads()} hardware threads\n")
    call_overhead()
    two_dimensional(CEntries(library) if library else None, options.series, options.bars,
                    options.indicators.split(","), options.repeat)
    gil(options.series // 2, options.bars, options.repeat)


if __name__ == "__main__":
    main()
