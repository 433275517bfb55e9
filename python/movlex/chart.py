"""Charts of prices and indicators with matplotlib.

The price panel shows candlesticks (or a line when only closes are given)
with the outputs drawn on the price scale (averages, bands, SAR: the table's
"overlay" placement) and the candlestick patterns that fired, as markers with
a short label (below the candle for a bullish signal, above it for a bearish
one: the "markers" placement). Every indicator with other outputs (an
oscillator, a flag or state such as SuperTrend's direction) gets a panel of
its own below, holding those outputs. Placement belongs to each output. Dates
go on the shared x axis.
"""

import numpy as np

from ._indicators import MA_TYPES, columns_by_name, compute, indicator_named, label, request_items

_PRICE_COLUMNS = ("open", "high", "low", "close", "volume")
_DATE_COLUMNS = ("date", "time", "datetime", "timestamp")


def parse_request(text):
    """'bbands' or 'bbands:period=20,deviations_up=1.5' as (name, {param: value})."""
    name, _, arguments = text.partition(":")
    name = name.strip().lower()
    kinds = {p.name: p.kind for p in indicator_named(name).params}
    params = {}
    for argument in filter(None, arguments.split(",")):
        key, equals, value = argument.partition("=")
        key, value = key.strip(), value.strip()
        if not equals or key not in kinds:
            raise ValueError(f"{name}: '{argument}' is not PARAMETER=VALUE for one of {', '.join(kinds) or 'no parameters'}")
        if kinds[key] == "ma_type" and value.lower() in MA_TYPES:
            params[key] = value.lower()
        else:
            try:
                params[key] = int(value) if kinds[key] != "real" else float(value)
            except ValueError:
                raise ValueError(f"{name}: {key}={value!r} is not a number") from None
    return name, params


def _request(item):
    if isinstance(item, str):
        return parse_request(item)
    name, params = item
    return name, dict(params)


def _prices(data):
    """The price columns (lower-case names) of a DataFrame, a Series or an
    array of closes, and the x values (dates when there are any)."""
    import pandas

    if isinstance(data, pandas.DataFrame):
        by_name = columns_by_name(data.columns, _PRICE_COLUMNS + _DATE_COLUMNS)
        frame = pandas.DataFrame({name: data[by_name[name]].to_numpy(dtype=float)
                                  for name in _PRICE_COLUMNS if name in by_name})
        if "close" not in frame:
            raise ValueError("the prices have no close column")
        index = data.index
        for name in _DATE_COLUMNS:
            if name in by_name and not isinstance(index, pandas.DatetimeIndex):
                index = pandas.DatetimeIndex(pandas.to_datetime(data[by_name[name]]))
    else:
        index = data.index if isinstance(data, pandas.Series) else pandas.RangeIndex(len(data))
        frame = pandas.DataFrame({"close": np.asarray(data, dtype=float)})
    frame.index = index
    return frame


def _x_values(index):
    import matplotlib.dates as mdates
    import pandas

    if isinstance(index, pandas.DatetimeIndex):
        return mdates.date2num(index.to_pydatetime()), True
    return np.arange(len(index), dtype=float), False


def _candlesticks(axes, x, prices):
    width = 0.6 * (np.median(np.diff(x)) if len(x) > 1 else 1.0)
    rising = prices["close"].to_numpy() >= prices["open"].to_numpy()
    for mask, colour in ((rising, "#2e7d32"), (~rising, "#c62828")):
        open_, close = prices["open"].to_numpy()[mask], prices["close"].to_numpy()[mask]
        axes.vlines(x[mask], prices["low"].to_numpy()[mask], prices["high"].to_numpy()[mask], color=colour,
                    linewidth=0.7)
        axes.bar(x[mask], np.maximum(np.abs(close - open_), 1e-12), bottom=np.minimum(open_, close), width=width,
                 color=colour, edgecolor=colour, linewidth=0.5)


def _draw(axes, x, name, label, outputs, values):
    for output, series in zip(outputs, values):
        text = label if len(outputs) == 1 else f"{label} {output}"
        if name == "sar":
            axes.plot(x, series, linestyle="none", marker=".", markersize=2.5, label=text)
        elif output == "hist":
            axes.bar(x, np.nan_to_num(series), width=0.8 * (np.median(np.diff(x)) if len(x) > 1 else 1.0),
                     color="#9e9e9e", label=text)
        else:
            axes.plot(x, series, linewidth=1.0, label=text)


def _short_label(name):
    """A pattern's label on the chart: its name without the prefix, words
    shortened to their first four letters ("candle_three_white_soldiers":
    "thre whit sold")."""
    words = name.removeprefix("candle_").split("_")
    return " ".join(word[:4] for word in words)


def _markers(axes, x, prices, name, values):
    """A marker and a short label at every bar where the signal is not 0:
    below the low for a bullish signal, above the high for a bearish one; a
    confirmation (+-2) is filled, a signal (+-1) hollow."""
    low, high = prices["low"].to_numpy(), prices["high"].to_numpy()
    span = np.nanmax(high) - np.nanmin(low) if len(high) else 1.0
    offset = 0.03 * (span if span > 0 else 1.0)
    text = _short_label(name)
    for sign, marker, colour, level, align in ((1, "^", "#2e7d32", low - offset, "top"),
                                                (-1, "v", "#c62828", high + offset, "bottom")):
        fired = np.sign(values) == sign
        if not fired.any():
            continue
        confirmed = fired & (np.abs(values) == 2)
        signals = axes.scatter(x[fired], level[fired], marker=marker, s=22, facecolors="none", edgecolors=colour,
                               linewidths=0.8, zorder=3)
        signals.set_gid(name)
        if confirmed.any():
            axes.scatter(x[confirmed], level[confirmed], marker=marker, s=22, color=colour, zorder=3)
        for at, y in zip(x[fired], level[fired]):
            axes.annotate(text, (at, y), xytext=(0, -5 if sign == 1 else 5), textcoords="offset points",
                          ha="center", va=align, fontsize=5.5, rotation=90, color=colour)


def plot(data, indicators, *, last=None, path=None, title=None, figsize=None, threads=None):
    """Draws the prices and indicators; returns the matplotlib Figure.

    data: a DataFrame with open/high/low/close(/volume) columns (any case;
      candlesticks), or closes alone as a Series or array (a line). A
      DatetimeIndex, or a date or time column, gives dates on the x axis.
    indicators: names ("rsi"), requests ("bbands:period=20,deviations_up=1.5")
      or (name, {parameter: value}) pairs.
    last: show only the last `last` bars (the indicators are computed over
      all of them first).
    path: also save the figure there; the format follows the extension
      (.png, .svg, .pdf).
    """
    import matplotlib.pyplot as pyplot

    prices = _prices(data)
    requests = [_request(item) for item in request_items(indicators)]
    results = []
    for name, params in requests:
        indicator = indicator_named(name)
        unknown = set(params) - {p.name for p in indicator.params}
        if unknown:
            raise ValueError(f"{name}: no parameter {', '.join(sorted(unknown))}")
        values = tuple(params.get(p.name) for p in indicator.params)
        result = compute(indicator, (prices,) + (None,) * (len(indicator.inputs) - 1), values, threads)
        columns = [result] if indicator.result_type is None else [result[o] for o in indicator.outputs]
        results.append((indicator, label(indicator, values), [c.to_numpy() for c in columns]))

    shown = slice(-last, None) if last else slice(None)
    prices = prices.iloc[shown]
    x, dated = _x_values(prices.index)

    def outputs_placed(indicator, values, placement):
        chosen = [k for k, placed in enumerate(indicator.placements) if placed == placement]
        return [indicator.outputs[k] for k in chosen], [values[k][shown] for k in chosen]

    panels = [r for r in results if "panel" in r[0].placements]
    figure, axes = pyplot.subplots(1 + len(panels), 1, sharex=True, squeeze=False,
                                   figsize=figsize or (11, 4 + 1.8 * len(panels)),
                                   gridspec_kw={"height_ratios": [3] + [1] * len(panels)})
    axes = axes[:, 0]
    price_axes = axes[0]
    if all(column in prices for column in ("open", "high", "low")):
        _candlesticks(price_axes, x, prices)
    else:
        price_axes.plot(x, prices["close"].to_numpy(), color="black", linewidth=1.0, label="close")
    on_prices = False
    for indicator, name, values in results:
        outputs, shown_values = outputs_placed(indicator, values, "overlay")
        if outputs:
            _draw(price_axes, x, indicator.name, name, outputs, shown_values)
            on_prices = True
        for series in outputs_placed(indicator, values, "markers")[1]:
            if "low" in prices and "high" in prices:
                _markers(price_axes, x, prices, indicator.name, series)
            else:
                _markers(price_axes, x, prices.assign(low=prices["close"], high=prices["close"]), indicator.name,
                         series)
            on_prices = True
    for panel_axes, (indicator, name, values) in zip(axes[1:], panels):
        outputs, shown_values = outputs_placed(indicator, values, "panel")
        if len(outputs) < len(indicator.outputs):  # the rest are on the prices: name the ones here
            name = f"{name} {' '.join(outputs)}" if len(outputs) == 1 else name
        _draw(panel_axes, x, indicator.name, name, outputs, shown_values)
        panel_axes.legend(loc="upper left", fontsize="small", frameon=False)
        panel_axes.grid(alpha=0.3)
    if on_prices or "open" not in prices:
        price_axes.legend(loc="upper left", fontsize="small", frameon=False)
    price_axes.grid(alpha=0.3)
    if title:
        price_axes.set_title(title)
    if dated:
        axes[-1].xaxis_date()
        figure.autofmt_xdate()
    figure.tight_layout()
    if path is not None:
        figure.savefig(path)
    return figure
