#!/usr/bin/env bash
# Builds the JavaScript package's WebAssembly module with Emscripten from the
# library's sources and generates the per-indicator files from its table.
#
#   bash scripts/js-build.sh [BUILD_DIR]     (default: build-wasm)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-wasm}
# Debian's Emscripten runs its JavaScript tools with the node on PATH, which
# finds Debian's node modules (acorn) only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
    emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
        -DMOVLEX_BUILD_TESTS=OFF -DMOVLEX_BUILD_BENCH=OFF -DMOVLEX_BUILD_TOOLS=OFF -DMOVLEX_BUILD_PYTHON=OFF > /dev/null
fi
cmake --build "$build" -j2 --target movlex_wasm
mkdir -p js/generated
cp "$build/js/movlex_wasm.mjs" js/generated/movlex_wasm.mjs
node js/scripts/generate.mjs
