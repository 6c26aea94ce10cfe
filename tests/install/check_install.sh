#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the installed tree, runs the installed
# vasora-cli on an installed parameter set, and starts the installed program once with an empty
# home to see that it fills the learner's folder from the installed content.
#   check_install.sh BUILD-DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/vasora bin/vasora-cli bin/vasora-rtf; do
    [ -x "$prefix/$f" ] || fail "$f not installed"
done
lib=$(find "$prefix" -name 'libScrivoOLE.so.0*' -type f | head -n 1)
[ -n "$lib" ] || fail "ScrivoOLE not installed"
[ -L "$(dirname "$lib")/libScrivoOLE.so.0" ] || fail "ScrivoOLE's soname link is missing"
[ -f "$prefix/include/ScrivoOLE/ScrivoOLE.h" ] || fail "ScrivoOLE.h not installed"
data="$prefix/share/vasora"
for f in FinalNT.rtf FinalLB.rtf FileHelp.rtf OptionsHelp.rtf Img001.jpg; do
    [ -f "$data/$f" ] || fail "share/vasora/$f not installed"
done
[ -d "$data/Lab Book" ] || fail "share/vasora/Lab Book not installed"
sets=("$data"/Parameters/*.txt)
[ -f "${sets[0]}" ] || fail "no parameter sets in share/vasora/Parameters"
[ ! -e "$data/src" ] && [ ! -e "$data/README.md" ] && [ ! -e "$data/Parameters/.keep" ] ||
    fail "sources or placeholders installed into share/vasora"
for f in applications/org.vasora.Vasora.desktop metainfo/org.vasora.Vasora.metainfo.xml \
         icons/hicolor/scalable/apps/org.vasora.Vasora.svg \
         man/man1/vasora.1.gz man/man1/vasora-cli.1.gz man/man1/vasora-rtf.1.gz \
         doc/vasora/README.md doc/vasora/LICENSE; do
    [ -f "$prefix/share/$f" ] || fail "share/$f not installed"
done
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/org.vasora.Vasora.png" ] ||
        fail "the ${size}x${size} icon is not installed"
done
# The Debian package's own files are its alone.
[ ! -e "$prefix/share/doc/vasora/copyright" ] && [ ! -e "$prefix/share/doc/vasora/changelog.Debian.gz" ] &&
    [ ! -e "$prefix/share/lintian" ] || fail "the Debian package's files installed by cmake --install"

# The installed vasora-cli runs the model, and takes an installed parameter set.
out=$("$prefix/bin/vasora-cli" --run 1 --format text)
grep -q '^lblPressSysA	' <<<"$out" || fail "vasora-cli printed no labels"
for s in "${sets[@]}"; do
    "$prefix/bin/vasora-cli" --params "$s" --run 1 --format text >/dev/null ||
        fail "vasora-cli refused the installed set $(basename "$s")"
done
"$prefix/bin/vasora-rtf" check "$data/FinalNT.rtf" --info "$data/FinalNT.rtf" >/dev/null ||
    fail "vasora-rtf check finds problems in the installed information file"

# The installed program fills a learner's folder from the installed content: a file only the
# installed tree has must arrive.
cp "$data/Img001.jpg" "$data/Img998.jpg"
mkdir -p "$tmp/home" "$tmp/desktop"
(cd "$tmp/desktop" && env -u XDG_DATA_HOME HOME="$tmp/home" QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/vasora" --quit-after-start)
[ -f "$tmp/home/.local/share/Vasora/Img998.jpg" ] ||
    fail "the installed program did not fill the learner's folder from share/vasora"

# Given a lab book, the installed program opens it, and its rich-text control loads the
# installed ScrivoOLE from the library folder beside bin/.
cp "$data/FinalLB.rtf" "$tmp/desktop/mine.rtf"
(cd "$tmp/desktop" && env -u XDG_DATA_HOME -u VASORA_SCRIVOOLE HOME="$tmp/home" \
    QT_QPA_PLATFORM=offscreen LD_DEBUG=files "$prefix/bin/vasora" --quit-after-start mine.rtf) \
    2>"$tmp/loaded"
loaded=$(sed -n 's/.*file=\([^ ]*libScrivoOLE\.so\.0\) .*generating link map.*/\1/p' "$tmp/loaded" | head -n 1)
[ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$(realpath "$lib")" ] ||
    fail "the installed program did not load the installed ScrivoOLE (${loaded:-none})"

# The desktop files, as installed, where the validators are present.
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/org.vasora.Vasora.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.vasora.Vasora.metainfo.xml" >/dev/null
fi
echo "install: passed"
