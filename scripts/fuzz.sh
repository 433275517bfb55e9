#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time, starting from the checked-in seed corpora.
#
#   bash scripts/fuzz.sh            # 60 seconds per target
#   bash scripts/fuzz.sh 3600       # an hour per target
#
# New inputs go to a scratch directory, not to the checked-in corpora; a
# crashing input is written to build-fuzz/ as crash-<hash>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

have_fuzzer_runtime() {
    command -v clang++ >/dev/null 2>&1 &&
        [ -e "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]
}
if ! have_fuzzer_runtime; then
    if [ "$(id -u)" = 0 ]; then
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-dev >/dev/null
    fi
    if ! have_fuzzer_runtime; then
        echo "fuzz: clang with libFuzzer is not available (run as root to install it)" >&2
        exit 1
    fi
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOVLEX_BUILD_FUZZERS=ON \
    -DMOVLEX_SANITIZE=address,undefined -DMOVLEX_BUILD_TESTS=OFF -DMOVLEX_BUILD_BENCH=OFF \
    -DMOVLEX_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

for corpus in fuzz/corpus/*/; do
    name=$(basename "$corpus")
    target="$build/fuzz/${name}_fuzzer"
    [ -x "$target" ] || continue
    scratch=$(mktemp -d)
    echo "fuzz: $name for ${seconds}s"
    log="$scratch.log"
    status=0
    (cd "$build" && "../$target" -max_total_time="$seconds" -print_final_stats=1 "$scratch" "../$corpus") \
        >"$log" 2>&1 || status=$?
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|==[0-9]+==ERROR|SUMMARY)' "$log" || true
    rm -rf "$scratch" "$log"
    if [ "$status" != 0 ]; then
        echo "fuzz: $name found a fault (see the crash input in $build/)" >&2
        exit 1
    fi
done
echo "fuzz: no faults found"
