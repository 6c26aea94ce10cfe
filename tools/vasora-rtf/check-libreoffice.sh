#!/usr/bin/env bash
# A local check, not run in CI: opens an RTF file in LibreOffice Writer, saves it again as RTF
# and compares the tags (codes and order) before and after. Needs soffice and a built
# vasora-rtf (default build/tools/vasora-rtf/vasora-rtf).
#   tools/vasora-rtf/check-libreoffice.sh FILE.rtf [VASORA-RTF]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
file=$1
tool=${2:-$root/build/tools/vasora-rtf/vasora-rtf}
command -v soffice >/dev/null || { echo "soffice is not installed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/home"
"$tool" roundtrip "$file" "$work/ours.rtf"
HOME="$work/home" soffice --headless --norestore --convert-to rtf:"Rich Text Format" \
    --outdir "$work/out" "$work/ours.rtf" >/dev/null 2>&1
export QT_QPA_PLATFORM=offscreen
"$tool" tags "$work/ours.rtf" | cut -f3 > "$work/before.txt"
"$tool" tags "$work/out/ours.rtf" | cut -f3 > "$work/after.txt"
if diff -u "$work/before.txt" "$work/after.txt"; then
    echo "all $(wc -l < "$work/before.txt") tags kept their codes through LibreOffice"
else
    echo "tags changed through LibreOffice" >&2
    exit 1
fi
