#!/usr/bin/env bash
# The shipped parameter sets are what tools/make-cases.sh makes with this build's vasora-cli,
# and each, retrieved, shows no Model Error: its volumes add up to the blood volume it holds.
#   check_cases.sh SOURCE-DIR VASORA-CLI
set -euo pipefail
src=$1
cli=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$src/tools/make-cases.sh" "$cli" "$tmp" >/dev/null
shipped=$(cd "$src/content/Parameters" && ls -- *.txt)
made=$(cd "$tmp" && ls -- *.txt)
[ "$shipped" = "$made" ] || { echo "FAILED: shipped sets differ from the made ones:"; diff <(echo "$shipped") <(echo "$made"); exit 1; }
while IFS= read -r f; do
    cmp -s "$src/content/Parameters/$f" "$tmp/$f" || { echo "FAILED: $f differs"; diff "$src/content/Parameters/$f" "$tmp/$f"; exit 1; }
done <<<"$shipped"
while IFS= read -r f; do
    error=$("$cli" --params "$src/content/Parameters/$f" --format text | awk -F'\t' '$1 == "lblVolError" { print $2 }')
    awk -v e="$error" 'BEGIN { exit !(e != "" && e + 0 < 0.05 && e + 0 > -0.05) }' ||
        { echo "FAILED: $f, retrieved, shows a Model Error of \"$error\" ml"; exit 1; }
done <<<"$shipped"
echo "shipped cases: passed"
