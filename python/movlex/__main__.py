"""python3 -m movlex chart PRICES.csv -i bbands -i rsi -o chart.png"""

import argparse
import os
import sys


def _arguments(argv):
    parser = argparse.ArgumentParser(prog="python3 -m movlex", description="movlex from the command line.")
    commands = parser.add_subparsers(dest="command", required=True)
    chart = commands.add_parser(
        "chart", help="draw prices and indicators from a CSV file",
        description="Draws the prices of a CSV file (columns found by name, any case: date or time, open, high, "
                    "low, close, volume; candlesticks, or a line of closes) with the indicators asked for: "
                    "averages, bands and SAR over the prices, candlestick patterns as markers on the candles, "
                    "every other output in a panel below.")
    chart.add_argument("csv", help="the prices")
    chart.add_argument("-i", "--indicator", action="append", default=[], metavar="REQUEST",
                       help="NAME or NAME:PARAMETER=VALUE,... (repeat for more), e.g. bbands:period=20")
    chart.add_argument("-o", "--output", required=True, help="the picture: .png, .svg or .pdf")
    chart.add_argument("--last", type=int, help="show only the last LAST bars")
    chart.add_argument("--title", help="title over the prices (default: the file name)")
    chart.add_argument("--no-init", action="store_true",
                       help="skip MOVLEX_INIT: the recursive indicators start without their unstable period")
    return parser.parse_args(argv)


def _chart(options):
    import matplotlib

    matplotlib.use("Agg")
    import pandas

    import movlex

    if options.no_init:
        movlex.shutdown()
    prices = pandas.read_csv(options.csv)
    figure = movlex.plot(prices, options.indicator, last=options.last, path=options.output,
                         title=options.title or os.path.basename(options.csv))
    matplotlib.pyplot.close(figure)


def main(argv=None):
    options = _arguments(argv)
    try:
        _chart(options)
    except (OSError, ValueError, TypeError) as error:
        print(f"movlex: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
