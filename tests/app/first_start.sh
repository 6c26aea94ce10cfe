#!/usr/bin/env bash
# The program's first start as from the desktop menu: an empty home, a current folder without
# the documents. It must make the learner's own project folder, fill it, keep the learner's
# files on the next start, and take a folder named with --project.
#   first_start.sh PATH-TO-vasora CONTENT-FOLDER
set -euo pipefail
exe=$1
content=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/elsewhere"
cd "$tmp/elsewhere"
start() { env -u XDG_DATA_HOME HOME="$tmp/home" QT_QPA_PLATFORM=offscreen "$exe" --quit-after-start "$@"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

start
user="$tmp/home/.local/share/Vasora"
for f in FinalNT.rtf FinalLB.rtf FileHelp.rtf OptionsHelp.rtf Img001.jpg .vasora-shipped; do
    [ -f "$user/$f" ] || fail "first start did not copy $f into $user"
done
[ -d "$user/Lab Book" ] || fail "no Lab Book folder"
[ -d "$user/Parameters" ] || fail "no Parameters folder"
ls "$user/Parameters"/*.txt >/dev/null 2>&1 || fail "no shipped parameter sets"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "the start wrote into the folder it was started in"

# The learner's files survive the next start; a deleted shipped file comes back.
echo "my lab book" > "$user/Lab Book/mine.rtf"
echo "my notes" > "$user/FinalLB.rtf"
rm "$user/FileHelp.rtf"
start
[ "$(cat "$user/Lab Book/mine.rtf")" = "my lab book" ] || fail "the learner's lab book changed"
[ "$(cat "$user/FinalLB.rtf")" = "my notes" ] || fail "the learner's changed template was replaced"
[ -f "$user/FileHelp.rtf" ] || fail "a deleted shipped file was not copied again"

# --project names the folder and fills it when it lacks the documents.
start --project "$tmp/class"
[ -f "$tmp/class/FinalNT.rtf" ] || fail "--project did not fill the folder"
[ -d "$tmp/class/Lab Book" ] || fail "--project made no Lab Book folder"
# Started in a folder that holds the documents (the source's content folder, as
# tools/build.sh run does), the program works there and makes no folder of its own.
rm -rf "$tmp/home"
mkdir -p "$tmp/home"
(cd "$content" && start)
[ ! -e "$tmp/home/.local/share/Vasora" ] || fail "a start in the content folder made a user folder"
echo "first start: passed"
