#!/usr/bin/env bash
# Makes the Debian package of the build into a temporary folder and checks it: its contents and
# control files (tools/check-deb.sh), its manual pages as man renders them, lintian's errors
# where lintian is installed, and the program run from the unpacked package, which must load
# ScrivoOLE from the multiarch library folder the package puts it in. Exit 77 (skipped) where
# the Debian tools are missing.
#   check_package.sh SOURCE-DIR BUILD-DIR
set -euo pipefail
src=$1
build=$2
command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null && command -v cpack >/dev/null ||
    exit 77
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
debs=("$tmp"/out/vasora_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no vasora_*.deb"
deb=${debs[0]}
bash "$src/tools/check-deb.sh" "$deb"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
if command -v man >/dev/null; then
    for page in vasora vasora-cli vasora-rtf; do
        warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l -Tutf8 -Z "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "the manual page of $page: $warnings"
    done
fi
if command -v lintian >/dev/null; then
    # lintian fails on errors only; its warnings and notes are reported in the README.
    lintian --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1 ||
        { cat "$tmp/lintian" >&2; fail "lintian finds errors"; }
fi

# The unpacked program, given a lab book, loads the package's ScrivoOLE from beside its bin/.
mkdir -p "$tmp/home" "$tmp/desk"
cp "$root/usr/share/vasora/FinalLB.rtf" "$tmp/desk/mine.rtf"
(cd "$tmp/desk" && env -u XDG_DATA_HOME -u VASORA_SCRIVOOLE HOME="$tmp/home" QT_QPA_PLATFORM=offscreen \
    LD_DEBUG=files "$root/usr/bin/vasora" --quit-after-start mine.rtf) 2>"$tmp/loaded" ||
    fail "the unpacked program failed"
loaded=$(sed -n 's/.*file=\([^ ]*libScrivoOLE\.so\.0\) .*generating link map.*/\1/p' "$tmp/loaded" | head -n 1)
lib=$(find "$root/usr/lib" -name 'libScrivoOLE.so.0' | head -n 1)
[ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$(realpath "$lib")" ] ||
    fail "the unpacked program did not load the package's ScrivoOLE (${loaded:-none})"
[ -f "$tmp/home/.local/share/Vasora/FinalNT.rtf" ] ||
    fail "the unpacked program did not fill the learner's folder from its share/vasora"
echo "package: passed"
