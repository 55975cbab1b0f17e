#!/usr/bin/env bash
# Installs the Debian packages that the builds and every step of scripts/test-all
# need, when they are missing. Needs root (apt-get); does nothing when all are present.
set -euo pipefail

packages=(
    cmake ninja-build g++ make python3
    llvm-14-tools python3-pexpect python3-psutil python3-pyte ncurses-term strace procps
    clang-14 libclang-rt-14-dev clang-format clang-tidy
    valgrind
    g++-mingw-w64-x86-64-posix wine64 wine
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi
echo "installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root, or install these packages first: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
