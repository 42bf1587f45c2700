#!/usr/bin/env bash
# Renders ventora.svg to the PNG sizes of the hicolor theme. Run after editing the drawing and
# commit the PNGs with it (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" ventora.svg -o "hicolor/${size}x${size}/apps/ventora.png"
done
