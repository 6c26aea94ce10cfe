#!/usr/bin/env bash
# Cross-builds ScrivoOLE as a 32-bit Windows DLL in build-mingw/ and checks that its fifteen
# exports carry their plain names (stdcall functions exported without their @n decoration),
# and that the DLL needs no MinGW runtime DLL beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
out="$root/build-mingw"
cmake -S "$root/scrivoole" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/scrivoole/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out" -j 2
dll="$out/ScrivoOLE.dll"
dump=$(i686-w64-mingw32-objdump -p "$dll")
grep -q "file format pei-i386" <<<"$dump" || { echo "cross-scrivoole.sh: $dll is not a 32-bit DLL" >&2; exit 1; }
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump")
status=0
for name in GET_EXTOBJ_VERSION GET_RTFOPER ITS_I SET_OLDCREATOR New_EXTOBJ New_EXTOBJEX \
            SET_OBJECTHOSTNAME GET_REGISTRYRECORD GET_OLESERVERNAME IS_OLESERVER \
            GET_ASSEXTENSIONS GET_EXTASS GET_KEYFIRSTLEVELVALUE GET_LASTFIRSTLEVELVALUE \
            IS_FILELOADABLE; do
    if ! grep -qE "\] ${name}\$" <<<"$exports"; then
        echo "cross-scrivoole.sh: export $name missing or decorated" >&2
        status=1
    fi
done
if grep -q '@' <<<"$exports"; then
    echo "cross-scrivoole.sh: decorated names exported:" >&2
    grep '@' <<<"$exports" >&2
    status=1
fi
if grep -qiE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)' <<<"$dump"; then
    echo "cross-scrivoole.sh: the DLL needs a MinGW runtime DLL" >&2
    status=1
fi
[ "$status" -eq 0 ] && echo "cross-scrivoole.sh: $dll exports the fifteen functions by their plain names"
exit "$status"
