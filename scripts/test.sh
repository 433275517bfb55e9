#!/usr/bin/env bash
# Builds everything (library, tests, command-line tool, benchmarks, Python
# package) and runs every test, the Python ones included.
#
#   bash scripts/test.sh                       in build/
#   bash scripts/test.sh DIR [CMAKE_ARGS...]   in DIR, configured with CMAKE_ARGS, e.g.
#   bash scripts/test.sh build-asan -DMOVLEX_SANITIZE=address,undefined
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build_dir=${1:-build}
[ $# -gt 0 ] && shift
jobs=$(nproc 2> /dev/null || echo 2)

# The Python package is built for and tested with Debian's interpreter, not
# whichever python3 comes first on PATH (a later -DPython3_EXECUTABLE wins).
python=()
[ -x /usr/bin/python3 ] && python=(-DPython3_EXECUTABLE=/usr/bin/python3)

cmake -S . -B "$build_dir" -DMOVLEX_BUILD_TESTS=ON -DMOVLEX_BUILD_TOOLS=ON -DMOVLEX_BUILD_BENCH=ON -DMOVLEX_BUILD_STATIC=ON "${python[@]}" "$@"
cmake --build "$build_dir" -j "$jobs"
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
