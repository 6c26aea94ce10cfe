#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the fuzzing and the packaging need (the
# desktop files' validators, dpkg-shlibdeps for the package's dependencies), but only when one
# is missing, so a second run costs a second.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgtest-dev
      libbenchmark-dev clang libclang-rt-14-dev time g++-mingw-w64-i686 binutils-mingw-w64-i686
      desktop-file-utils appstream dpkg-dev file fonts-liberation2)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
