#!/usr/bin/env bash
# A local check, not run in CI: compares the words vasora-rtf reads from each RTF file of a
# folder with the words LibreOffice Writer reads from it (converted to plain text), and lists
# the files where they differ. Needs soffice (Debian: libreoffice-writer-nogui) and a built
# vasora-rtf (default build/tools/vasora-rtf/vasora-rtf).
#   tools/vasora-rtf/compare-text-libreoffice.sh FOLDER [VASORA-RTF]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=$1
tool=${2:-$root/build/tools/vasora-rtf/vasora-rtf}
command -v soffice >/dev/null || { echo "soffice is not installed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lo" "$work/home"
export QT_QPA_PLATFORM=offscreen
# Words only: the two programs lay out tables, tabs and list numbers differently.
words() { tr -s '[:space:]' '\n' | grep -v '^$' || true; }
same=0
differ=0
for file in "$folder"/*.rtf "$folder"/*.RTF; do
    [ -f "$file" ] || continue
    name=$(basename "$file")
    cp "$file" "$work/in.rtf"
    rm -f "$work/lo/in.txt"
    HOME="$work/home" timeout 120 soffice --headless --norestore \
        --convert-to "txt:Text (encoded):UTF8" --outdir "$work/lo" "$work/in.rtf" \
        >/dev/null 2>&1 || true
    if [ ! -f "$work/lo/in.txt" ]; then
        echo "$name: LibreOffice could not read it"
        continue
    fi
    # LibreOffice writes a byte-order mark first.
    sed '1s/^\xEF\xBB\xBF//' "$work/lo/in.txt" | words > "$work/theirs"
    status=0
    timeout 60 "$tool" text "$work/in.rtf" 2>/dev/null | words > "$work/ours" || status=$?
    if cmp -s "$work/ours" "$work/theirs"; then
        same=$((same + 1))
    else
        differ=$((differ + 1))
        echo "$name: the words differ (vasora-rtf exit status $status)"
        diff "$work/ours" "$work/theirs" | head -n 6 | sed 's/^/    /' || true
    fi
done
echo "$same files read with the same words, $differ with other words"
