#!/usr/bin/env bash
# Fuzzes ScrivoOLE's readers of untrusted data, each for the given number of seconds (default
# 60), under AddressSanitizer and UndefinedBehaviorSanitizer with clang in build-fuzz/: the
# registry export reader and the object reader behind LoadRtf. Starts from the seed corpora and
# the kept regression files. Fails when a fuzzer finds a fault; the input it saved goes into
# tests/scrivoole/fuzz/regressions/ to be kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
fuzz="$root/tests/scrivoole/fuzz"
. "$root/tools/fuzz-build.sh"
fuzz_build "$root" fuzz_registry_file fuzz_object_reader
status=0
run() { # target, corpus folder, dictionary
    local target=$1 corpus=$2 dict=$3
    local work="$root/build-fuzz/fuzz-work-$target"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes"
    cp "$fuzz/$corpus"/* "$work/corpus/"
    cp "$fuzz"/regressions/* "$work/corpus/" 2>/dev/null || true
    local rc=0
    (cd "$work" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
        UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
        "$root/build-fuzz/tests/scrivoole/fuzz/$target" -max_total_time="$seconds" \
        -max_len=65536 -timeout=10 -rss_limit_mb=2048 -dict="$fuzz/$dict" \
        -artifact_prefix="$work/crashes/" "$work/corpus") || rc=$?
    if [ "$rc" -ne 0 ] || [ -n "$(ls -A "$work/crashes")" ]; then
        echo "fuzz-scrivoole.sh: $target found a fault; its input is in $work/crashes" >&2
        status=1
    else
        echo "fuzz-scrivoole.sh: $target, no fault in $seconds seconds"
    fi
}
run fuzz_registry_file registry-corpus registry.dict
run fuzz_object_reader object-corpus object.dict
exit "$status"
