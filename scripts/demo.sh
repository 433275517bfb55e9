#!/usr/bin/env bash
# Builds the command-line tool and runs it over the bundled synthetic sample
# (data/sample.csv) with a 20-bar simple and a 10-bar weighted moving average.
# The whole result goes to build/demo.csv; its first and last rows are shown.
#
#   bash scripts/demo.sh                     the demonstration above
#   bash scripts/demo.sh -i wma:period=5 ... other movlex arguments instead
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc 2> /dev/null || echo 2)
cmake -S . -B build -DMOVLEX_BUILD_TOOLS=ON > /dev/null
cmake --build build --target movlex -j "$jobs" > /dev/null

if [ $# -gt 0 ]; then
    exec ./build/tools/movlex "$@"
fi
./build/tools/movlex --indicator sma:period=20 --indicator wma:period=10 --output build/demo.csv data/sample.csv
echo "movlex --indicator sma:period=20 --indicator wma:period=10   (over data/sample.csv)"
echo
head -n 25 build/demo.csv
echo "..."
tail -n 3 build/demo.csv
echo
echo "$(($(wc -l < build/demo.csv) - 1)) rows; the whole result is in build/demo.csv"
