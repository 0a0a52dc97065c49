#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG. Run after a change of the
# SVG (needs rsvg-convert, Debian's librsvg2-bin); the PNGs are kept in the
# tree so that building and packaging need no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" org.orvan.Orvan.svg -o "${size}x${size}/org.orvan.Orvan.png"
done
