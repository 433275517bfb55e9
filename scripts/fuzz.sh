#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time, starting from the checked-in seed corpora.
#
#   bash scripts/fuzz.sh            # 60 seconds per target
#   bash scripts/fuzz.sh 3600       # an hour per target
#
# New inputs go to a scratch directory, not to the checked-in corpora; a
# crashing input is written to build-fuzz/ as crash-<hash>.
#
# The targets run side by side, as many at a time as there are cores
# (MOVLEX_JOBS), each for SECONDS: a libFuzzer process uses one core.
# Without clang and its libFuzzer runtime (and no way to install them) the
# script says so in one line, appends it to the file named by MOVLEX_CI_SKIPS
# when that is set, and exits 0: that is the machine's doing, not the code's.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
jobs=${MOVLEX_JOBS:-$(nproc 2>/dev/null || echo 2)}

have_fuzzer_runtime() {
    command -v clang++ >/dev/null 2>&1 &&
        [ -e "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]
}
if ! have_fuzzer_runtime; then
    if [ "$(id -u)" = 0 ]; then
        { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-dev; } >/dev/null 2>&1 || true
    fi
    if ! have_fuzzer_runtime; then
        reason="clang with its libFuzzer runtime (clang, libclang-rt-dev) is not available and cannot be installed here"
        echo "fuzz: skipped: $reason"
        [ -z "${MOVLEX_CI_SKIPS:-}" ] || echo "fuzz: the fuzzers: $reason" >>"$MOVLEX_CI_SKIPS"
        exit 0
    fi
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOVLEX_BUILD_FUZZERS=ON \
    -DMOVLEX_SANITIZE=address,undefined -DMOVLEX_BUILD_TESTS=OFF -DMOVLEX_BUILD_BENCH=OFF \
    -DMOVLEX_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

# run_target NAME: one target for SECONDS; prints its statistics and any
# error, and fails when it found a fault.
run_target() {
    local name=$1 corpus=fuzz/corpus/$1/ scratch status=0
    scratch=$(mktemp -d)
    (cd "$build" && "fuzz/${name}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$scratch" "../$corpus") \
        >"$scratch.log" 2>&1 || status=$?
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|==[0-9]+==ERROR|SUMMARY)' "$scratch.log" |
        sed "s/^/fuzz: $name: /" || true
    rm -rf "$scratch" "$scratch.log"
    if [ "$status" != 0 ]; then
        echo "fuzz: $name found a fault (see the crash input in $build/)" >&2
        return 1
    fi
}

names=()
for corpus in fuzz/corpus/*/; do
    name=$(basename "$corpus")
    [ -x "$build/fuzz/${name}_fuzzer" ] && names+=("$name")
done
faults=0
for ((first = 0; first < ${#names[@]}; first += jobs)); do
    pids=()
    for name in "${names[@]:first:jobs}"; do
        echo "fuzz: $name for ${seconds}s"
        run_target "$name" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do wait "$pid" || faults=$((faults + 1)); done
done
if [ "$faults" != 0 ]; then
    echo "fuzz: $faults target(s) found a fault" >&2
    exit 1
fi
echo "fuzz: no faults found"
