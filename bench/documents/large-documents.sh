#!/usr/bin/env bash
# Runs each large-document benchmark in a process of its own, so that its peak memory is its
# own, then times `vasora-rtf text` on the file of two million empty paragraphs with
# /usr/bin/time. Needs an optimised build (tools/build.sh bench builds one in build-bench/).
#   bench/documents/large-documents.sh [BUILD-DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-bench}
export QT_QPA_PLATFORM=offscreen
bench="$build/bench/documents/bench_large_documents"
for name in BM_LoadTwoMillionEmptyParagraphs BM_LoadTableOf20000Rows BM_LoadAlternatingFormats; do
    "$bench" --benchmark_filter="^$name/" 2>/dev/null | grep "^BM_"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{ printf '{\\rtf1 '; head -c 10000000 /dev/zero | tr '\0' 'x' | sed 's/x\{5\}/\\par /g'; printf '}'; } \
    > "$work/paragraphs.rtf"
/usr/bin/time -f "vasora-rtf text, 2 million empty paragraphs: %e s, peak %M KB" \
    "$build/tools/vasora-rtf/vasora-rtf" text "$work/paragraphs.rtf" >/dev/null 2>"$work/err" \
    || true
grep "vasora-rtf text" "$work/err"
