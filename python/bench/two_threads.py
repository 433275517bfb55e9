"""Two threads against one on a 2-D call: SERIES x BARS closes (default 512 x
10,000, the price-like walk of every benchmark), each indicator computed with
threads=1 and threads=2 in alternation, REPEAT times each; reports the median
ms of each and the ratio of the medians (the speed-up of the second thread).
Every call allocates its outputs, as a Python program's calls do.

    PYTHONPATH=build/python /usr/bin/python3 python/bench/two_threads.py [--series 512] [--bars 10000]
"""

import argparse
import os
import statistics
import time

import numpy as np

import movlex
from price_walk import price_walk

NAMES = ["ema", "dema", "plus_dm", "minus_dm", "rsi", "plus_di", "dx", "adx"]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--series", type=int, default=512)
    parser.add_argument("--bars", type=int, default=10_000)
    parser.add_argument("--repeat", type=int, default=9)
    parser.add_argument("names", nargs="*", default=NAMES)
    options = parser.parse_args()

    walk = price_walk(range(1, options.series + 1), options.bars)
    columns = {name: np.ascontiguousarray(walk[name]) for name in ("open", "high", "low", "close", "volume")}
    print(f"{options.series} x {options.bars:,}, median of {options.repeat} alternating calls, "
          f"load average {os.getloadavg()[0]:.1f}")
    print(f"  {'indicator':10s} {'1 thread':>9s} {'2 threads':>10s} {'ratio':>6s}")
    for name in options.names:
        indicator = movlex.INDICATORS[name]
        function = getattr(movlex, name)
        inputs = [columns.get(column, columns["close"]) for column in indicator.inputs]
        times = {1: [], 2: []}
        for _ in range(options.repeat):
            for threads in (1, 2):
                start = time.perf_counter()
                function(*inputs, threads=threads)
                times[threads].append(time.perf_counter() - start)
        one, two = (statistics.median(times[t]) * 1e3 for t in (1, 2))
        print(f"  {name:10s} {one:9.2f} {two:10.2f} {one / two:6.2f}")


if __name__ == "__main__":
    main()
