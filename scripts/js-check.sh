#!/usr/bin/env bash
# The JavaScript checks: installs Emscripten, Node, npm and Chromium from
# Debian when missing, builds the WebAssembly package and the native digest
# tool, runs the package's tests (node --test, including the digest
# comparison with the native tool), installs the packed tarball offline into
# an empty folder and runs the README's example there.
#
#   bash scripts/js-check.sh [NATIVE_BUILD_DIR] [WASM_BUILD_DIR]   (build-js, build-wasm)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
native=${1:-build-js}
wasm=${2:-build-wasm}

MOVLEX_SETUP_JS=1 bash scripts/setup.sh
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== native digest tool and movlex ($native)"
cmake -S . -B "$native" "${launcher[@]}" -DMOVLEX_BUILD_TESTS=OFF -DMOVLEX_BUILD_BENCH=OFF -DMOVLEX_BUILD_PYTHON=OFF > /dev/null
cmake --build "$native" -j2 --target movlex_digest movlex

echo "== WebAssembly package ($wasm)"
bash scripts/js-build.sh "$wasm"

echo "== node --test"
(cd js && MOVLEX_DIGEST="$root/$native/tools/movlex_digest" node --test test/)

echo "== the packed package, installed offline into an empty folder, runs the README example"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd js && npm pack --silent --pack-destination "$scratch" > /dev/null)
mkdir "$scratch/app"
sed -n '/^```js$/,/^```$/p' js/README.md | sed '1d;$d' > "$scratch/app/example.mjs"
(cd "$scratch/app" && npm init -y > /dev/null && npm install --offline --no-audit --no-fund "$scratch"/movlex-*.tgz > /dev/null &&
    node example.mjs > output.txt)
grep -q '70.46' "$scratch/app/output.txt"
echo "js-check: 1 passed, 0 failed"
