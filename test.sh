#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
# Safe to run twice. Usage: ./test.sh   (as root on Debian, or with the packages present)
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
echo "== configuring in $BUILD_DIR"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "== building"
cmake --build "$BUILD_DIR" -j"$(nproc)"
echo "== running the tests"
cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300
