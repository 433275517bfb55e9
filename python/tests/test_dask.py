"""movlex.dask: every symbol of a long-form universe, computed on any Dask
scheduler and however partitioned, gives bit for bit what the movlex
function gives on that symbol's rows alone; a worker lost in the middle
changes nothing."""

import logging
import os
import signal
import time

import numpy as np
import pandas as pd
import pytest

dd = pytest.importorskip("dask.dataframe")
da = pytest.importorskip("dask.array")
distributed = pytest.importorskip("distributed")

import movlex  # noqa: E402
import movlex.dask  # noqa: E402
from conftest import market, same_bits  # noqa: E402

# Single and several outputs, a moving-average type, every kind of input.
INDICATORS = [("rsi", {"period": 14}), ("bbands", {"period": 20, "ma_type": "ema"}), ("adx", {}),
              ("macd", {"fast_period": 5}), ("obv", {}), ("stoch", {})]
SHORT = "SHORT"  # fewer bars than any lookback above


def universe(symbols, bars, seed=0):
    """Long-form bars of `symbols` symbols of a few different lengths (so that
    both equal-length blocks and lone symbols occur), plus SHORT with 3 bars;
    rows ordered by date then symbol, so every symbol spans every partition."""
    rng = np.random.default_rng(seed)
    frames = []
    for s in range(symbols):
        length = bars - (s % 3) * 7
        data = market(rng, length)
        data["date"] = pd.date_range("2010-01-04", periods=length, freq="B")
        frames.append(pd.DataFrame(data).assign(symbol=f"S{s:03d}"))
    data = market(rng, 3)
    data["date"] = pd.date_range("2010-01-04", periods=3, freq="B")
    frames.append(pd.DataFrame(data).assign(symbol=SHORT))
    frame = pd.concat(frames).sort_values(["date", "symbol"], kind="mergesort").reset_index(drop=True)
    return frame[["date", "symbol", "open", "high", "low", "close", "volume"]]


def expected_columns(frame):
    """The indicator columns of every row, each symbol computed alone with
    the movlex functions in date order."""
    columns = {}
    for symbol, rows in frame.groupby("symbol"):
        rows = rows.sort_values("date")
        for name, params in INDICATORS:
            result = getattr(movlex, name)(rows, **params)
            label = movlex._indicators.label(movlex.INDICATORS[name],
                                             [params.get(p.name) for p in movlex.INDICATORS[name].params])
            parts = {label: result} if isinstance(result, pd.Series) else {
                f"{label}_{output}": result[output] for output in result.columns}
            for column, values in parts.items():
                columns.setdefault(column, []).append(values)
    return {column: pd.concat(parts) for column, parts in columns.items()}


def assert_exact(result, frame):
    """`result` holds every row of `frame` once, its index and inputs kept,
    with the expected indicator columns bit for bit."""
    assert len(result) == len(frame) and result.index.is_unique
    result = result.loc[frame.index]
    assert result["symbol"].equals(frame["symbol"]) and result["close"].equals(frame["close"])
    for column, values in expected_columns(frame).items():
        assert same_bits(result[column].to_numpy(), values.loc[frame.index].to_numpy()), column
    assert result.loc[result["symbol"] == SHORT].filter(regex="_").isna().all().all()


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, processes=True, threads_per_worker=1, dashboard_address=None,
                                  silence_logs=logging.ERROR) as cluster, distributed.Client(cluster) as client:
        yield client


@pytest.fixture(scope="module")
def frame():
    return universe(40, 300)


def test_columns_named_by_label_in_the_meta(frame):
    result = movlex.dask.compute(dd.from_pandas(frame, npartitions=3), INDICATORS, by="symbol", order="date")
    added = list(result.columns[len(frame.columns):])
    assert added == ["rsi_14", "bbands_20_2_2_ema_upper", "bbands_20_2_2_ema_middle", "bbands_20_2_2_ema_lower",
                     "adx_14", "macd_5_26_9_macd", "macd_5_26_9_signal", "macd_5_26_9_hist", "obv",
                     "stoch_5_3_3_k", "stoch_5_3_3_d"]
    assert (result.dtypes[added] == np.float64).all()


@pytest.mark.parametrize("scheduler", ["threads", "processes", "distributed"])
def test_interleaved_symbols_are_shuffled_and_exact_on_every_scheduler(scheduler, frame, request):
    ddf = dd.from_pandas(frame, npartitions=6)
    result = movlex.dask.compute(ddf, INDICATORS, by="symbol", order="date")
    if scheduler == "distributed":
        assert_exact(request.getfixturevalue("client").compute(result).result(), frame)
    else:
        assert_exact(result.compute(scheduler=scheduler), frame)


def test_partitioned_by_symbol_is_detected_from_the_index_and_not_shuffled(frame, client):
    ddf = dd.from_pandas(frame.set_index("symbol").sort_index(), npartitions=5)
    assert ddf.known_divisions
    result = movlex.dask.compute(ddf, INDICATORS, by="symbol", order="date")
    assert result.npartitions == ddf.npartitions
    assert not any("shuffle" in name for name in result.dask.layers)
    computed = client.compute(result).result()
    # The index stays the symbol; give each row its place in `frame` back.
    computed = computed.reset_index().set_index(computed.reset_index()[["symbol", "date"]].apply(tuple, axis=1))
    positions = frame.set_index(frame[["symbol", "date"]].apply(tuple, axis=1)).index
    assert_exact(computed.loc[positions].set_index(frame.index), frame)


def test_csv_files_of_whole_symbols_told_partitioned(frame, client, tmp_path):
    symbols = sorted(frame["symbol"].unique())
    for part in range(4):
        chosen = frame[frame["symbol"].isin(symbols[part::4])]
        chosen.to_csv(tmp_path / f"part{part}.csv")  # the index kept as the first column
    ddf = dd.read_csv(str(tmp_path / "part*.csv"), blocksize=None, parse_dates=["date"], float_precision="round_trip")
    result = movlex.dask.compute(ddf, INDICATORS, by="symbol", order="date", partitioned=True)
    assert result.npartitions == 4 and not any("shuffle" in name for name in result.dask.layers)
    computed = client.compute(result).result().set_index("Unnamed: 0")
    computed.index.name = None
    assert_exact(computed, frame)
    assert movlex.dask.compute(ddf, ["rsi"], partitioned=False).npartitions == 4  # shuffled: same count


@pytest.mark.parametrize("indicators, build_error", [
    ([("rsi", {"period": 1})], lambda close: movlex.rsi(close, period=1)),
    ([("bbands", {"ma_type": "median"})], lambda close: movlex.bbands(close, ma_type="median")),
    ([("sma", {"period": 2.5})], lambda close: movlex.sma(close, period=2.5)),
])
def test_a_bad_parameter_fails_before_any_task_with_the_function_error(indicators, build_error, frame, client):
    with pytest.raises(ValueError) as plain:
        build_error(frame["close"].to_numpy())
    before = client.run_on_scheduler(lambda dask_scheduler: len(dask_scheduler.task_groups))
    with pytest.raises(ValueError) as from_dask:
        movlex.dask.compute(dd.from_pandas(frame, npartitions=2), indicators)
    assert str(from_dask.value) == str(plain.value)
    with pytest.raises(ValueError) as from_array:
        movlex.dask.apply(indicators[0][0], da.ones((4, 50), chunks=(2, 50)), **indicators[0][1])
    assert str(from_array.value) == str(plain.value)
    assert client.run_on_scheduler(lambda dask_scheduler: len(dask_scheduler.task_groups)) == before
    with pytest.raises(TypeError):
        movlex.dask.compute(dd.from_pandas(frame, npartitions=2), [("rsi", {"length": 14})])


def test_missing_and_clashing_columns_are_refused(frame):
    ddf = dd.from_pandas(frame, npartitions=2)
    with pytest.raises(ValueError, match="no 'volume' column"):
        movlex.dask.compute(ddf.drop(columns="volume"), ["obv"])
    with pytest.raises(ValueError, match="'rsi_14' would appear twice"):
        movlex.dask.compute(ddf, ["rsi", ("rsi", {"period": 14})])
    with pytest.raises(ValueError, match="no 'ticker' column"):
        movlex.dask.compute(ddf, ["rsi"], by="ticker")


def test_the_library_state_of_the_caller_holds_in_the_workers(frame, client):
    ddf = dd.from_pandas(frame, npartitions=4)
    movlex.shutdown()
    try:
        result = movlex.dask.compute(ddf, INDICATORS, by="symbol", order="date")
        computed = client.compute(result).result()
        assert_exact(computed, frame)  # the expected columns computed shut down too
    finally:
        movlex.initialize()
    assert_exact(client.compute(movlex.dask.compute(ddf, INDICATORS)).result(), frame)


def test_a_worker_killed_midway_loses_and_repeats_no_row(client):
    frame = universe(300, 400, seed=5)
    result = movlex.dask.compute(dd.from_pandas(frame, npartitions=40), INDICATORS, by="symbol", order="date")
    pids = client.run(os.getpid)
    future = client.compute(result)
    deadline = time.monotonic() + 60
    while not any(client.processing().values()) and time.monotonic() < deadline:
        time.sleep(0.01)
    assert not future.done(), "the computation ended before a worker could be killed"
    os.kill(next(iter(pids.values())), signal.SIGKILL)
    assert_exact(future.result(timeout=240), frame)
    assert set(client.run(os.getpid).values()) != set(pids.values())  # the worker was replaced


@pytest.mark.parametrize("name, params", [("rsi", {"period": 9}), ("bbands", {"period": 10}),
                                          ("adx", {"period": 7}), ("sma", {})])
def test_arrays_chunked_by_rows_go_through_the_2d_path(name, params, client):
    indicator = movlex.INDICATORS[name]
    bars = market(np.random.default_rng(3), 500, series=11)
    inputs = [bars[input_name] for input_name in indicator.inputs]
    def outputs(result):
        return [result] if indicator.result_type is None else list(result)

    expected = outputs(getattr(movlex, name)(*inputs, **params))
    row_alone = outputs(getattr(movlex, name)(*[x[5] for x in inputs], **params))
    for chunks in [(3, 500), (11, 500), (4, 120)]:  # the last splits the bars
        arrays = [da.from_array(x, chunks=chunks) for x in inputs]
        got = outputs(movlex.dask.apply(name, *arrays, **params))
        assert got[0].chunks[0] == arrays[0].chunks[0]
        for want, alone, have in zip(expected, row_alone, client.gather(client.compute(got))):
            assert same_bits(have, want), f"{name} {chunks}"
            assert same_bits(have[5], alone), f"{name} {chunks}"


def with_row_changed(frame, row, column, value):
    changed = frame.copy()
    changed.loc[row, column] = value
    return changed


@pytest.mark.parametrize("change, words", [
    (lambda f: with_row_changed(f, f.index[f["symbol"] == "S001"][5], "date", f["date"].iloc[0]),
     ["'date' has the value", "twice", "'S001'"]),
    (lambda f: with_row_changed(f.assign(date=f["date"].astype("int64") / 1e9), 7, "date", np.nan),
     ["'date' has a missing value (NaN)", "symbol 'S007'"]),
])
def test_order_values_missing_or_repeated_within_a_symbol_are_refused(change, words, frame, client):
    ddf = dd.from_pandas(change(frame), npartitions=3)
    with pytest.raises(ValueError) as raised:
        client.compute(movlex.dask.compute(ddf, ["rsi"])).result()
    for word in words:
        assert word in str(raised.value)


def test_partitioned_told_wrongly_is_refused(frame, client):
    # (Told rightly, the check passes: test_csv_files_of_whole_symbols_told_partitioned.)
    ddf = dd.from_pandas(frame, npartitions=3)  # every symbol spans every partition
    with pytest.raises(ValueError, match="partitioned=True, but symbol 'S0.*' has rows in partitions 0 and 1"):
        client.compute(movlex.dask.compute(ddf, ["rsi"], partitioned=True)).result()


def test_a_bare_name_is_not_a_list_of_indicators(frame):
    with pytest.raises(TypeError, match=r"write \['rsi'\]"):
        movlex.dask.compute(dd.from_pandas(frame, npartitions=2), "rsi")
    with pytest.raises(ValueError, match="no indicator 'rsx'; did you mean rsi"):
        movlex.dask.compute(dd.from_pandas(frame, npartitions=2), ["rsx"])
