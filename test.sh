#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# CTest; then builds the tests again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them with the computer's clock in
# Newfoundland's zone (three and a half hours west, with summer time), so
# that a test that holds only in universal time fails here, and runs each
# fuzz target on its corpus for a short while. Any failure or sanitizer
# finding fails the run.
# Safe to run twice. Usage: ./test.sh   (as root on Debian, or with the packages present)
#   BUILD_DIR=build       the normal build
#   SANITIZE=0            skip the sanitizer build and its tests
#   FUZZ_SECONDS=30       seconds per fuzz target; 0 skips the fuzz runs
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
SANITIZE=${SANITIZE:-1}
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
JOBS=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
start=$SECONDS

echo "== configuring in $BUILD_DIR"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
echo "== building"
cmake --build "$BUILD_DIR" -j"$JOBS"
echo "== running the tests"
(cd "$BUILD_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$JOBS" --timeout 300)
echo "== tests passed ($((SECONDS - start)) s so far)"

if [ "$SANITIZE" != 0 ]; then
  echo "== building the tests with AddressSanitizer and UndefinedBehaviorSanitizer in build-san"
  cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DASTROVELA_SANITIZE=ON -DASTROVELA_BENCH=OFF \
    "${launcher[@]}" >/dev/null
  cmake --build build-san -j"$JOBS"
  echo "== running the tests under the sanitizers, in the time zone America/St_Johns"
  supp=$PWD/tests/sanitizers
  (cd build-san && QT_QPA_PLATFORM=offscreen TZ=America/St_Johns \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j"$JOBS" --timeout 600)
  echo "== sanitizer tests passed ($((SECONDS - start)) s so far)"
fi

if [ "$FUZZ_SECONDS" != 0 ]; then
  echo "== building the fuzz targets with clang in build-fuzz"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DASTROVELA_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
  cmake --build build-fuzz -j"$JOBS"
  echo "== fuzzing each target for $FUZZ_SECONDS s"
  ./tests/fuzz/run.sh build-fuzz "$FUZZ_SECONDS"
fi
echo "== all checks passed in $((SECONDS - start)) s"
