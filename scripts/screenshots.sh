#!/usr/bin/env bash
# Renders the print dialog's pages and the panes' windows off-screen into docs/screenshots:
# a secure job charged to an account asked for at Print (both panes, the job accounting
# settings and input windows, the summary) and a secure job whose passcode is too short (the
# confirmation window). Usage: scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/screenshots
prefs=$(mktemp -d)
trap 'rm -rf "$prefs"' EXIT
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
run() { "$build/host/veltra-print" --batch --prefs-dir "$prefs" --ticket-out /dev/null "$@" 2>/dev/null || true; }
run --screenshots "$out" --print-type secure --user-name bob --passcode 12345678 \
    --account-ask-at-print yes --input-user-id carol --input-password word
run --screenshots "$prefs/short" --print-type secure --user-name bob --passcode 1 \
    --if-passcode-short cancel
cp "$prefs"/short/window-*.png "$out"/ 2>/dev/null || true
ls "$out"
