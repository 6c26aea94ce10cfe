#!/usr/bin/env bash
# The program's command line as a process. --help and --version print and end without the
# toolkit (no display is reachable: a start of the toolkit would fail) and without filling the
# learner's folder; unknown options print the usage on standard error with exit status 2; a lab
# book named on the command line, relative to the folder the program was started in, is opened
# once the main menu is up, and one that is no lab book is reported once.
#   command_line.sh PATH-TO-vasora CONTENT-FOLDER
set -euo pipefail
exe=$1
content=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/home" "$tmp/elsewhere"
cd "$tmp/elsewhere"
here=$(pwd -P)
fail() { echo "FAILED: $*" >&2; exit 1; }
# No display of any kind: the toolkit cannot start here.
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME QT_QPA_PLATFORM=xcb HOME="$tmp/home" "$exe" "$@"; }
headless() { env -u XDG_DATA_HOME QT_QPA_PLATFORM=offscreen HOME="$tmp/home" "$exe" "$@"; }
status() { set +e; "$@" >"$tmp/out" 2>"$tmp/err"; echo $?; set -e; }

[ "$(status bare --help)" = 0 ] || fail "--help: $(cat "$tmp/err")"
grep -q '^Usage: vasora \[OPTION\]\.\.\. \[LAB-BOOK\.rtf\]$' "$tmp/out" || fail "--help printed no usage"
grep -q -- '--project DIR' "$tmp/out" || fail "--help does not name --project"
[ ! -s "$tmp/err" ] || fail "--help wrote to standard error: $(cat "$tmp/err")"
[ "$(status bare -h --project somewhere)" = 0 ] || fail "-h did not answer"
[ "$(status bare --version)" = 0 ] || fail "--version: $(cat "$tmp/err")"
grep -qx 'vasora [0-9][0-9.]*' "$tmp/out" || fail "--version printed $(cat "$tmp/out")"
[ "$(status bare --bogus book.rtf)" = 2 ] || fail "an unknown option did not give exit status 2"
[ ! -s "$tmp/out" ] || fail "an unknown option printed on standard output"
grep -q -- 'unknown option --bogus' "$tmp/err" || fail "the refusal does not name the option"
grep -q '^Usage: vasora' "$tmp/err" || fail "no usage after an unknown option"
[ -z "$(ls -A "$tmp/home")" ] || fail "answering the command line wrote into the home folder"
[ -z "$(ls -A "$tmp/elsewhere")" ] || fail "answering the command line wrote into the current folder"

# What is left once the toolkit has taken its own options is refused the same way.
[ "$(status headless -platform offscreen -nonsense)" = 2 ] || fail "-nonsense was not refused"
grep -q -- 'unknown option -nonsense' "$tmp/err" || fail "the refusal does not name -nonsense"
[ "$(status headless one.rtf two.rtf)" = 2 ] || fail "two lab books were not refused"

# A book named relative to the start folder is found there, though the program then works in
# the project folder named with --project.
mkdir -p "$tmp/elsewhere/books"
cp "$content/FinalLB.rtf" "$tmp/elsewhere/books/mine.rtf"
[ "$(status headless --quit-after-start --project "$tmp/class" books/mine.rtf)" = 0 ] ||
    fail "the start with a lab book failed: $(cat "$tmp/err")"
! grep -qi 'lab book' "$tmp/err" || fail "the lab book was not opened: $(grep -i 'lab book' "$tmp/err")"
[ -f "$tmp/class/FinalNT.rtf" ] || fail "--project with a lab book did not fill the folder"
cmp -s "$content/FinalLB.rtf" "$tmp/elsewhere/books/mine.rtf" || fail "opening the book changed it"

# One that is missing, or is no lab book, gets the retrieve path's one message; the program
# goes on to its main menu and ends normally.
[ "$(status headless --quit-after-start --project "$tmp/class" books/gone.rtf)" = 0 ] ||
    fail "a missing lab book ended the program: $(cat "$tmp/err")"
[ "$(grep -c 'lab book' "$tmp/err")" = 1 ] || fail "not one message: $(cat "$tmp/err")"
grep -qxF "The lab book gone.rtf was not found in $here/books." "$tmp/err" ||
    fail "the message names another place: $(grep 'lab book' "$tmp/err")"
echo "not a book" > "$tmp/elsewhere/books/notes.rtf"
[ "$(status headless --quit-after-start --project "$tmp/class" -- books/notes.rtf)" = 0 ] ||
    fail "a file that is no lab book ended the program"
grep -qxF "The file notes.rtf is not a lab book: it is not a rich-text (RTF) file." "$tmp/err" ||
    fail "no message for a file that is no lab book: $(cat "$tmp/err")"
echo "command line: passed"
