#!/usr/bin/env bash
# Times the whole program from process start to the main menu shown (model window and layout
# sheet created, the first run made), and reports its peak memory. Uses the optimised build.
#   tools/measure-startup.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20}
exe="$root/build-bench/app/vasora"
[ -x "$exe" ] || { echo "build first: tools/build.sh bench" >&2; exit 1; }
cd "$root/content"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$exe" --quit-after-start 2>/dev/null  # warm the file cache
best=999999; total=0
for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    "$exe" --quit-after-start 2>/dev/null
    t1=$(date +%s%N)
    ms=$(( (t1 - t0) / 1000000 ))
    total=$((total + ms))
    [ "$ms" -lt "$best" ] && best=$ms
done
peak=$( { /usr/bin/time -f '%M' "$exe" --quit-after-start; } 2>&1 | tail -n 1)
echo "start-up to the main menu: best ${best} ms, mean $((total / runs)) ms over ${runs} runs"
echo "peak resident memory: $((peak / 1024)) MB"
