#!/usr/bin/env bash
# Fuzzes the RTF reader for the given number of seconds (default 60) under AddressSanitizer and
# UndefinedBehaviorSanitizer, with clang, in build-fuzz/. Starts from the seed corpus (the
# project's own documents, and documents re-saved by two other word processors, an office suite
# and a small one, whose RTF differs from ours) and the kept regression files, with the RTF
# dictionary. Fails when the fuzzer finds a crash; the
# input it saved goes into tests/documents/fuzz/regressions/ to be kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
fuzz="$root/tests/documents/fuzz"
. "$root/tools/fuzz-build.sh"
fuzz_build "$root" fuzz_rtf_reader
work="$root/build-fuzz/fuzz-work"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/crashes"
cp "$fuzz"/corpus/* "$work/corpus/"
cp "$fuzz"/regressions/* "$work/corpus/" 2>/dev/null || true
cd "$work"
status=0
ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
QT_QPA_PLATFORM=offscreen \
    "$root/build-fuzz/tests/documents/fuzz/fuzz_rtf_reader" -max_total_time="$seconds" \
    -max_len=65536 -timeout=10 -rss_limit_mb=2048 -dict="$fuzz/rtf.dict" \
    -artifact_prefix="$work/crashes/" "$work/corpus" || status=$?
if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/crashes")" ]; then
    echo "fuzz.sh: the fuzzer found a fault; its input is in $work/crashes" >&2
    exit 1
fi
echo "fuzz.sh: no fault in $seconds seconds"
