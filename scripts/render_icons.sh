#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/org.zentorix.Zentorix.svg) into the
# PNG sizes of the hicolor theme that the install ships. Run it after a change of
# the drawing: scripts/render_icons.sh (needs rsvg-convert, package librsvg2-bin).
set -euo pipefail
icons=$(cd "$(dirname "${BASH_SOURCE[0]}")/../packaging/icons" && pwd)
for size in 16 22 24 32 48 64 128 256; do
    out="$icons/hicolor/${size}x${size}/apps"
    mkdir -p "$out"
    rsvg-convert -w "$size" -h "$size" "$icons/org.zentorix.Zentorix.svg" \
        -o "$out/org.zentorix.Zentorix.png"
done
