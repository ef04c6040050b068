#!/usr/bin/env bash
# Makes the Debian package (cpack -G DEB) and shows what apt would do to
# install it on a fresh machine, without installing anything (an empty package
# database stands for the fresh machine): every package it needs must be
# found in the archive. Needs the package lists (apt-get update).
# Usage: tools/make_deb.sh [BUILD_DIR]   -> BUILD_DIR/astrovela_VERSION_ARCH.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" --target astrovela
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
deb=$(ls -t "$BUILD_DIR"/astrovela_*.deb | sed -n 1p)
dpkg-deb --info "$deb"
echo "== what installing it on a fresh machine would do (simulated)"
status=$(mktemp)
trap 'rm -f "$status"' EXIT
apt-get install --simulate -o Dir::State::status="$status" "./$deb" | grep -E '^(Inst|E:)'
echo "== on this machine (simulated)"
apt-get install --simulate "./$deb" | grep -E '^(Inst|E:)' 
echo "== made $deb"
