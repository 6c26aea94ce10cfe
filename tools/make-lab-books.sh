#!/bin/sh
# Makes the two shipped lab books from their one source, content/src/FinalLB.vtx: the template
# every learner copies, and the worked sample, which is the source with its answers written in
# and every table button clicked by vasora-rtf play, so that every value in it is what the model
# really shows. Prints the play's report of every table; both books are then checked.
#   tools/make-lab-books.sh [path of vasora-rtf]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/tools/vasora-rtf/vasora-rtf}
src=$root/content/src/FinalLB.vtx
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$tool" compile "$src" "$root/content/FinalLB.rtf"
"$tool" compile --sample "$src" "$tmp/sample.rtf"
"$tool" play "$tmp/sample.rtf" "$root/content/Explore.rtf"
for book in FinalLB Explore; do
    "$tool" check "$root/content/$book.rtf" --info "$root/content/FinalNT.rtf"
done
