#!/usr/bin/env bash
# Installs what is missing, builds and starts Astrovela.
# Without a display the program runs on a virtual X display (Xvfb).
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
echo "== configuring in $BUILD_DIR"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "== building"
cmake --build "$BUILD_DIR" -j"$(nproc)" --target astrovela
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "== no display found: starting Astrovela on a virtual X display (xvfb-run)"
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$BUILD_DIR/bin/astrovela" "$@"
fi
echo "== starting Astrovela"
exec "$BUILD_DIR/bin/astrovela" "$@"
