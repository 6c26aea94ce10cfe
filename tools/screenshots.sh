#!/usr/bin/env bash
# Pictures of the main windows for the README, taken from the real program on a virtual screen
# of 1366 x 768 with a small window manager: the program's --tour opens the windows one after
# another and saves the screen at each stop into docs/screenshots/.
# Needs the Debian packages xvfb and openbox (not needed by the build or the tests).
#   tools/screenshots.sh [path of the vasora program]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/app/vasora}
out="$root/docs/screenshots"
[ -x "$exe" ] || { echo "build first: tools/build.sh test" >&2; exit 1; }
command -v Xvfb >/dev/null && command -v openbox >/dev/null ||
    { echo "install xvfb and openbox first" >&2; exit 1; }
display=:77
Xvfb $display -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
sleep 1
mkdir -p "$out"
# A home of its own, so that the tour starts as a learner's first session would.
home=$(mktemp -d)
cd "$root/content"
DISPLAY=$display HOME="$home" QT_QPA_PLATFORM=xcb timeout 120 "$exe" --tour "$out"
rm -rf "$home"
ls -1 "$out"
