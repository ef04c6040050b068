#!/usr/bin/env bash
# Makes the Debian package (cpack -G DEB) and shows what apt would do to
# install it on this machine, without installing anything: every dependency it
# declares must be found in the archive.
# Usage: tools/make_deb.sh [BUILD_DIR]   -> BUILD_DIR/astrovela_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target astrovela
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
deb=$(ls -t "$BUILD_DIR"/astrovela_*.deb | head -n 1)
dpkg-deb --info "$deb"
echo "== what installing it would do (simulated)"
apt-get install --simulate --no-install-recommends "./$deb"
echo "== made $deb"
