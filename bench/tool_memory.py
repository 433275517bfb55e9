#!/usr/bin/python3
"""Peak memory and time of the movlex tool on a generated price file.

Makes a CSV of price-like bars (date, open, high, low, close, volume: a
random walk) of about the given size, runs the tool over it in batch mode
(the file named), in stream mode (--stream) and in batch mode from a pipe
(standard input), each under /usr/bin/time -v with its output thrown away,
and prints for each run its wall time and peak resident size: against the
file's size, and against the doubles the run must hold (one per row for
each input column read and each output column written). The bound the tool
keeps in batch mode is twice those doubles plus 64 MB.

  /usr/bin/python3 bench/tool_memory.py --size-mb 200
  /usr/bin/python3 bench/tool_memory.py --size-mb 2000 --tool build/tools/movlex --compare /tmp/old-movlex
"""
import argparse
import os
import random
import re
import subprocess
import sys
import tempfile

REQUESTS = ["sma:period=20", "rsi", "macd", "bbands", "adx"]


def write_prices(path, size_bytes, seed=1):
    """Writes bars until the file reaches size_bytes; returns the row count."""
    rng = random.Random(seed)
    close = 100.0
    rows = 0
    with open(path, "w", newline="\n") as out:
        out.write("date,open,high,low,close,volume\n")
        written = 0
        while written < size_bytes:
            lines = []
            for _ in range(100_000):
                open_ = close
                close = max(1.0, close + rng.gauss(0, 1))
                high = max(open_, close) + rng.random()
                low = max(0.5, min(open_, close) - rng.random())
                day = rows + len(lines)
                lines.append(f"{2000 + day // 366:04d}-{day // 31 % 12 + 1:02d}-{day % 31 + 1:02d},"
                             f"{open_:.4f},{high:.4f},{low:.4f},{close:.4f},{rng.randrange(1000, 1000000)}\n")
            text = "".join(lines)
            out.write(text)
            written += len(text)
            rows += len(lines)
    return rows


def columns_and_outputs(tool, requests):
    """Distinct input columns the requests read and the number of outputs,
    from the tool's own listing (each input read from its default column)."""
    listing = subprocess.run([tool, "--list"], check=True, capture_output=True, text=True).stdout
    blocks = {}
    for block in listing.split("\n\n"):
        lines = block.strip("\n").split("\n")
        if lines and " - " in lines[0]:
            blocks[lines[0].split(" - ")[0]] = lines[1:]
    columns, outputs = set(), 0
    for request in requests:
        for line in blocks[request.split(":")[0]]:
            label, _, content = line.strip().partition(" ")
            items = [item.strip() for item in content.strip().split(", ")]
            if label == "inputs":
                for item in items:
                    found = re.match(r"(\w+)(?: \((\w+)\))?", item)
                    columns.add(found.group(2) or found.group(1))
            elif label in ("output", "outputs"):
                outputs += len(items)
    return len(columns), outputs


def measured(command, stdin=None):
    """Wall seconds and peak resident bytes of a command under /usr/bin/time -v."""
    with tempfile.NamedTemporaryFile("r") as report:
        result = subprocess.run(["/usr/bin/time", "-v", "-o", report.name] + command, stdin=stdin,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if result.returncode != 0:
            sys.exit(f"{' '.join(command)} failed: {result.stderr.strip()}")
        text = report.read()
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1)) * 1024
    clock = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): ([\d:.]+)", text).group(1)
    seconds = 0.0
    for part in clock.split(":"):
        seconds = seconds * 60 + float(part)
    return seconds, peak


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--size-mb", type=float, default=100, help="size of the generated file in MB (1e6 bytes)")
    parser.add_argument("--tool", default="build/tools/movlex")
    parser.add_argument("--compare", help="another build of the tool, measured on the same file")
    parser.add_argument("--dir", default=tempfile.gettempdir(), help="where the file is made (and removed)")
    parser.add_argument("--modes", default="batch,stream,pipe")
    arguments = parser.parse_args()

    path = os.path.join(arguments.dir, f"movlex-prices-{os.getpid()}.csv")
    try:
        rows = write_prices(path, int(arguments.size_mb * 1e6))
        size = os.path.getsize(path)
        columns, outputs = columns_and_outputs(arguments.tool, REQUESTS)
        held = (columns + outputs) * rows * 8
        requests = [word for request in REQUESTS for word in ("-i", request)]
        print(f"file: {size / 1e6:.1f} MB, {rows} rows; requests {' '.join(REQUESTS)}: "
              f"{columns} input columns + {outputs} outputs = {held / 1e6:.1f} MB of doubles; "
              f"bound 2 x doubles + 64 MB = {(2 * held + 64 * 2**20) / 1e6:.1f} MB")
        print(f"{'tool':<10} {'mode':<7} {'seconds':>8} {'peak MB':>9} {'/ file':>7} {'/ doubles':>9}  within bound")
        tools = [("tool", arguments.tool)] + ([("compare", arguments.compare)] if arguments.compare else [])
        for name, tool in tools:
            for mode in arguments.modes.split(","):
                if mode == "batch":
                    seconds, peak = measured([tool, "-q"] + requests + [path])
                elif mode == "stream":
                    seconds, peak = measured([tool, "-q", "--stream"] + requests + [path])
                else:
                    with subprocess.Popen(["cat", path], stdout=subprocess.PIPE) as cat:
                        seconds, peak = measured([tool, "-q"] + requests + ["-"], stdin=cat.stdout)
                        cat.stdout.close()
                within = "yes" if peak <= 2 * held + 64 * 2**20 else "no"
                print(f"{name:<10} {mode:<7} {seconds:8.1f} {peak / 1e6:9.1f} {peak / size:7.2f} {peak / held:9.2f}  {within}",
                      flush=True)
    finally:
        if os.path.exists(path):
            os.remove(path)


if __name__ == "__main__":
    main()
