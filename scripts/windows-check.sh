#!/usr/bin/env bash
# Cross-builds movlex-ta-dll.dll for 32-bit and 64-bit Windows with MinGW-w64,
# installs each and makes its zip (cpack -G ZIP), checks both export tables,
# runs the test suites and the examples under Wine and compares the results of
# a host program on each DLL with those on the Linux library.
#
#   scripts/windows-check.sh [--partial]
#
# --partial (or MOVLEX_WINDOWS_PARTIAL=1): accept entries the library does
#   not export yet; everything that is exported is still checked in full.
# MOVLEX_WINDOWS_BUILD_DIR: where to build (default build-windows in the
#   source tree); the Wine prefix lives there too.
# MOVLEX_REFERENCE_BUILD: a native build of the same sources whose
#   libmovlex-ta-dll.so serves as the Linux reference (default: one is built).
#
# Run as root, it installs what is missing with apt-get. Exits 0 with a
# "skipped" message when the cross compilers are missing and cannot be
# installed; 1 when any check fails.
#
# What runs depends on the machine, not only on the code: 64-bit programs run
# under Wine's 64-bit loader (/usr/lib/wine/wine64) directly, 32-bit ones
# under its 32-bit loader (/usr/lib/wine/wine), which needs a kernel that
# executes 32-bit x86 programs; many do not (no IA-32 emulation). A tiny
# 32-bit program tells before Wine's 32-bit side is installed or used. Where
# it cannot run, the 32-bit DLL is still built, zipped and its export table
# checked, and only its runs are skipped, with one line saying why. Every
# skip is listed at the end, and appended to the file named by
# MOVLEX_CI_SKIPS when that is set (.ci/run's summary).
set -uo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${MOVLEX_WINDOWS_BUILD_DIR:-$source_dir/build-windows}
partial_flag=""
if [[ "${1:-}" == "--partial" || "${MOVLEX_WINDOWS_PARTIAL:-0}" == "1" ]]; then partial_flag="--partial"; fi
jobs=${MOVLEX_JOBS:-2}

say() { echo "windows-check: $*"; }
failures=()
fail() { failures+=("$1"); say "FAILED: $1"; }
skipped=()
skip() { # WHAT REASON: one line, kept for the summary
    skipped+=("$1: $2")
    say "skipped $1: $2"
    if [[ -n ${MOVLEX_CI_SKIPS:-} ]]; then echo "windows: $1: $2" >>"$MOVLEX_CI_SKIPS"; fi
}
summary() {
    local line
    for line in "${skipped[@]}"; do say "  skipped $line"; done
}

# ---- This machine ----------------------------------------------------------

# Does the kernel execute 32-bit x86 programs? A 96-byte static i386 ELF that
# only exits with status 42 (the exit system call through int 0x80). Sets
# i386_error to why not.
i386_error=""
kernel_runs_i386() {
    local probe status
    probe=$(mktemp "${TMPDIR:-/tmp}/movlex-i386-probe.XXXXXX") || { i386_error="no temporary file"; return 1; }
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'\
'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00'\
'\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    i386_error=$("$probe" 2>&1)
    status=$?
    rm -f "$probe"
    [[ $status -eq 42 ]] && return 0
    i386_error=${i386_error##*: } # "...: cannot execute binary file: Exec format error" -> "Exec format error"
    i386_error="this machine does not execute 32-bit x86 programs (a static i386 program: ${i386_error:-exit status $status})"
    return 1
}

# ---- Toolchain -----------------------------------------------------------

have_compilers() {
    command -v python3 && command -v i686-w64-mingw32-g++-posix && command -v x86_64-w64-mingw32-g++-posix &&
        command -v i686-w64-mingw32-objdump && command -v x86_64-w64-mingw32-objdump &&
        [[ -f /usr/src/googletest/CMakeLists.txt ]]
} >/dev/null 2>&1
# Debian's Wine: the 32-bit loader comes with wine32:i386, the 64-bit one with wine64.
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
have_wine32() { [[ -x $wine32_loader ]]; }
have_wine64() { [[ -x $wine64_loader ]]; }

install_toolchain() { # PACKAGE...
    if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
        say "cannot install the toolchain (not root or no apt-get)"
        return 1
    fi
    say "installing $* with apt-get"
    local apt_options=(-q -o DPkg::Lock::Timeout=300 -o Acquire::Retries=1 -o Acquire::http::Timeout=60)
    local status=0
    if [[ " $* " == *:i386* ]]; then dpkg --add-architecture i386 || status=$?; fi
    [[ $status -eq 0 ]] &&
        timeout 600 apt-get "${apt_options[@]}" update >"$build_dir/apt.log" 2>&1 &&
        DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" install -y --no-install-recommends "$@" \
            >>"$build_dir/apt.log" 2>&1 || status=1
    [[ $status -eq 0 ]] || say "apt-get failed (see $build_dir/apt.log)"
    return $status
}

mkdir -p "$build_dir"
kernel_i386=1
kernel_runs_i386 || kernel_i386=0
# Wine's 32-bit side is installed only where the kernel can run it.
wanted=()
have_compilers || wanted+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest python3)
have_wine64 || wanted+=(wine wine64)
[[ $kernel_i386 -eq 0 ]] || have_wine32 || wanted+=(wine wine32:i386)
if [[ ${#wanted[@]} -gt 0 ]]; then
    read -r -a wanted <<<"$(printf '%s\n' "${wanted[@]}" | sort -u | tr '\n' ' ')"
    install_toolchain "${wanted[@]}"
fi
if ! have_compilers; then
    skip "the Windows builds and checks" "the MinGW-w64 cross compilers (g++-mingw-w64-i686, g++-mingw-w64-x86-64) are not available"
    exit 0
fi

# Which loaders run here: each is asked for its version, which needs no prefix.
run_win32=1 run_win64=1
if [[ $kernel_i386 -eq 0 ]]; then
    run_win32=0
    skip "running the 32-bit build (test suite, examples, host program)" "$i386_error"
elif ! have_wine32; then
    run_win32=0
    skip "running the 32-bit build (test suite, examples, host program)" "Wine's 32-bit loader (wine32:i386) is not available"
elif ! loader_error=$("$wine32_loader" --version 2>&1); then
    run_win32=0
    skip "running the 32-bit build (test suite, examples, host program)" \
        "$wine32_loader does not start here ($(echo "$loader_error" | tail -n 1))"
fi
if ! have_wine64; then
    run_win64=0
    skip "running the 64-bit build (test suite, examples, host program)" "Wine's 64-bit loader (wine64) is not available"
elif ! loader_error=$("$wine64_loader" --version 2>&1); then
    run_win64=0
    skip "running the 64-bit build (test suite, examples, host program)" \
        "$wine64_loader does not start here ($(echo "$loader_error" | tail -n 1))"
fi
# ---- Builds --------------------------------------------------------------

# configure_and_build NAME TARGETS [cmake arguments...]: a build in
# $build_dir/NAME of TARGETS (a space-separated list; empty for all).
configure_and_build() {
    local name=$1 build_targets=()
    [[ -z $2 ]] || build_targets=(--target $2)
    shift 2
    say "building $name${build_targets[*]:+ (${build_targets[*]:1})}"
    cmake -S "$source_dir" -B "$build_dir/$name" -DMOVLEX_BUILD_BENCH=OFF -DMOVLEX_BUILD_TOOLS=OFF "$@" \
        >"$build_dir/$name.log" 2>&1 &&
        cmake --build "$build_dir/$name" -j "$jobs" "${build_targets[@]}" >>"$build_dir/$name.log" 2>&1 ||
        { tail -n 30 "$build_dir/$name.log"; return 1; }
}

# A build whose programs cannot run here builds the DLLs and the examples
# (which link with the import libraries: on 32-bit through the decorated
# names) but not the test suite.
libraries_and_examples="movlex-ta-dll movlex_extended movlex_c_example movlex_stream_c_example movlex_stream_cpp_example"
win32_targets="" win64_targets=""
[[ $run_win32 -eq 1 ]] || win32_targets=$libraries_and_examples
[[ $run_win64 -eq 1 ]] || win64_targets=$libraries_and_examples
# Tests run by hand with ctest in the 64-bit build use the 64-bit loader.
win64_emulator=()
[[ $run_win64 -eq 1 ]] && win64_emulator=(-DMOVLEX_WINE="$wine64_loader")

# movlex_version.h, included by movlex.h, is generated into each build's include/.
host_flags=(-std=c11 -O2 -Wall -Wextra -ffp-contract=off "-I$source_dir/include")
host_source=$source_dir/tests/windows/abi_host.c

# Only what built in this run is checked and run, never an older binary.
declare -A built=([win32]=0 [win64]=0 [linux]=0)
configure_and_build win32 "$win32_targets" --toolchain "$source_dir/cmake/mingw-w64-i686.cmake" &&
    i686-w64-mingw32-gcc-posix "${host_flags[@]}" "-I$build_dir/win32/include" -msse2 -mfpmath=sse -static "$host_source" \
        -o "$build_dir/win32/bin/abi_host.exe" && built[win32]=1 || fail "32-bit Windows build"
configure_and_build win64 "$win64_targets" --toolchain "$source_dir/cmake/mingw-w64-x86_64.cmake" "${win64_emulator[@]}" &&
    x86_64-w64-mingw32-gcc-posix "${host_flags[@]}" "-I$build_dir/win64/include" -static "$host_source" \
        -o "$build_dir/win64/bin/abi_host.exe" && built[win64]=1 || fail "64-bit Windows build"
# The Linux library, as the reference for the host program's results: that of
# MOVLEX_REFERENCE_BUILD when it has one (.ci/run's test build, from the same
# sources), else built here.
linux_library=$build_dir/linux/libmovlex-ta-dll.so linux_include=$build_dir/linux/include
reference_build=${MOVLEX_REFERENCE_BUILD:-}
if [[ -n $reference_build && -f $reference_build/libmovlex-ta-dll.so && -f $reference_build/include/movlex_version.h ]]; then
    say "the Linux library of $reference_build"
    linux_library=$reference_build/libmovlex-ta-dll.so linux_include=$reference_build/include
    mkdir -p "$build_dir/linux"
else
    say "building linux (the library only)"
    { cmake -S "$source_dir" -B "$build_dir/linux" -DMOVLEX_BUILD_TESTS=OFF -DMOVLEX_BUILD_BENCH=OFF \
        -DMOVLEX_BUILD_TOOLS=OFF >"$build_dir/linux.log" 2>&1 &&
        cmake --build "$build_dir/linux" -j "$jobs" --target movlex-ta-dll >>"$build_dir/linux.log" 2>&1; } ||
        { tail -n 30 "$build_dir/linux.log"; linux_library=""; }
fi
[[ -n $linux_library ]] &&
    cc "${host_flags[@]}" "-I$linux_include" "$host_source" -ldl -lm -o "$build_dir/linux/abi_host" && built[linux]=1 ||
    fail "Linux build"

# ---- Install and zip -----------------------------------------------------

# cmake --install into NAME-install and cpack -G ZIP in the build: the zip
# holds the DLL, its import library, the headers and the CMake package.
install_and_zip() { # NAME
    local dir=$build_dir/$1 log=$build_dir/$1-package.log
    say "install and zip of the $1 build"
    rm -rf "$dir-install" "$dir"/movlex-*.zip
    { cmake --install "$dir" --prefix "$dir-install" && (cd "$dir" && cpack -G ZIP); } >"$log" 2>&1 ||
        { tail -n 20 "$log"; fail "install and zip ($1)"; return; }
    python3 - "$dir"/movlex-*.zip <<'CHECK' || fail "the zip of the $1 build"
import sys, zipfile
expected = ["bin/movlex-ta-dll.dll", "lib/movlex-ta-dll.dll.a", "include/movlex.h", "include/movlex_version.h",
            "lib/cmake/movlex/movlex-config.cmake", "lib/cmake/movlex/movlex-config-version.cmake",
            "lib/cmake/movlex/movlex-targets.cmake", "lib/pkgconfig/movlex-ta-dll.pc"]
path = sys.argv[1]
members = ["/".join(name.split("/")[1:]) for name in zipfile.ZipFile(path).namelist()]
missing = [name for name in expected if name not in members]
print("windows-check: %s: %d files%s" % (path.split("/")[-1], len(members), ", missing " + ", ".join(missing) if missing else ""))
sys.exit(1 if missing else 0)
CHECK
}
for arch in win32 win64; do
    [[ ${built[$arch]} -eq 1 ]] && install_and_zip $arch
done

# ---- Export tables -------------------------------------------------------

check_exports() { # ARCH DLL
    say "export table of $2"
    python3 "$source_dir/tests/windows/check_exports.py" --arch "$1" $partial_flag "$2" || fail "export table ($1)"
}
for arch in win32 win64; do
    [[ ${built[$arch]} -eq 1 ]] && check_exports $arch "$build_dir/$arch/bin/movlex-ta-dll.dll"
done

# ---- Under Wine ----------------------------------------------------------

# run_wine ARCH PROGRAM [ARGUMENTS...]: under the loader for ARCH, in the
# current directory.
run_wine() {
    local arch=$1
    shift
    if [[ $arch == win64 ]]; then "$wine64_loader" "$@"; else wine "$@"; fi
}

run_tests() { # NAME
    [[ ${built[$1]} -eq 1 ]] || return 0
    say "test suite of the $1 build under Wine"
    (cd "$build_dir/$1/bin" && run_wine "$1" movlex_tests.exe 2>&1 | tr -d '\r' | tee "$build_dir/$1-tests.log" |
        grep -E '^\[  (PASSED|FAILED) |^\[  SKIPPED \] [0-9]+ tests?,|^\[==========\]'; exit "${PIPESTATUS[0]}") ||
        fail "test suite ($1)"
    # The C example links with the DLL's import library (on 32-bit through the
    # decorated names) instead of resolving entries at run time; the stream
    # examples link with the extended DLL, which calls the core DLL.
    local example
    for example in movlex_c_example movlex_stream_c_example movlex_stream_cpp_example; do
        [[ -f $build_dir/$1/bin/$example.exe ]] || continue
        (cd "$build_dir/$1/bin" && run_wine "$1" $example.exe >"$build_dir/$1-$example.log" 2>&1) &&
            say "$example ($1): ran" || { tail -n 20 "$build_dir/$1-$example.log"; fail "$example ($1)"; }
    done
}

compare_results() { # NAME
    local reference=$build_dir/linux-results.txt
    [[ ${built[$1]} -eq 1 && ${built[linux]} -eq 1 ]] || return 0
    say "host program on the $1 DLL under Wine"
    (cd "$build_dir/$1/bin" && run_wine "$1" abi_host.exe $partial_flag movlex-ta-dll.dll >"$build_dir/$1-results.txt") ||
        fail "host program ($1)"
    say "results of the $1 DLL against the Linux library"
    python3 "$source_dir/tests/windows/compare_results.py" "$reference" "$build_dir/$1-results.txt" ||
        fail "results of the $1 DLL differ from the Linux library"
}

if [[ ${built[linux]} -eq 1 && ( $run_win32 -eq 1 || $run_win64 -eq 1 ) ]]; then
    say "host program on the Linux library"
    "$build_dir/linux/abi_host" $partial_flag "$linux_library" \
        >"$build_dir/linux-results.txt" || fail "host program (Linux)"
fi

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or HTML engine installers
if [[ $run_win32 -eq 1 ]]; then
    # Both sides: a prefix of their own, made through the wine command, which
    # starts the 32-bit loader; a 64-bit one (with wine64) runs both kinds of
    # program.
    wine_arch=$([[ $run_win64 -eq 1 ]] && echo win64 || echo win32)
    export WINEARCH=$wine_arch WINEPREFIX=$build_dir/wineprefix-$wine_arch
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        say "creating the Wine prefix"
        { wineboot -i && wineserver -w; } >"$build_dir/wineboot.log" 2>&1 || fail "wineboot"
    fi
elif [[ $run_win64 -eq 1 ]]; then
    # The 64-bit side alone: its loader and server only, never the wine
    # command (which starts the 32-bit loader when wine32 is installed), in a
    # prefix of its own that a 32-bit program never needs to use.
    export WINEARCH=win64 WINEPREFIX=$build_dir/wineprefix-wine64 WINELOADER=$wine64_loader
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        say "creating the Wine prefix (64-bit only)"
        { "$wine64_loader" wineboot --init && wineserver -w; } >"$build_dir/wineboot.log" 2>&1 ||
            { tail -n 20 "$build_dir/wineboot.log"; fail "wineboot"; }
    fi
fi
if [[ $run_win32 -eq 1 ]]; then
    run_tests win32
    compare_results win32
fi
if [[ $run_win64 -eq 1 ]]; then
    run_tests win64
    compare_results win64
fi
if [[ $run_win32 -eq 1 || $run_win64 -eq 1 ]]; then
    wineserver -w # let this prefix's server finish before the script ends
fi

summary
if [[ ${#failures[@]} -eq 0 ]]; then
    say "all checks passed${skipped[*]:+ (${#skipped[@]} part(s) skipped, listed above)}"
    exit 0
fi
say "${#failures[@]} check(s) failed: ${failures[*]}"
exit 1
