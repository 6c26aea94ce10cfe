#!/usr/bin/env bash
# The shipped parameter sets are what tools/make-cases.sh makes with this build's vasora-cli.
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
echo "shipped cases: passed"
