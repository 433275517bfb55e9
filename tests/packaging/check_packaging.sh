#!/usr/bin/env bash
# Installs a built tree into a fresh prefix and checks it as a user would find
# it, then does the same with the Debian packages made from it:
#   1. the installed files, exactly, with the links and SONAME of the library;
#   2. no path of the source or build tree in any installed text file (the CMake
#      package and the pkg-config file find the prefix from their own place);
#   3. the consumer project (tests/consumer) built with find_package and with
#      pkg-config, shared and (where built) static, and run;
#   4. cpack -G DEB: the packages' names, contents and dependencies, lintian
#      (no error) where installed, unpacked with dpkg -x into a scratch root,
#      and the consumer and the tool from there.
#
#   check_packaging.sh SOURCE_DIR BUILD_DIR LIBDIR STATIC(ON|OFF) TOOL(ON|OFF)
set -uo pipefail

source_dir=$(realpath "$1")
build_dir=$(realpath "$2")
libdir=$3
static=$4
tool=$5
scratch=$build_dir/packaging-check
consumer_source=$source_dir/tests/consumer

failures=0
say() { echo "packaging: $*"; }
fail() { say "FAILED: $*"; failures=$((failures + 1)); }
run_quietly() { # LOG COMMAND...: the command's output goes to LOG, shown when it fails
    local log=$1
    shift
    "$@" >"$log" 2>&1 || { tail -n 40 "$log"; return 1; }
}

rm -rf "$scratch"
mkdir -p "$scratch"
# The install prefix and the scratch root lie outside the source and build
# trees, so that any path of those in an installed file stands out.
outside=$(mktemp -d "${TMPDIR:-/tmp}/movlex-packaging.XXXXXX")
trap 'rm -rf "$outside"' EXIT

# ---- 1. The installed files -----------------------------------------------

expected_files() { # PREFIX-relative paths, sorted
    {
        echo include/movlex.h
        echo include/movlex_batch.h
        echo include/movlex_extended.h
        echo include/movlex_extended_entries.h
        echo include/movlex_stream.h
        echo include/movlex_stream.hpp
        echo include/movlex_version.h
        echo "$libdir/libmovlex.so"
        echo "$libdir/libmovlex.so.1"
        echo "$libdir/libmovlex.so.1.0.0"
        echo "$libdir/libmovlex-ta-dll.so"
        echo "$libdir/libmovlex-ta-dll.so.1"
        echo "$libdir/libmovlex-ta-dll.so.1.0.0"
        [[ $static == ON ]] && echo "$libdir/libmovlex-ta-dll.a"
        echo "$libdir/cmake/movlex/movlex-config.cmake"
        echo "$libdir/cmake/movlex/movlex-config-version.cmake"
        echo "$libdir/cmake/movlex/movlex-targets.cmake"
        echo "$libdir/cmake/movlex/movlex-targets-CONFIG.cmake"
        echo "$libdir/pkgconfig/movlex-ta-dll.pc"
        echo "$libdir/pkgconfig/movlex.pc"
        echo share/doc/movlex/LICENSE
        echo share/doc/movlex/README.md
        # Where Debian packages are made, each package's copyright and changelog.
        if command -v dpkg > /dev/null; then
            local package
            for package in libmovlex-ta-dll1 libmovlex1 libmovlex-ta-dll-dev $([[ $tool == ON ]] && echo movlex); do
                echo "share/doc/$package/copyright"
                echo "share/doc/$package/changelog.gz"
            done
        fi
        if [[ $tool == ON ]]; then
            echo bin/movlex
            echo share/man/man1/movlex.1.gz
            echo share/movlex/sample.csv
        fi
    } | sort
}

check_tree() { # ROOT PREFIX: the files under ROOT are the expected ones for PREFIX, and none names the build or source tree
    local root=$1 installed_prefix=$2 actual
    actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' |
        sed 's|cmake/movlex/movlex-targets-[a-z]*\.cmake$|cmake/movlex/movlex-targets-CONFIG.cmake|' | sort)
    if [[ $actual != "$(expected_files)" ]]; then
        fail "the files under $root are not the expected ones (< missing, > unexpected):"
        diff <(expected_files) <(echo "$actual") | grep '^[<>]'
    fi
    local lib=$root/$libdir
    [[ $(readlink "$lib/libmovlex-ta-dll.so") == libmovlex-ta-dll.so.1 &&
        $(readlink "$lib/libmovlex-ta-dll.so.1") == libmovlex-ta-dll.so.1.0.0 ]] ||
        fail "the links libmovlex-ta-dll.so -> .so.1 -> .so.1.0.0"
    objdump -p "$lib/libmovlex-ta-dll.so.1.0.0" | grep -qE 'SONAME +libmovlex-ta-dll\.so\.1$' ||
        fail "the SONAME of libmovlex-ta-dll.so.1.0.0 is not libmovlex-ta-dll.so.1"
    local named
    named=$(grep -rIl -e "$source_dir" -e "$build_dir" "$root")
    [[ -z $named ]] || fail "installed files name the source or build tree: $named"
    grep -qx "prefix=$installed_prefix" "$lib/pkgconfig/movlex-ta-dll.pc" ||
        fail "the pkg-config file does not name the prefix $installed_prefix"
}

prefix=$outside/prefix
say "cmake --install into $prefix"
run_quietly "$scratch/install.log" cmake --install "$build_dir" --prefix "$prefix" || fail "cmake --install"
check_tree "$prefix" "$prefix"

# ---- 2. The consumer -------------------------------------------------------

run_consumer() { # LABEL DIR [ENV...]: runs DIR/consumer_c and DIR/consumer_cpp
    local label=$1 dir=$2
    shift 2
    for program in consumer_c consumer_cpp; do
        if ! env "$@" "$dir/$program" >"$dir/$program.out" 2>&1; then
            cat "$dir/$program.out"
            fail "$program ($label)"
        else
            sed "s|^|  $label: |" "$dir/$program.out"
        fi
    done
}

with_find_package() { # LABEL PREFIX_PATH [cmake arguments...]
    local label=$1 prefix_path=$2 dir=$scratch/consumer-$1
    shift 2
    run_quietly "$dir.log" cmake -S "$consumer_source" -B "$dir" -DCMAKE_PREFIX_PATH="$prefix_path" "$@" &&
        run_quietly "$dir.build.log" cmake --build "$dir" || { fail "consumer with find_package ($label)"; return; }
    run_consumer "$label" "$dir"
}

with_pkg_config() { # LABEL SYSROOT PREFIX [--static]: the pkg-config file of SYSROOT/PREFIX
    local label=$1 sysroot=$2 pc_dir=$2$3/$libdir/pkgconfig lib_dir=$2$3/$libdir static_flag=${4:-}
    local dir=$scratch/consumer-$1
    mkdir -p "$dir"
    local flags link=()
    [[ -n $static_flag ]] && link=(-static)
    local pkg_config=(env PKG_CONFIG_PATH="$pc_dir" PKG_CONFIG_SYSROOT_DIR="$sysroot" pkg-config)
    flags=$("${pkg_config[@]}" $static_flag --cflags --libs movlex-ta-dll) ||
        { fail "pkg-config movlex-ta-dll ($label)"; return; }
    [[ $("${pkg_config[@]}" --modversion movlex-ta-dll) == 1.0.0 ]] || fail "pkg-config --modversion"
    # shellcheck disable=SC2086 # the flags are words
    run_quietly "$dir.build.log" cc -std=c99 -Wall -Wpedantic -Werror "$consumer_source/consumer.c" $flags "${link[@]}" \
        -o "$dir/consumer_c" &&
        run_quietly "$dir.build.log" c++ -std=c++17 -Wall -Wpedantic -Werror "$consumer_source/consumer.cpp" $flags \
            "${link[@]}" -o "$dir/consumer_cpp" || { fail "consumer with pkg-config ($label)"; return; }
    run_consumer "$label" "$dir" LD_LIBRARY_PATH="$lib_dir"
}

not_linked_to_shared() { # LABEL DIR: the programs carry the library, they do not load it
    for program in consumer_c consumer_cpp; do
        ! readelf -d "$2/$program" | grep -q 'NEEDED.*libmovlex-ta-dll' ||
            fail "$program ($1) loads libmovlex-ta-dll.so instead of carrying the static library"
    done
}

say "consumer against the installed prefix"
with_find_package find-package "$prefix"
with_pkg_config pkg-config "" "$prefix"
if [[ $static == ON ]]; then
    with_find_package find-package-static "$prefix" -DMOVLEX_CONSUMER_STATIC=ON
    not_linked_to_shared find-package-static "$scratch/consumer-find-package-static"
    with_pkg_config pkg-config-static "" "$prefix" --static
    not_linked_to_shared pkg-config-static "$scratch/consumer-pkg-config-static"
fi

# The package takes any 1.x and no other major version.
mkdir -p "$scratch/version-2"
echo 'cmake_minimum_required(VERSION 3.25)
project(version_2 NONE)
find_package(movlex 2.0 CONFIG REQUIRED)' >"$scratch/version-2/CMakeLists.txt"
if cmake -S "$scratch/version-2" -B "$scratch/version-2/build" -DCMAKE_PREFIX_PATH="$prefix" \
    >"$scratch/version-2.log" 2>&1; then
    fail "find_package(movlex 2.0) accepted version 1.0.0"
fi

# ---- 3. The Debian packages ------------------------------------------------

if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
    say "skipped: the Debian packages (dpkg-deb and dpkg-shlibdeps, of dpkg-dev, are needed)"
else
    say "cpack -G DEB"
    debs=$scratch/debs
    (cd "$build_dir" && run_quietly "$scratch/cpack.log" cpack -G DEB -B "$debs") || fail "cpack -G DEB"
    root=$outside/root
    mkdir -p "$root"
    for deb in "$debs"/*.deb; do
        [[ -f $deb ]] || continue
        echo "--- $(basename "$deb")"
        dpkg-deb -f "$deb" Package Version Architecture Depends Section | sed 's/^/  /'
        dpkg-deb -c "$deb" | sed 's/^/  /'
        dpkg -x "$deb" "$root"
    done
    version=1.0.0
    arch=$(dpkg --print-architecture)
    deb_of() { # PACKAGE: its file, named as Debian names them
        local deb=$debs/${1}_${version}_$arch.deb
        [[ -f $deb ]] && echo "$deb"
    }
    runtime_deb=$(deb_of libmovlex-ta-dll1)
    extended_deb=$(deb_of libmovlex1)
    dev_deb=$(deb_of libmovlex-ta-dll-dev)
    [[ -n $runtime_deb && -n $extended_deb && -n $dev_deb ]] ||
        fail "the runtime, extended and dev packages, named name_version_arch.deb"
    [[ $tool == OFF ]] || [[ -n $(deb_of movlex) ]] || fail "the tool package"
    [[ -z $runtime_deb ]] || dpkg-deb -f "$runtime_deb" Depends | grep -q 'libc6 (>=' ||
        fail "the runtime package's dependencies were not generated (no libc6)"
    [[ -z $dev_deb ]] || [[ $(dpkg-deb -f "$dev_deb" Depends | tr -d ' ' | tr ',' '\n' | sort | paste -sd,) == \
        "libmovlex-ta-dll1(=$version),libmovlex1(=$version)" ]] ||
        fail "the dev package does not depend on exactly this version's library packages"
    for deb in $runtime_deb $extended_deb; do
        dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./triggers 2>/dev/null | grep -qx 'activate-noawait ldconfig' ||
            fail "$(basename "$deb") has no ldconfig trigger"
    done
    if command -v lintian >/dev/null; then
        # Errors fail the check; warnings and notes are shown.
        lintian --fail-on error --tag-display-limit 0 "$debs"/*.deb 2>&1 | grep -v 'root privileges' | sed 's/^/  lintian: /'
        ((PIPESTATUS[0] == 0)) || fail "lintian reports errors in the packages"
    else
        say "skipped: lintian (not installed)"
    fi

    # The packages' files are the installed ones, under /usr.
    check_tree "$root/usr" /usr
    say "consumer against the unpacked packages"
    with_find_package deb-find-package "$root/usr"
    with_pkg_config deb-pkg-config "$root" /usr
    if [[ $tool == ON ]]; then
        # Without a file, the tool reads the sample installed beside it, and only that one.
        unpacked_sample=$root/usr/share/movlex/sample.csv
        "$root/usr/bin/movlex" -i sma:period=20 >"$scratch/tool.csv" 2>"$scratch/tool.err" &&
            grep -q "bundled sample" "$scratch/tool.err" &&
            "$root/usr/bin/movlex" -i sma:period=20 "$source_dir/data/sample.csv" | cmp -s - "$scratch/tool.csv" &&
            mv "$unpacked_sample" "$unpacked_sample.away" &&
            ! "$root/usr/bin/movlex" -i sma:period=20 >/dev/null 2>&1 &&
            mv "$unpacked_sample.away" "$unpacked_sample" ||
            fail "the unpacked tool over its bundled sample"
    fi
fi

if ((failures > 0)); then
    say "$failures check(s) failed"
    exit 1
fi
say "all checks passed"
