#!/usr/bin/env bash
# Inspects the Debian package CPack made: the files a learner's system needs are in it, in the
# usual places under /usr, with what Debian asks of a package (copyright, changelog, manual
# pages, the library in the multiarch folder with its ldconfig trigger and no maintainer
# scripts), and its dependencies name the Qt 6 runtime packages and the documents' font.
#   tools/check-deb.sh build/vasora_VERSION_ARCH.deb
set -euo pipefail
deb=$1
fail() { echo "FAILED: $*" >&2; exit 1; }
info=$(dpkg-deb -I "$deb")
files=$(dpkg-deb -c "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); sub(/ -> .*$/, ""); print }')
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
doc=./usr/share/doc/vasora
for f in ./usr/bin/vasora ./usr/bin/vasora-cli ./usr/bin/vasora-rtf \
         ./usr/share/vasora/FinalNT.rtf ./usr/share/vasora/FinalLB.rtf ./usr/share/vasora/Img001.jpg \
         "./usr/share/vasora/Lab Book/" \
         ./usr/share/applications/org.vasora.Vasora.desktop \
         ./usr/share/metainfo/org.vasora.Vasora.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/org.vasora.Vasora.svg \
         $doc/copyright $doc/changelog.Debian.gz \
         ./usr/share/man/man1/vasora.1.gz ./usr/share/man/man1/vasora-cli.1.gz \
         ./usr/share/man/man1/vasora-rtf.1.gz \
         "./usr/lib/$multiarch/libScrivoOLE.so.0"; do
    grep -qxF -- "$f" <<<"$files" || fail "$f is not in the package"
done
for size in 16 22 24 32 48 64 128 256; do
    f=./usr/share/icons/hicolor/${size}x${size}/apps/org.vasora.Vasora.png
    grep -qxF -- "$f" <<<"$files" || fail "$f is not in the package"
done
grep -q "^\./usr/lib/$multiarch/libScrivoOLE\.so\.0\.[0-9.]*$" <<<"$files" ||
    fail "ScrivoOLE is not in the package's multiarch library folder"
grep -q '^\./usr/share/vasora/Parameters/.*\.txt$' <<<"$files" || fail "no parameter sets in the package"
# What a program's run-time package must not hold: the development link, the header, a library
# outside the multiarch folder, the documentation under the project's capitalised name.
for pattern in '^\./usr/lib/.*\.so$' '^\./usr/include/' '^\./usr/lib/libScrivoOLE' '^\./usr/share/doc/Vasora/'; do
    ! grep -q "$pattern" <<<"$files" || fail "the package holds $(grep -m1 "$pattern" <<<"$files")"
done

# The library is made known to the dynamic linker by dpkg's ldconfig trigger, not by scripts.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -e "$deb" "$tmp/control"
grep -qx 'activate-noawait ldconfig' "$tmp/control/triggers" 2>/dev/null || fail "no ldconfig trigger"
for script in preinst postinst prerm postrm; do
    [ ! -e "$tmp/control/$script" ] || fail "the package has a $script script"
done
grep -q '^libScrivoOLE 0 vasora' "$tmp/control/shlibs" || fail "no shlibs entry for ScrivoOLE"

# The copyright file is machine-readable and names the licence; the newest changelog entry is
# this version's; the manual pages are gzip files that name their program.
dpkg-deb -x "$deb" "$tmp/root"
copyright=$tmp/root/usr/share/doc/vasora/copyright
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -q '^License: GPL-3+$' "$copyright" || fail "the copyright file names no licence"
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$tmp/root/usr/share/metainfo/org.vasora.Vasora.metainfo.xml" || fail "the metainfo names another licence"
version=$(sed -n 's/^ Version: //p' <<<"$info")
zcat "$tmp/root/usr/share/doc/vasora/changelog.Debian.gz" | head -1 | grep -qF "vasora ($version) " ||
    fail "the changelog's newest entry is not version $version"
for page in vasora vasora-cli vasora-rtf; do
    zcat "$tmp/root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1 " ||
        fail "the manual page of $page is not a section 1 page of $page"
done
desktop=$tmp/root/usr/share/applications/org.vasora.Vasora.desktop
grep -qx 'Exec=vasora %f' "$desktop" || fail "the launcher does not hand a lab book to the program"
grep -qx 'StartupWMClass=Vasora' "$desktop" || fail "the launcher names no window class"

depends=$(grep '^ Depends:' <<<"$info") || fail "the package has no dependencies"
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libqt6printsupport6 libc6 libstdc++6 \
         fonts-liberation2; do
    grep -q "\b$p\b" <<<"$depends" || fail "the package does not depend on $p"
done
echo "$info" | grep -E '^ (Package|Version|Architecture|Depends):'
echo "package $(basename "$deb"): $(wc -l <<<"$files") entries, checked"
