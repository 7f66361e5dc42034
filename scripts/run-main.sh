#!/usr/bin/env bash
# Installs what is needed, builds, and opens the print dialog of the bundled sample printer
# with the plug-in's panes. Without a display veltra-print runs off-screen in batch mode: it
# presses Print and writes the ticket's CUPS options to stdout. Arguments go to veltra-print
# (see veltra-print --help).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELTRA_BUILD_DIR:-$root/build}

# Set-up and build talk on stderr: stdout carries only the ticket.
"$root/scripts/setup-debian.sh" >&2
"$root/scripts/build.sh" veltra-print bundle >&2
exec "$build/host/veltra-print" "$@"
