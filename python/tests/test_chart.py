"""Charts: the price panel with its overlays, one panel per oscillator, the
file written; the same from the command line."""

import os
import subprocess
import sys

import matplotlib
import numpy as np

matplotlib.use("Agg")
import matplotlib.pyplot as pyplot  # noqa: E402
import pandas as pd  # noqa: E402
import pytest  # noqa: E402

import movlex  # noqa: E402
from conftest import REPOSITORY  # noqa: E402

SAMPLE = REPOSITORY / "data" / "sample.csv"
INDICATORS = ["bbands:period=20", "sar", "rsi", "macd:slow_ma_type=ema"]


def panels_expected(requests):
    names = [request.partition(":")[0] for request in requests]
    return 1 + sum("panel" in movlex.INDICATORS[name].placements for name in names)


@pytest.fixture(scope="module")
def prices():
    frame = pd.read_csv(SAMPLE, parse_dates=["date"], index_col="date")
    return frame


@pytest.mark.parametrize("suffix, magic", [(".png", b"\x89PNG"), (".svg", b"<?xml")])
def test_a_chart_has_a_panel_per_oscillator_and_is_written(tmp_path, prices, suffix, magic):
    path = tmp_path / f"chart{suffix}"
    figure = movlex.plot(prices, INDICATORS, last=200, path=path, title="sample")
    try:
        assert len(figure.axes) == panels_expected(INDICATORS)
        price_axes = figure.axes[0]
        assert price_axes.xaxis.get_major_formatter().__class__.__name__.endswith("DateFormatter")
        overlays = [name for name in ("bbands", "sar") if movlex.INDICATORS[name].placement == "overlay"]
        labels = [line.get_label() for line in price_axes.get_lines()]
        for name in overlays:
            assert any(label.startswith(name) for label in labels)
    finally:
        pyplot.close(figure)
    assert path.read_bytes().startswith(magic)


def test_patterns_are_markers_on_the_candles_and_a_direction_has_a_panel(prices):
    # SuperTrend's line goes over the prices, its direction (+-1) in a panel
    # of its own, so the price panel keeps the scale of the prices; fired
    # patterns are markers on the price panel.
    figure = movlex.plot(prices, ["supertrend", "candle_engulfing", "candle_hikkake"], last=300)
    try:
        assert len(figure.axes) == 2
        price_axes, direction_axes = figure.axes
        shown = prices.iloc[-300:]
        low, high = price_axes.get_ylim()
        assert low > shown["low"].min() - 0.2 * (shown["high"].max() - shown["low"].min())
        assert [line.get_label() for line in direction_axes.get_lines()][0].endswith("direction")
        engulfing = movlex.candle_engulfing(shown)
        markers = sum(len(collection.get_offsets()) for collection in price_axes.collections
                      if collection.get_gid() == "candle_engulfing")
        assert engulfing.dtype == "int32" and markers == np.count_nonzero(engulfing.to_numpy()[-300:]) > 0
    finally:
        pyplot.close(figure)


def test_closes_alone_draw_a_line(prices):
    figure = movlex.plot(prices["close"], ["sma:period=10", "rsi"])
    try:
        assert len(figure.axes) == panels_expected(["sma", "rsi"])
        assert "close" in [line.get_label() for line in figure.axes[0].get_lines()]
    finally:
        pyplot.close(figure)


@pytest.mark.parametrize("requests, words", [
    (["nonsense"], "no indicator .nonsense."),
    (["sma:span=3"], "span=3"),
    (["sma:period=x"], "not a number"),
    (["sma:period=1"], "period=1"),
])
def test_bad_chart_requests(prices, requests, words):
    with pytest.raises(ValueError, match=words):
        movlex.plot(prices, requests)


def run_cli(*arguments):
    environment = dict(os.environ, PYTHONPATH=os.pathsep.join(sys.path))
    return subprocess.run([sys.executable, "-m", "movlex", *arguments], capture_output=True, text=True,
                          env=environment, timeout=120)


def test_the_command_line_draws_from_a_csv(tmp_path):
    path = tmp_path / "chart.svg"
    done = run_cli("chart", str(SAMPLE), "-i", "bbands", "-i", "rsi", "--last", "100", "-o", str(path))
    assert done.returncode == 0, done.stderr
    assert path.read_bytes().startswith(b"<?xml")
    failed = run_cli("chart", str(SAMPLE), "-i", "rsi:period=1", "-o", str(tmp_path / "bad.png"))
    assert failed.returncode == 1 and "period=1" in failed.stderr
    assert not (tmp_path / "bad.png").exists()
