#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the benchmarks and the fuzzers need.
# Safe to run again: when everything is installed already, apt is not touched at all.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev libqt6opengl6-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
    libcups2-dev cups openprinting-ppds
    libgtest-dev googletest libgmock-dev libbenchmark-dev
    clang libclang-rt-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup-debian: all ${#packages[@]} packages are installed"
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "setup-debian: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
