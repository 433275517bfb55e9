"""movlex over Dask: many symbols in long form, or many series in a 2-D array.

    import movlex.dask
    out = movlex.dask.compute(ddf, [("rsi", {"period": 14}), ("bbands", {"period": 20})],
                              by="symbol", order="date")
    rsi = movlex.dask.apply("rsi", close, period=14)    # close: a dask array (series, bars)

compute() takes a Dask DataFrame in long form (one row per symbol and bar)
and returns a Dask DataFrame with one float64 column per indicator output
added. Each symbol is computed over its whole history in `order`, exactly as
the movlex function computes that symbol's rows alone: when a symbol's rows
may lie in several partitions they are first brought together by a shuffle
on `by`; when every symbol already lies in one partition no shuffle is done.
That is known when `by` is the index and its divisions are known, or when
told with partitioned=True (one CSV file per group of symbols read with
blocksize=None, for example). Within each partition the rows keep their
order and index; after a shuffle the partitions are the shuffle's.

The columns added are named by movlex's labels: the indicator's name and its
numeric parameter values (rsi_14, sma_20), followed by the moving-average
types other than sma (apo_12_26_ema); an indicator with several outputs adds
one column per output, the label followed by the output's name
(bbands_20_2_2_upper, bbands_20_2_2_middle, bbands_20_2_2_lower).

apply() computes one indicator over dask arrays of shape (series, bars)
chunked by rows: each chunk goes through the 2-D path, every row alone. A
chunking that splits the bars is merged first, as an indicator needs whole
rows.

Both check the indicators and their parameters when called, before any task
runs, and raise what the movlex function raises (ValueError for a value out
of range, TypeError for an unknown parameter). Tasks are plain functions of
this module: they run on any scheduler, threads, processes or a distributed
cluster, whose workers import movlex. Each task computes in the library
state (movlex.initialize / movlex.shutdown) that was in force when compute()
or apply() was called. threads= is the number of threads each task uses for
a 2-D computation; the default 1 leaves the parallelism to Dask.
"""

import numpy as np

from . import _indicators
from ._indicators import columns_by_name, indicator_named, label, missing_column, request_items


class _Request:
    """An indicator with its parameters, checked, and its output columns."""

    def __init__(self, name, params):
        self.indicator = indicator_named(name)
        self.params = dict(params or {})
        function = getattr(_movlex_package(), name)
        empty = [np.empty(0)] * len(self.indicator.inputs)
        function(*empty, **self.params)  # raises as the function does for a bad parameter
        text = label(self.indicator, [self.params.get(p.name) for p in self.indicator.params])
        if self.indicator.result_type is None:
            self.columns = [text]
        else:
            self.columns = [f"{text}_{output}" for output in self.indicator.outputs]

    def compute(self, inputs, threads):
        result = getattr(_movlex_package(), self.indicator.name)(*inputs, **self.params, threads=threads)
        return [result] if self.indicator.result_type is None else list(result)


def _movlex_package():
    import movlex

    return movlex


def _requests(indicators):
    requests = []
    for item in request_items(indicators):
        if isinstance(item, str):
            name, params = item, {}
        else:
            name, params = item
        requests.append(_Request(name, params))
    return requests


# ---- The library state a computation runs in ---------------------------------------

def _library_initialised():
    # The recursive indicators have an unstable period only when initialised.
    return _indicators.lookback("ema", period=2) > 1


def _enter_state(initialised):
    if _library_initialised() != initialised:
        movlex = _movlex_package()
        movlex.initialize() if initialised else movlex.shutdown()


# ---- DataFrames --------------------------------------------------------------------

def _input_names(requests):
    return {name for request in requests for name in request.indicator.inputs}


def _input_column(frame, name, by_name):
    if name not in by_name:
        raise missing_column(frame, name)
    return by_name[name]


def _runs(keys):
    """(start, stop) of each run of equal consecutive keys (codes)."""
    if len(keys) == 0:
        return []
    starts = np.flatnonzero(np.diff(keys)) + 1
    bounds = np.concatenate(([0], starts, [len(keys)]))
    return list(zip(bounds[:-1], bounds[1:]))


def _by_length(runs):
    """Consecutive runs of one length, gathered: (start, count, length), so
    that a block of equal symbols computes as one 2-D array."""
    blocks = []
    for start, stop in runs:
        length = stop - start
        if blocks and blocks[-1][2] == length and blocks[-1][0] + blocks[-1][1] * length == start:
            blocks[-1][1] += 1
        else:
            blocks.append([start, 1, length])
    return blocks


def _compute_partition(frame, requests, by, order, initialised, threads, checked):
    """The indicator columns of one partition, in which every symbol is whole
    (checked: the result of the check that it is, when it was made)."""
    _enter_state(initialised)
    import pandas

    keys = frame[by] if by in frame.columns else frame.index.get_level_values(by)
    codes = pandas.factorize(keys, use_na_sentinel=False)[0]
    ordering = pandas.DataFrame({"symbol": codes, "order": frame[order].to_numpy()})
    _check_order(ordering, np.asarray(keys), by, order)
    positions = ordering.sort_values(["symbol", "order"], kind="mergesort").index.to_numpy()
    blocks = _by_length(_runs(codes[positions]))
    by_name = columns_by_name(frame.columns, _input_names(requests))

    out = frame.copy()
    for request in requests:
        # Converted by the compute call, which refuses values that are not numbers.
        sorted_inputs = [frame[_input_column(frame, name, by_name)].to_numpy()[positions]
                         for name in request.indicator.inputs]
        results = [np.empty(len(frame)) for _ in request.columns]
        for start, count, length in blocks:
            stop = start + count * length
            shaped = [values[start:stop].reshape(count, length) for values in sorted_inputs]
            for result, part in zip(results, request.compute(shaped, threads)):
                result[positions[start:stop]] = part.reshape(-1)
        for column, result in zip(request.columns, results):
            out[column] = result
    return out


def _check_order(ordering, keys, by, order):
    """Each symbol's bars must have distinct, present `order` values: a
    missing one has no place, and equal ones no order between them (their
    order would follow the partitioning)."""
    missing = ordering["order"].isna().to_numpy()
    if missing.any():
        raise ValueError(f"'{order}' has a missing value (NaN) for {by} {keys[np.flatnonzero(missing)[0]]!r}")
    repeated = ordering.duplicated().to_numpy()
    if repeated.any():
        row = np.flatnonzero(repeated)[0]
        raise ValueError(f"'{order}' has the value {ordering['order'].iloc[row]!r} twice for {by} {keys[row]!r}")


def _partition_symbols(keys):
    import pandas

    return pandas.unique(np.asarray(keys))


def _check_disjoint(symbols, by):
    """Raises unless each symbol lies in one partition (symbols: the symbols
    of each partition)."""
    seen = {}
    for partition, values in enumerate(symbols):
        for symbol in values:
            if symbol in seen:
                raise ValueError(f"partitioned=True, but {by} {symbol!r} has rows in partitions {seen[symbol]} and "
                                 f"{partition}; leave partitioned=None to shuffle")
            seen[symbol] = partition
    return True


def _disjoint_check(ddf, by):
    """A task that checks that every symbol lies in one partition, which
    each partition's computation waits for."""
    import dask

    keys = ddf[by] if by in ddf._meta.columns else ddf.index
    symbols = [dask.delayed(_partition_symbols)(part) for part in keys.to_delayed()]
    return dask.delayed(_check_disjoint)(symbols, by)


def _one_partition_per_symbol(ddf, by):
    """Whether every value of `by` lies in one partition, as the metadata shows."""
    if ddf.npartitions == 1:
        return True
    if ddf.index.name != by or not ddf.known_divisions:
        return False
    divisions = list(ddf.divisions)
    return all(a < b for a, b in zip(divisions[:-2], divisions[1:-1]))


def compute(ddf, indicators, by="symbol", order="date", *, partitioned=None, threads=1):
    """The Dask DataFrame `ddf` with the indicator columns added.

    indicators: a list of (name, {parameter: value}) pairs or bare names
        (default parameters), e.g. [("rsi", {"period": 14}), "obv"].
    by: the column (or index) naming the symbol; order: the column giving
        each symbol's bar order (values present and unique within a symbol:
        a NaN or a repeated value raises ValueError when the partition
        holding it is computed).
    partitioned: True when every symbol lies in one partition already (no
        shuffle), False to shuffle anyway, None to decide from the metadata
        (no shuffle when `by` is the index with known divisions, or when
        there is one partition). True is checked: a task reads `by` from
        every partition first, and a symbol found in two partitions raises
        ValueError before any partition is computed.
    threads: threads per task for the rows of a 2-D computation.

    The inputs are read from the columns named like the function's inputs
    (close, high, low, open, volume, in any case). Raises what the movlex
    function raises for a bad parameter, and ValueError for a missing column
    or an output column already present, before any task runs."""
    import pandas

    requests = _requests(indicators)
    meta = ddf._meta
    by_name = columns_by_name(meta.columns, _input_names(requests))
    for request in requests:
        for name in request.indicator.inputs:
            _input_column(meta, name, by_name)
    if by not in meta.columns and by not in (meta.index.names or [meta.index.name]):
        raise ValueError(f"the DataFrame has no '{by}' column or index")
    if order not in meta.columns:
        raise ValueError(f"the DataFrame has no '{order}' column")
    added = [column for request in requests for column in request.columns]
    taken = {str(column).lower() for column in meta.columns}
    for column in added:
        if column.lower() in taken:
            raise ValueError(f"output column '{column}' would appear twice; the DataFrame has it or it is asked twice")
        taken.add(column.lower())

    checked = True
    if partitioned is None:
        partitioned = _one_partition_per_symbol(ddf, by)
    elif partitioned and ddf.npartitions > 1:
        checked = _disjoint_check(ddf, by)
    if not partitioned:
        ddf = ddf.shuffle(on=by if by in meta.columns else ddf.index, shuffle="tasks")
    result_meta = meta.copy()
    for column in added:
        result_meta[column] = pandas.Series(dtype=np.float64)
    return ddf.map_partitions(_compute_partition, requests, by, order, _library_initialised(), threads, checked,
                              meta=result_meta, align_dataframes=False, enforce_metadata=False,
                              transform_divisions=False)


# ---- Arrays ------------------------------------------------------------------------

def _compute_block(*blocks, request, initialised, threads):
    _enter_state(initialised)
    return np.stack(request.compute(blocks, threads))


def apply(name, *inputs, threads=1, **params):
    """Indicator `name` over dask arrays of shape (series, bars), chunked by
    rows: a dask array shaped like the inputs, or for several outputs the
    indicator's named tuple of them. The inputs are given in the order of
    the function's inputs (high, low, close for adx) and share one shape."""
    import dask.array as da

    request = _Request(name, params)
    count = len(request.indicator.inputs)
    if len(inputs) != count:
        raise TypeError(f"{name}() takes {count} input{'s' if count > 1 else ''} "
                        f"({', '.join(request.indicator.inputs)}), {len(inputs)} given")
    arrays = [da.asarray(x) for x in inputs]
    shape = arrays[0].shape
    if len(shape) != 2 or any(x.shape != shape for x in arrays):
        raise ValueError(f"{name}: the inputs must be 2-D (series, bars) and of one shape")
    arrays = [x.rechunk({1: -1}) for x in arrays]
    arrays = [arrays[0]] + [x.rechunk(arrays[0].chunks) for x in arrays[1:]]
    outputs = len(request.columns)
    stacked = da.map_blocks(_compute_block, *arrays, request=request, initialised=_library_initialised(),
                            threads=threads, new_axis=0, chunks=((outputs,),) + arrays[0].chunks, dtype=np.float64,
                            name=f"movlex-{name}")
    if request.indicator.result_type is None:
        return stacked[0]
    return request.indicator.result_type(*(stacked[i] for i in range(outputs)))
