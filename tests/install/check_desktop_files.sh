#!/usr/bin/env bash
# The launcher and the AppStream metainfo pass their validators. Exit 77 (skipped) where the
# validators are not installed; tools/install-deps.sh installs them.
#   check_desktop_files.sh SOURCE-DIR
set -euo pipefail
pkg=$1/packaging
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null || exit 77
desktop-file-validate "$pkg/org.vasora.Vasora.desktop"
appstreamcli validate --no-net "$pkg/org.vasora.Vasora.metainfo.xml"
# The icon the launcher names is the one installed.
grep -qx 'Icon=org.vasora.Vasora' "$pkg/org.vasora.Vasora.desktop"
[ -f "$pkg/icons/org.vasora.Vasora.svg" ] && [ -f "$pkg/icons/48x48/org.vasora.Vasora.png" ]
echo "desktop files: passed"
