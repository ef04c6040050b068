#!/usr/bin/env bash
# Remakes the pictures of the manual (help/images/*.png) from the real program,
# on a virtual X display, with a fresh configuration and the sample element file.
# Usage: tools/make_help_pictures.sh [BUILD_DIR]   (after a build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake --build "$BUILD_DIR" --target help_shots astrovela >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/config/Astrovela" "$tmp/run"
chmod 700 "$tmp/run"
printf '[Generali]\nLingua=english.ini\n[Database]\nPrimario=%s\n' "$PWD/tests/data/elements_sample.txt" > "$tmp/config/Astrovela/Astrovela.conf"
XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/run" HOME="$tmp" \
  xvfb-run -a -s "-screen 0 1280x900x24" "$BUILD_DIR/bin/help_shots" "$PWD/help/images"
ls -l help/images
