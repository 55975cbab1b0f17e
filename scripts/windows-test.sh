#!/usr/bin/env bash
# Builds registry.exe with MinGW-w64 and runs the piped end-to-end tests against
# it under Wine: the same test binary and expected texts as on Linux, with the
# program started as "wine64 registry.exe" and its CR LF line ends folded.
#
#   scripts/windows-test.sh
#
# Installs g++-mingw-w64-x86-64-posix and wine64 when they are missing (as root).
# Build folders: build-windows (the .exe) and build-wine-host (the Linux test
# binary). Wine gets a fresh prefix in a temporary folder and needs no display.
# Exits non-zero when a build or any test fails.
#
# Environment:
#   REGISTRY_WINE_FILTER   gtest filter for the end-to-end tests (default: all of them)
#   REGISTRY_WINE_KEEP=1   keep the temporary Wine prefix and logs
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win_build=$root/build-windows
host_build=$root/build-wine-host
jobs=$(nproc 2>/dev/null || echo 2)
start_time=$SECONDS

# The end-to-end tests that can only run with a terminal would be listed here
# (as a negative gtest filter); the piped ones all run under Wine.
filter=${REGISTRY_WINE_FILTER:-*}

say() { printf '== windows-test: %s\n' "$*"; }
die() { printf '== windows-test: error: %s\n' "$*" >&2; exit 1; }

find_wine() {
    local candidate
    for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
        if [[ -n $candidate && -x $candidate ]]; then
            wine=$candidate
            return 0
        fi
    done
    return 1
}

find_wineserver() {
    local candidate
    for candidate in "$(dirname "$wine")/wineserver" "$(command -v wineserver || true)" \
        /usr/lib/wine/wineserver64; do
        if [[ -n $candidate && -x $candidate ]]; then
            wineserver=$candidate
            return 0
        fi
    done
    return 1
}

# --- Tools ---------------------------------------------------------------------
wine=
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! find_wine; then
    say "installing MinGW-w64 and Wine"
    [[ $(id -u) == 0 ]] || die "the MinGW-w64 and Wine packages are missing; run as root to install them"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends g++-mingw-w64-x86-64-posix wine64
fi
command -v x86_64-w64-mingw32-g++-posix >/dev/null || die "x86_64-w64-mingw32-g++-posix not found"
find_wine || die "wine64 not found"
find_wineserver || die "wineserver not found"
say "using $wine"

# --- Wine prefix, made while the builds run --------------------------------------
tmp=$(mktemp -d "${TMPDIR:-/tmp}/registry-wine.XXXXXX")
export WINEPREFIX=$tmp/prefix
export WINESERVER=$wineserver
export WINEDEBUG=-all
# No Mono or Gecko installers, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
# Wine links the prefix's user folders into HOME: give it one of its own.
wine_home=$tmp/home
mkdir -p "$WINEPREFIX" "$wine_home"

wineboot_pid=
cleanup() {
    local status=$?
    if [[ -n $wineboot_pid ]]; then
        kill "$wineboot_pid" 2>/dev/null || true
        wait "$wineboot_pid" 2>/dev/null || true
    fi
    HOME=$wine_home timeout 30 "$wineserver" -k >/dev/null 2>&1 || true
    HOME=$wine_home timeout 30 "$wineserver" -w >/dev/null 2>&1 || true
    if [[ ${REGISTRY_WINE_KEEP:-0} == 1 ]]; then
        say "kept $tmp"
    else
        rm -rf "$tmp"
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# A server that stays up for the whole run: every program start then takes tens
# of milliseconds instead of seconds. Its outputs must not hold our own open.
HOME=$wine_home "$wineserver" -p </dev/null >/dev/null 2>&1
HOME=$wine_home timeout 300 "$wine" wineboot -i </dev/null >"$tmp/wineboot.log" 2>&1 &
wineboot_pid=$!

# --- Builds ------------------------------------------------------------------------
say "building registry.exe in $win_build"
cmake -S "$root" -B "$win_build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DREGISTRY_TESTS=OFF -DREGISTRY_WERROR=ON >/dev/null
cmake --build "$win_build" --parallel "$jobs" --target registry
exe=$win_build/registry.exe
[[ -f $exe ]] || die "$exe was not built"

# Only the system's own DLLs: the C++ runtime and winpthread are linked in.
while read -r dll; do
    case ${dll,,} in
        kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll | ws2_32.dll | ucrtbase.dll | api-ms-win-*) ;;
        *) die "registry.exe needs $dll, which Windows does not have" ;;
    esac
done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')

say "building the end-to-end tests in $host_build"
cmake -S "$root" -B "$host_build" >/dev/null
cmake --build "$host_build" --parallel "$jobs" --target registry_e2e_tests
tests=$host_build/tests/registry_e2e_tests
[[ -x $tests ]] || die "$tests was not built"

# --- Wine ------------------------------------------------------------------------------
say "waiting for wineboot"
if ! wait "$wineboot_pid"; then
    wineboot_pid=
    cat "$tmp/wineboot.log" >&2
    die "wineboot failed or took longer than 300 s"
fi
wineboot_pid=

export HOME=$wine_home
# One start by hand first: a Wine that cannot run the program at all is said
# once here, not as a time-out in every test.
smoke=$(cd "$tmp" && printf '\033' | timeout 60 "$wine" "$exe" 2>"$tmp/smoke.err" | od -An -c | tr -s ' \n' ' ') ||
    true
if [[ $smoke != *"M E N U \r \n"* ]]; then
    cat "$tmp/wineboot.log" "$tmp/smoke.err" >&2
    die "registry.exe does not start under Wine (it printed: ${smoke:0:200})"
fi

say "running the end-to-end tests against registry.exe under Wine (filter: $filter)"
status=0
(cd "$tmp" &&
    REGISTRY_RUNNER=$wine REGISTRY_BIN=$exe REGISTRY_CRLF=1 \
        timeout 1200 "$tests" --gtest_filter="$filter" --gtest_output="xml:$tmp/e2e.xml") ||
    status=$?

# The summary from gtest's report: <testsuites tests=".." failures=".." disabled=".." ...>
summary=$(grep -m 1 '<testsuites ' "$tmp/e2e.xml" 2>/dev/null || true)
count() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$summary"; }
total=$(count tests)
failed=$(count failures)
disabled=$(count disabled)
skipped=$(grep -c 'result="skipped"' "$tmp/e2e.xml" 2>/dev/null || true)
if [[ -z $total || -z $failed ]]; then
    say "the test binary left no report (exit status $status)"
    [[ $status != 0 ]] || status=1
else
    passed=$((total - failed - ${disabled:-0} - ${skipped:-0}))
    if [[ $passed -le 0 && $failed == 0 ]]; then
        say "no test ran"
        status=1
    fi
    printf 'wine e2e: %d passed, %d failed, %d skipped\n' "$passed" "$failed" "${skipped:-0}"
fi
say "done in $((SECONDS - start_time)) s"
exit "$status"
