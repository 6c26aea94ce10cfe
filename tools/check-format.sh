#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what .clang-format makes of it, and names
# each such file. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang-format >/dev/null
bad=$(git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run 2>&1 |
          sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' |
          sort -u)
if [ -n "$bad" ]; then
    echo "These files differ from .clang-format:"
    echo "$bad" | sed 's/^/  /'
    exit 1
fi
echo "check-format: every C++ file is as .clang-format makes it"
