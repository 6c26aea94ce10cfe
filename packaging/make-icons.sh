#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG (Debian package librsvg2-bin). The PNGs are
# committed, so the build needs no renderer; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" org.vasora.Vasora.svg -o "${size}x${size}/org.vasora.Vasora.png"
done
