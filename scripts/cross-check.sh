#!/usr/bin/env bash
# Cross-builds the library, the movlex tool and the test suites for 64-bit
# ARM (aarch64), IBM Z (s390x, big-endian) and 64-bit RISC-V (riscv64) with
# Debian's cross compilers, runs them under qemu-user, and checks that every
# indicator gives the same bits there as on this machine.
#
#   scripts/cross-check.sh
#
# For each target:
# 1. the object code: no fused multiply-add instruction in the shared library;
# 2. the test suites under qemu-user (only for the targets in
#    MOVLEX_CROSS_SUITE);
# 3. the results digest (tools/movlex_digest: every indicator of the table
#    over data/sample.csv with several parameter sets, in both library states,
#    as hexadecimal doubles) against the digest of this machine's build, byte
#    for byte;
# 4. the movlex tool over the sample against this machine's tool.
#
# MOVLEX_CROSS_TARGETS: the targets (default "aarch64 s390x riscv64").
# MOVLEX_CROSS_SUITE: the targets whose test suites run (default: all of
#   them); the others build the library and the tools only.
# MOVLEX_CROSS_BUILD_DIR: where to build (default build-cross in the source
#   tree). MOVLEX_JOBS: build parallelism (default 2).
# MOVLEX_REFERENCE_BUILD: a native build of the same sources with the tools
#   (movlex, movlex_digest) to use as this machine's reference instead of
#   building one.
#
# Run as root, it installs what is missing with apt-get. A target whose cross
# compiler is missing and cannot be installed is skipped with a message;
# without qemu-user it is built and its object code checked, nothing run.
# Exits 1 when any check fails, 0 otherwise.
set -uo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${MOVLEX_CROSS_BUILD_DIR:-$source_dir/build-cross}
read -r -a targets <<<"${MOVLEX_CROSS_TARGETS:-aarch64 s390x riscv64}"
read -r -a suite_targets <<<"${MOVLEX_CROSS_SUITE:-${targets[*]}}"
jobs=${MOVLEX_JOBS:-2}
host=$(uname -m)

say() { echo "cross-check: $*"; }
failures=()
fail() { failures+=("$1"); say "FAILED: $1"; }
# skip WHAT REASON: a part this machine cannot do, in one line, kept for the
# end and appended to the file named by MOVLEX_CI_SKIPS when that is set.
skipped=()
skip() {
    skipped+=("$1: $2")
    say "skipped $1: $2"
    if [[ -n ${MOVLEX_CI_SKIPS:-} ]]; then echo "cross: $1: $2" >>"$MOVLEX_CI_SKIPS"; fi
}
elapsed() { echo "$((SECONDS - $1)) s"; }
runs_suite() { [[ " ${suite_targets[*]} " == *" $1 "* ]]; }

# ---- Toolchain -----------------------------------------------------------

triplet() { echo "$1-linux-gnu"; }
have_compiler() { command -v "$(triplet "$1")-g++" && command -v "$(triplet "$1")-objdump"; } >/dev/null 2>&1
have_qemu() { command -v "qemu-$1" || command -v "qemu-$1-static"; } >/dev/null 2>&1
have_gtest_sources() { [[ -f /usr/src/googletest/CMakeLists.txt ]]; }
have_host_tools() { command -v cmake && command -v make && command -v g++ && command -v objdump; } >/dev/null 2>&1

missing_packages() {
    local target
    have_host_tools || echo cmake make g++ binutils
    have_gtest_sources || echo libgtest-dev
    for target in "${targets[@]}"; do
        have_compiler "$target" || echo "g++-$(triplet "$target")"
        have_qemu "$target" || echo qemu-user
    done
}

install_packages() { # PACKAGE...
    if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
        say "cannot install $* (not root or no apt-get)"
        return 1
    fi
    say "installing $* with apt-get"
    local apt_options=(-q -o DPkg::Lock::Timeout=300 -o Acquire::Retries=1 -o Acquire::http::Timeout=60)
    timeout 600 apt-get "${apt_options[@]}" update >"$build_dir/apt.log" 2>&1 &&
        DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" install -y --no-install-recommends "$@" \
            >>"$build_dir/apt.log" 2>&1 || { say "apt-get failed (see $build_dir/apt.log)"; return 1; }
}

mkdir -p "$build_dir"
read -r -a missing <<<"$(missing_packages | tr ' ' '\n' | sort -u | tr '\n' ' ')"
[[ ${#missing[@]} -eq 0 ]] || install_packages "${missing[@]}"
if ! have_host_tools; then
    skip "the cross checks" "cmake, make and g++ are needed"
    exit 0
fi

# ---- Builds --------------------------------------------------------------

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# configure_and_build NAME TESTS(ON|OFF) [cmake arguments...]: a build in
# $build_dir/NAME of the library and the tools, and of the tests with ON.
configure_and_build() {
    local name=$1 tests=$2 started=$SECONDS
    shift 2
    local build_targets=(--target movlex-ta-dll movlex movlex_digest)
    [[ $tests == ON ]] && build_targets=()
    say "building $name"
    cmake -S "$source_dir" -B "$build_dir/$name" -DMOVLEX_BUILD_BENCH=OFF -DMOVLEX_BUILD_TOOLS=ON \
        -DMOVLEX_BUILD_TESTS="$tests" "${launcher[@]}" "$@" >"$build_dir/$name.log" 2>&1 &&
        cmake --build "$build_dir/$name" -j "$jobs" "${build_targets[@]}" >>"$build_dir/$name.log" 2>&1 ||
        { tail -n 30 "$build_dir/$name.log"; return 1; }
    say "built $name in $(elapsed $started)"
}

check_object_code() { # NAME OBJDUMP
    cmake -DOBJDUMP="$2" -DFILE="$build_dir/$1/libmovlex-ta-dll.so" \
        -P "$source_dir/tests/object_code/no_fused_multiply_add.cmake" 2>&1 | sed 's/^-- //' ||
        fail "object code ($1)"
}

# The movlex tool over the sample (its CSV reading and number formatting on
# top of the library): adaptive averages, indicators with several outputs,
# the parabolic SAR, in both library states.
tool_requests=(-i sma -i ema -i t3 -i kama -i mama -i macd -i stoch -i adxr -i sar -i bbands -i mfi -i ultosc
    -i stochrsi)
run_tool() { # OUTPUT COMMAND...
    local output=$1
    shift
    local sample=$source_dir/data/sample.csv
    "$@" "${tool_requests[@]}" "$sample" >"$output" && "$@" --no-init "${tool_requests[@]}" "$sample" >>"$output"
}

# Where two digests part: the first differing line and the call it belongs to.
show_difference() { # REFERENCE OTHER
    local line
    line=$(cmp "$1" "$2" 2>&1 | grep -o 'line [0-9]*' | grep -o '[0-9]*')
    [[ -n $line ]] || return 0
    say "  $(diff "$1" "$2" | grep -c '^<') of $(wc -l <"$1") lines differ; the first, line $line, of the call"
    say "    $(head -n "$line" "$1" | grep '^==' | tail -n 1)"
    say "    $host: $(sed -n "${line}p" "$1")"
    say "    other: $(sed -n "${line}p" "$2")"
}

compare() { # WHAT REFERENCE OTHER
    if cmp -s "$2" "$3"; then
        say "$1: identical to $host"
        return 0
    fi
    fail "$1 differs from $host"
    show_difference "$2" "$3"
}

# ---- This machine: the reference -----------------------------------------

# MOVLEX_REFERENCE_BUILD, when it has the library and both tools (.ci/run's
# test build, from the same sources), else a build here.
reference=$build_dir/$host-digest.txt
reference_tool=$build_dir/$host-tool.csv
host_build=$build_dir/host
reference_build=${MOVLEX_REFERENCE_BUILD:-}
if [[ -n $reference_build && -f $reference_build/libmovlex-ta-dll.so && -x $reference_build/tools/movlex &&
    -x $reference_build/tools/movlex_digest ]]; then
    say "this machine's reference: $reference_build"
    host_build=$reference_build
    host_ready=1
else
    host_ready=0
    configure_and_build host OFF && host_ready=1
fi
if [[ $host_ready -eq 1 ]]; then
    # (The object code of the reference build is checked by its own tests.)
    [[ $host_build != "$build_dir/host" ]] || check_object_code host objdump
    "$host_build/tools/movlex_digest" >"$reference" || fail "digest ($host)"
    run_tool "$reference_tool" "$host_build/tools/movlex" || fail "tool ($host)"
    # Stream states saved here, restored here and (below) on each target: the
    # same outputs after. Equal digests already show equal state bytes.
    host_states=$build_dir/$host-states.txt
    host_restored=$build_dir/$host-restored.txt
    grep '^state ' "$reference" >"$host_states"
    "$host_build/tools/movlex_digest" --restore "$host_states" >"$host_restored" || fail "restore ($host)"
else
    fail "$host build"
    reference=""
fi

# ---- The targets -----------------------------------------------------------

for target in "${targets[@]}"; do
    if ! have_compiler "$target" || ! have_gtest_sources; then
        skip "$target" "g++-$(triplet "$target") (or libgtest-dev) is not available"
        continue
    fi
    started=$SECONDS
    tests=OFF
    runs_suite "$target" && tests=ON
    [[ $tests == ON ]] || say "$target: the library and the tools only, not the test suites (MOVLEX_CROSS_SUITE)"
    if ! configure_and_build "$target" "$tests" --toolchain "$source_dir/cmake/linux-$target.cmake"; then
        fail "$target build"
        continue
    fi
    check_object_code "$target" "$(triplet "$target")-objdump"
    if ! have_qemu "$target"; then
        skip "running the $target build" "qemu-user is not available"
        continue
    fi
    emulator=("$(command -v "qemu-$target" || command -v "qemu-$target-static")" -L "/usr/$(triplet "$target")")
    if [[ $tests == ON ]]; then
        say "test suites of $target under qemu-user"
        ctest --test-dir "$build_dir/$target" --output-on-failure --timeout 1800 >"$build_dir/$target-tests.log" 2>&1 ||
            { tail -n 40 "$build_dir/$target-tests.log"; fail "test suites ($target)"; }
        grep -E '^[0-9]+/[0-9]+ Test|tests passed' "$build_dir/$target-tests.log" | sed 's/^/  /'
    fi
    if [[ -n $reference ]]; then
        digest=$build_dir/$target-digest.txt
        if "${emulator[@]}" "$build_dir/$target/tools/movlex_digest" >"$digest"; then
            compare "digest of $target" "$reference" "$digest" && rm -f "$digest"
        else
            fail "digest ($target)"
        fi
        restored=$build_dir/$target-restored.txt
        if "${emulator[@]}" "$build_dir/$target/tools/movlex_digest" --restore "$host_states" >"$restored"; then
            compare "streams restored on $target from $host's states" "$host_restored" "$restored" && rm -f "$restored"
        else
            fail "restore ($target)"
        fi
        tool_output=$build_dir/$target-tool.csv
        if run_tool "$tool_output" "${emulator[@]}" "$build_dir/$target/tools/movlex"; then
            compare "movlex tool on $target" "$reference_tool" "$tool_output"
        else
            fail "tool ($target)"
        fi
    fi
    say "$target done in $(elapsed "$started")"
done

for line in "${skipped[@]}"; do say "  skipped $line"; done
if [[ ${#failures[@]} -eq 0 ]]; then
    say "all checks passed${skipped[*]:+ (${#skipped[@]} part(s) skipped, listed above)}"
    exit 0
fi
say "${#failures[@]} check(s) failed: ${failures[*]}"
exit 1
