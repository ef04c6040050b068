#!/usr/bin/env bash
# Renders the program's icon (packaging/linux/icons/*.svg) to the PNG sizes
# the desktop's icon theme uses. Run by hand after changing the drawing; the
# PNGs are kept in the repository, so the build needs no SVG renderer.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/linux/icons"
svg=io.github.astrovela.astrovela.svg
for size in 16 24 32 48 64 128 256 512; do
  rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}.png"
done
