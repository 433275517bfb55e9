"""The pandas accessor: df.movlex.rsi(period=14), series.movlex.sma(period=20),
df.movlex.plot(["bbands", "rsi"])."""

import functools

from ._indicators import INDICATORS


class MovlexAccessor:
    """Every movlex indicator, applied to this DataFrame (its open, high, low,
    close and volume columns) or Series."""

    def __init__(self, data):
        self._data = data

    def __getattr__(self, name):
        if name not in INDICATORS:
            raise AttributeError(f"movlex has no indicator '{name}'")
        import movlex

        function = getattr(movlex, name)
        return functools.update_wrapper(functools.partial(function, self._data), function)

    def __dir__(self):
        return sorted(INDICATORS) + ["plot"]

    def plot(self, indicators, **options):
        """movlex.plot(this DataFrame or Series, indicators, ...)."""
        import movlex

        return movlex.plot(self._data, indicators, **options)


def register(pandas):
    pandas.api.extensions.register_dataframe_accessor("movlex")(MovlexAccessor)
    pandas.api.extensions.register_series_accessor("movlex")(MovlexAccessor)
