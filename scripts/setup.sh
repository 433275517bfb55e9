#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those missing:
# nothing is downloaded when everything is there already.
set -euo pipefail

packages=(cmake make gcc g++ binutils libgtest-dev libbenchmark-dev pkg-config dpkg-dev file lintian
    # the command-line tool: its option parser, and its manual page made from its help
    libcli11-dev help2man
    # the Python package: Debian's interpreter and its modules only
    python3 python3-dev pybind11-dev python3-pybind11 python3-numpy python3-pandas python3-matplotlib
    python3-dask python3-distributed python3-pytest python3-hypothesis python3-venv python3-setuptools python3-wheel python3-pip)
# The JavaScript package and page (scripts/js-check.sh): MOVLEX_SETUP_JS=1.
if [ "${MOVLEX_SETUP_JS:-0}" = 1 ]; then
    packages+=(emscripten nodejs chromium ccache)
    # A Node from elsewhere may bring its own npm, which Debian's would replace.
    command -v npm > /dev/null || packages+=(npm)
fi

if ! command -v dpkg-query > /dev/null; then
    echo "setup: no dpkg-query here; make sure these are installed: ${packages[*]}" >&2
    exit 0
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2> /dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo > /dev/null; then
    as_root=(sudo)
else
    echo "setup: missing packages ${missing[*]}; run as root or install them" >&2
    exit 1
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
