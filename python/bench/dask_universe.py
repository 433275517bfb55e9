"""movlex.dask on a generated universe: SYNTHETIC daily bars of many symbols
written as many CSV files (whole symbols per file), read back, computed with
a handful of indicators and written out, once in this process alone (Dask's
synchronous scheduler) and once on a distributed.LocalCluster of worker
processes. Prints bars per second of each, read + compute + write.

    PYTHONPATH=build/python /usr/bin/python3 python/bench/dask_universe.py
    ... --symbols 400 --bars 2500 --workers 2 --directory /tmp/universe
"""

import argparse
import pathlib
import shutil
import tempfile
import time

import numpy as np
import pandas as pd

import dask
import dask.dataframe as dd
import distributed

import movlex
import movlex.dask

INDICATORS = [("rsi", {"period": 14}), ("bbands", {"period": 20}), ("adx", {"period": 14}),
              ("macd", {}), ("atr", {"period": 14}), ("obv", {})]


def write_universe(directory, symbols, bars, per_file):
    rng = np.random.default_rng(2024)
    dates = pd.bdate_range("2012-01-02", periods=bars)
    for first in range(0, symbols, per_file):
        frames = []
        for s in range(first, min(first + per_file, symbols)):
            close = np.round(50 * np.exp(np.cumsum(rng.normal(0, 0.015, bars))), 2)
            open_ = np.round(close * np.exp(rng.normal(0, 0.004, bars)), 2)
            spread = rng.uniform(0, 0.01, bars)
            frames.append(pd.DataFrame({
                "date": dates, "symbol": f"SYM{s:05d}", "open": open_,
                "high": np.round(np.maximum(open_, close) * (1 + spread), 2),
                "low": np.round(np.minimum(open_, close) * (1 - spread), 2), "close": close,
                "volume": rng.integers(10_000, 1_000_000, bars)}))
        pd.concat(frames).to_csv(directory / f"bars-{first // per_file:04d}.csv", index=False)


def run(source, target, scheduler):
    """Reads every file, computes and writes the result; seconds taken."""
    shutil.rmtree(target, ignore_errors=True)
    start = time.perf_counter()
    ddf = dd.read_csv(str(source / "*.csv"), blocksize=None, parse_dates=["date"])
    result = movlex.dask.compute(ddf, INDICATORS, by="symbol", order="date", partitioned=True)
    with dask.config.set(scheduler=scheduler):
        result.to_csv(str(target / "part-*.csv"), index=False)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--symbols", type=int, default=2000)
    parser.add_argument("--bars", type=int, default=2500)
    parser.add_argument("--symbols-per-file", type=int, default=50)
    parser.add_argument("--workers", type=int, default=2)
    parser.add_argument("--directory", type=pathlib.Path, help="where the files go (default: a temporary directory)")
    arguments = parser.parse_args()

    directory = arguments.directory or pathlib.Path(tempfile.mkdtemp(prefix="movlex-universe-"))
    source = directory / "bars"
    source.mkdir(parents=True, exist_ok=True)
    rows = arguments.symbols * arguments.bars
    print(f"universe: {arguments.symbols} symbols x {arguments.bars} bars = {rows:,} rows in {source}")
    started = time.perf_counter()
    write_universe(source, arguments.symbols, arguments.bars, arguments.symbols_per_file)
    print(f"  written in {time.perf_counter() - started:.1f} s")
    print(f"indicators: {', '.join(name for name, _ in INDICATORS)}")

    alone = run(source, directory / "result-one-process", "synchronous")
    print(f"one process:            {alone:7.1f} s  {rows / alone:12,.0f} bars/s")
    with distributed.LocalCluster(n_workers=arguments.workers, processes=True, threads_per_worker=1,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        client.run(lambda: None)  # the workers are up before the clock starts
        spread = run(source, directory / "result", client)
    print(f"LocalCluster, {arguments.workers} workers: {spread:7.1f} s  {rows / spread:12,.0f} bars/s"
          f"  ({alone / spread:.2f}x one process)")
    if arguments.directory is None:
        shutil.rmtree(directory)
    else:
        print(f"result: {directory / 'result'}")


if __name__ == "__main__":
    main()
