#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short run of every fuzz target.
# Windows are tested on Qt's offscreen platform, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== build and test"
scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"

echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DSOLARDESK_SANITIZE=ON -DSOLARDESK_BENCH=OFF
# Qt's own libraries are not instrumented and keep some memory to the end on purpose; leaks are
# watched by the fault soak instead.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -E solardesk_package

echo "== fuzzing, about 30 s a target"
scripts/fuzz.sh 30
