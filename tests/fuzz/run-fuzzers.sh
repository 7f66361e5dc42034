#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in a build directory of their own and runs each for a
# bounded time on a small seed corpus. Fails when a target does not build or finds a crash.
#
#   tests/fuzz/run-fuzzers.sh [seconds per target]
#
# VELTRA_FUZZ_BUILD_DIR (default <repo>/build-fuzz) and VELTRA_FUZZ_JOBS (default 2) adjust it.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${VELTRA_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-${VELTRA_FUZZ_TIME:-60}}
jobs=${VELTRA_FUZZ_JOBS:-2}
targets=(fuzz_wmb_b64tobin fuzz_ticket_bytelist fuzz_ui_constraint_table)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELTRA_BUILD_FUZZ=ON -DVELTRA_BUILD_TESTS=ON -DVELTRA_BUILD_BENCH=OFF
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# Seeds: Base64 text with padding, white space and stray bytes; byte lists and their damage.
seeds=$build/fuzz-seeds
rm -rf "$seeds"
mkdir -p "$seeds/fuzz_wmb_b64tobin" "$seeds/fuzz_ticket_bytelist" "$seeds/fuzz_ui_constraint_table"
seed() { printf '%b' "$3" >"$seeds/$1/$2"; }
seed fuzz_wmb_b64tobin padded '\x00QUJDRA=='
seed fuzz_wmb_b64tobin spaced '\x01QU JD\r\nQU\tJD'
seed fuzz_wmb_b64tobin unpadded '\x02QUJDQQ'
seed fuzz_wmb_b64tobin stray '\x03QU\xc3\xa9JD=x'
seed fuzz_wmb_b64tobin tight '\x80QFBHWg=='
seed fuzz_wmb_b64tobin scrambled '\x00CQAO\nAAAAAA=='
seed fuzz_ticket_bytelist list '/97/44/98'
seed fuzz_ticket_bytelist quote "/105/116/39/115"
seed fuzz_ticket_bytelist plain 'abc'
seed fuzz_ticket_bytelist junk '/-5/999/abc//'
seed fuzz_ticket_bytelist huge '/99999999999999999999999/ 7/+8'
seed fuzz_ticket_bytelist high '\xff\xfe,\\/'
# Printer descriptions: the bundled sample printers, and one with every form of constraint,
# PickMany, page size against page region and paper source against manual feed.
cp "$root"/Bundle/SamplePrinter/*.ppd "$seeds/fuzz_ui_constraint_table/"
cat >"$seeds/fuzz_ui_constraint_table/constraints.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "FUZZ.PPD"
*Manufacturer: "Veltra"
*Product: "(Fuzz)"
*ModelName: "Veltra Fuzz"
*ShortNickName: "Veltra Fuzz"
*NickName: "Veltra Fuzz"
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: A4
*PageRegion A4/A4: ""
*PageRegion Letter/Letter: ""
*CloseUI: *PageRegion
*OpenUI *InputSlot/Source: PickOne
*DefaultInputSlot: Tray1
*InputSlot Tray1/Tray 1: ""
*InputSlot Tray2/Tray 2: ""
*CloseUI: *InputSlot
*OpenUI *ManualFeed/Manual Feed: Boolean
*DefaultManualFeed: False
*ManualFeed True/On: ""
*ManualFeed False/Off: ""
*CloseUI: *ManualFeed
*OpenUI *Finisher/Finisher: PickMany
*DefaultFinisher: None
*Finisher None/None: ""
*Finisher Staple/Staple: ""
*Finisher Punch/Punch: ""
*CloseUI: *Finisher
*UIConstraints: *PageSize Letter *InputSlot Tray2
*UIConstraints: *inputslot tray2 *PageSize
*UIConstraints: *Finisher *ManualFeed True
*UIConstraints: *ManualFeed *Finisher
*UIConstraints: *Finisher Staple *NoSuchOption
PPD

export LSAN_OPTIONS=suppressions=$here/lsan-libcups.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}
status=0
for target in "${targets[@]}"; do
    corpus=$build/fuzz-corpus/$target
    artifacts=$build/fuzz-artifacts/$target
    mkdir -p "$corpus" "$artifacts"
    echo "== $target for ${seconds}s"
    if ! "$build/tests/fuzz/$target" "$corpus" "$seeds/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/"; then
        echo "$target failed; reproducers in $artifacts" >&2
        status=1
    fi
done
exit $status
