#!/usr/bin/env bash
# Installs what is needed, builds everything (tests and benchmarks included) and runs the whole
# test suite with ctest. Extra arguments go to ctest (for example -R Bundle).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELTRA_BUILD_DIR:-$root/build}

"$root/scripts/setup-debian.sh"
"$root/scripts/build.sh"
# Widgets are real but off-screen; C.UTF-8 keeps messages and encodings the same everywhere.
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
ctest --test-dir "$build" --output-on-failure "$@"
