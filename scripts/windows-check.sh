#!/usr/bin/env bash
# Cross-builds movlex-ta-dll.dll for 32-bit and 64-bit Windows with MinGW-w64,
# installs each and makes its zip (cpack -G ZIP), checks both export tables, runs the test suites under Wine and compares the
# results of a host program on each DLL with those on the Linux library.
#
#   scripts/windows-check.sh [--partial]
#
# --partial (or MOVLEX_WINDOWS_PARTIAL=1): accept entries the library does
#   not export yet; everything that is exported is still checked in full.
# MOVLEX_WINDOWS_BUILD_DIR: where to build (default build-windows in the
#   source tree); the Wine prefix lives there too.
#
# Run as root, it installs what is missing with apt-get. Exits 0 with a
# "skipped" message when the cross compilers are missing and cannot be
# installed; 1 when any check fails.
set -uo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${MOVLEX_WINDOWS_BUILD_DIR:-$source_dir/build-windows}
partial_flag=""
if [[ "${1:-}" == "--partial" || "${MOVLEX_WINDOWS_PARTIAL:-0}" == "1" ]]; then partial_flag="--partial"; fi
jobs=${MOVLEX_JOBS:-2}

say() { echo "windows-check: $*"; }
failures=()
fail() { failures+=("$1"); say "FAILED: $1"; }

# ---- Toolchain -----------------------------------------------------------

have_compilers() {
    command -v python3 && command -v i686-w64-mingw32-g++-posix && command -v x86_64-w64-mingw32-g++-posix &&
        command -v i686-w64-mingw32-objdump && command -v x86_64-w64-mingw32-objdump &&
        [[ -f /usr/src/googletest/CMakeLists.txt ]]
} >/dev/null 2>&1
# Debian's Wine: the 32-bit loader comes with wine32:i386, the 64-bit one with wine64.
have_wine32() { command -v wine && command -v wineserver && [[ -x /usr/lib/wine/wine ]]; } >/dev/null 2>&1
have_wine64() { command -v wine && [[ -x /usr/lib/wine/wine64 ]]; } >/dev/null 2>&1

install_toolchain() {
    if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
        say "cannot install the toolchain (not root or no apt-get)"
        return 1
    fi
    say "installing MinGW-w64 and Wine with apt-get"
    local apt_options=(-q -o DPkg::Lock::Timeout=300 -o Acquire::Retries=1 -o Acquire::http::Timeout=60)
    dpkg --add-architecture i386 &&
        timeout 600 apt-get "${apt_options[@]}" update >"$build_dir/apt.log" 2>&1 &&
        DEBIAN_FRONTEND=noninteractive apt-get "${apt_options[@]}" install -y --no-install-recommends \
            g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest python3 wine wine64 wine32:i386 >>"$build_dir/apt.log" 2>&1
    local status=$?
    [[ $status -eq 0 ]] || say "apt-get failed (see $build_dir/apt.log)"
    return $status
}

mkdir -p "$build_dir"
if ! have_compilers || ! have_wine32 || ! have_wine64; then install_toolchain; fi
if ! have_compilers; then
    say "skipped: the MinGW-w64 cross compilers (g++-mingw-w64-i686, g++-mingw-w64-x86-64) are not available"
    exit 0
fi
run_win32=1 run_win64=1
if ! have_wine32; then
    run_win32=0 run_win64=0
    say "skipped: running under Wine (wine32:i386 is not available); building and export checks only"
elif ! have_wine64; then
    run_win64=0
    say "skipped: running the 64-bit build (wine64 is not available)"
fi

# ---- Builds --------------------------------------------------------------

# configure_and_build NAME [cmake arguments...]: a build in $build_dir/NAME.
configure_and_build() {
    local name=$1
    shift
    say "building $name"
    cmake -S "$source_dir" -B "$build_dir/$name" -DMOVLEX_BUILD_BENCH=OFF -DMOVLEX_BUILD_TOOLS=OFF "$@" \
        >"$build_dir/$name.log" 2>&1 &&
        cmake --build "$build_dir/$name" -j "$jobs" >>"$build_dir/$name.log" 2>&1 ||
        { tail -n 30 "$build_dir/$name.log"; return 1; }
}

# movlex_version.h, included by movlex.h, is generated into each build's include/.
host_flags=(-std=c11 -O2 -Wall -Wextra -ffp-contract=off "-I$source_dir/include")
host_source=$source_dir/tests/windows/abi_host.c

# Only what built in this run is checked and run, never an older binary.
declare -A built=([win32]=0 [win64]=0 [linux]=0)
configure_and_build win32 --toolchain "$source_dir/cmake/mingw-w64-i686.cmake" &&
    i686-w64-mingw32-gcc-posix "${host_flags[@]}" "-I$build_dir/win32/include" -msse2 -mfpmath=sse -static "$host_source" \
        -o "$build_dir/win32/bin/abi_host.exe" && built[win32]=1 || fail "32-bit Windows build"
configure_and_build win64 --toolchain "$source_dir/cmake/mingw-w64-x86_64.cmake" &&
    x86_64-w64-mingw32-gcc-posix "${host_flags[@]}" "-I$build_dir/win64/include" -static "$host_source" \
        -o "$build_dir/win64/bin/abi_host.exe" && built[win64]=1 || fail "64-bit Windows build"
# The Linux library, as the reference for the host program's results.
say "building linux (the library only)"
{ cmake -S "$source_dir" -B "$build_dir/linux" -DMOVLEX_BUILD_TESTS=OFF -DMOVLEX_BUILD_BENCH=OFF \
    -DMOVLEX_BUILD_TOOLS=OFF >"$build_dir/linux.log" 2>&1 &&
    cmake --build "$build_dir/linux" -j "$jobs" --target movlex-ta-dll >>"$build_dir/linux.log" 2>&1 &&
    cc "${host_flags[@]}" "-I$build_dir/linux/include" "$host_source" -ldl -lm -o "$build_dir/linux/abi_host" && built[linux]=1; } ||
    { tail -n 30 "$build_dir/linux.log"; fail "Linux build"; }

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

run_tests() { # NAME
    [[ ${built[$1]} -eq 1 ]] || return 0
    say "test suite of the $1 build under Wine"
    (cd "$build_dir/$1/bin" && wine movlex_tests.exe 2>&1 | tr -d '\r' | tee "$build_dir/$1-tests.log" |
        grep -E '^\[  (PASSED|FAILED) |^\[  SKIPPED \] [0-9]+ tests?,|^\[==========\]'; exit "${PIPESTATUS[0]}") ||
        fail "test suite ($1)"
    # The C example links with the DLL's import library (on 32-bit through the
    # decorated names) instead of resolving entries at run time.
    if [[ -f $build_dir/$1/bin/movlex_c_example.exe ]]; then
        (cd "$build_dir/$1/bin" && wine movlex_c_example.exe >"$build_dir/$1-c-example.log" 2>&1) &&
            say "C example linked with the $1 import library: ran" || fail "C example ($1)"
    fi
}

compare_results() { # NAME
    local reference=$build_dir/linux-results.txt
    [[ ${built[$1]} -eq 1 && ${built[linux]} -eq 1 ]] || return 0
    say "host program on the $1 DLL under Wine"
    (cd "$build_dir/$1/bin" && wine abi_host.exe $partial_flag movlex-ta-dll.dll >"$build_dir/$1-results.txt") ||
        fail "host program ($1)"
    say "results of the $1 DLL against the Linux library"
    python3 "$source_dir/tests/windows/compare_results.py" "$reference" "$build_dir/$1-results.txt" ||
        fail "results of the $1 DLL differ from the Linux library"
}

if [[ $run_win32 -eq 1 ]]; then
    # A prefix of its own; a 64-bit one (with wine64) runs both kinds of program.
    wine_arch=$([[ $run_win64 -eq 1 ]] && echo win64 || echo win32)
    export WINEARCH=$wine_arch WINEPREFIX=$build_dir/wineprefix-$wine_arch WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" # no .NET or HTML engine installers
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        say "creating the Wine prefix"
        { wineboot -i && wineserver -w; } >"$build_dir/wineboot.log" 2>&1 || fail "wineboot"
    fi
    if [[ ${built[linux]} -eq 1 ]]; then
        say "host program on the Linux library"
        "$build_dir/linux/abi_host" $partial_flag "$build_dir/linux/libmovlex-ta-dll.so" \
            >"$build_dir/linux-results.txt" || fail "host program (Linux)"
    fi
    run_tests win32
    compare_results win32
    if [[ $run_win64 -eq 1 ]]; then
        run_tests win64
        compare_results win64
    fi
    wineserver -w # let this prefix's server finish before the script ends
fi

if [[ ${#failures[@]} -eq 0 ]]; then
    say "all checks passed"
    exit 0
fi
say "${#failures[@]} check(s) failed: ${failures[*]}"
exit 1
