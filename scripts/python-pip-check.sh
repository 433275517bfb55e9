#!/usr/bin/env bash
# Installs the Python package with pip into a fresh virtual environment that
# sees Debian's packages (numpy, pandas, ...), without any network, and
# imports it from there.
#
#   bash scripts/python-pip-check.sh DIR [PYTHON]    (default PYTHON: /usr/bin/python3)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=$(realpath -m "${1:?usage: python-pip-check.sh DIR [PYTHON]}")
python=${2:-/usr/bin/python3}

rm -rf "$dir/venv"
"$python" -m venv --system-site-packages "$dir/venv"
MOVLEX_CMAKE_BUILD_DIR="$dir/cmake" "$dir/venv/bin/python" -m pip install --quiet --no-index \
    --no-build-isolation --disable-pip-version-check ./python
cd "$dir"
"$dir/venv/bin/python" - "$dir/venv" <<'PYTHON'
import sys

import numpy as np

import movlex

assert movlex.__file__.startswith(sys.argv[1]), movlex.__file__
result = movlex.sma(np.arange(6.0), period=3)
assert np.isnan(result[:2]).all() and list(result[2:]) == [1.0, 2.0, 3.0, 4.0], result
import pathlib
package = pathlib.Path(movlex.__file__).parent
for typed in ("py.typed", "__init__.pyi", "stream.pyi"):
    assert (package / typed).exists(), f"{typed} is not installed"
print(f"movlex {movlex.__version__} installed in {sys.argv[1]}: sma ok, typed")
PYTHON
