#!/usr/bin/env bash
# Inspects the Debian package CPack made: the files a learner's system needs are in it, in the
# usual places under /usr, and its dependencies name the Qt 6 runtime packages.
#   tools/check-deb.sh build/vasora_VERSION_ARCH.deb
set -euo pipefail
deb=$1
fail() { echo "FAILED: $*" >&2; exit 1; }
info=$(dpkg-deb -I "$deb")
files=$(dpkg-deb -c "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }')
for f in ./usr/bin/vasora ./usr/bin/vasora-cli ./usr/bin/vasora-rtf \
         ./usr/include/ScrivoOLE/ScrivoOLE.h \
         ./usr/share/vasora/FinalNT.rtf ./usr/share/vasora/FinalLB.rtf ./usr/share/vasora/Img001.jpg \
         "./usr/share/vasora/Lab Book/" \
         ./usr/share/applications/org.vasora.Vasora.desktop \
         ./usr/share/metainfo/org.vasora.Vasora.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/org.vasora.Vasora.svg \
         ./usr/share/icons/hicolor/48x48/apps/org.vasora.Vasora.png; do
    grep -qxF -- "$f" <<<"$files" || fail "$f is not in the package"
done
grep -q '^\./usr/lib/.*libScrivoOLE\.so\.0' <<<"$files" || fail "ScrivoOLE is not in the package"
grep -q '^\./usr/share/vasora/Parameters/.*\.txt$' <<<"$files" || fail "no parameter sets in the package"
depends=$(grep '^ Depends:' <<<"$info") || fail "the package has no dependencies"
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libqt6printsupport6 libc6 libstdc++6; do
    grep -q "\b$p\b" <<<"$depends" || fail "the package does not depend on $p"
done
echo "$info" | grep -E '^ (Package|Version|Architecture|Depends):'
echo "package $(basename "$deb"): $(wc -l <<<"$files") entries, checked"
