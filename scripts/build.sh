#!/usr/bin/env bash
# Configures and builds the project into build/ (or $VELTRA_BUILD_DIR); extra arguments are
# the targets to build (default: all).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELTRA_BUILD_DIR:-$root/build}
jobs=${VELTRA_JOBS:-$(nproc)}
# Paths relative to the checkout, so that every clone and work tree shares one compiler cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VELTRA_BUILD_TYPE:-RelWithDebInfo}"
if [ $# -gt 0 ]; then
    cmake --build "$build" -j "$jobs" --target "$@"
else
    cmake --build "$build" -j "$jobs"
fi
