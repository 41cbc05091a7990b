#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer (clang, in the build that also makes the fuzz
# targets), and a short run of every fuzz target. Windows are tested on Qt's offscreen platform,
# so no display is needed. The time of each stage is printed at the end.
#   scripts/test.sh            # everything, as CI runs it
#   scripts/test.sh --quick    # the normal build and its tests only, for the development loop
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
[ "${1:-}" = "--quick" ] && quick=true
export QT_QPA_PLATFORM=offscreen

stages=()
stage_start=$SECONDS
# Ends the running stage: its name and seconds go into the table printed at the end.
stage_done() {
  stages+=("$(printf '%-44s %5d s' "$1" $((SECONDS - stage_start)))")
  stage_start=$SECONDS
}
report() {
  echo "== stage times"
  printf '%s\n' "${stages[@]}"
  printf '%-44s %5d s\n' "total" "$SECONDS"
}
trap report EXIT

scripts/install-deps.sh
stage_done "install what is missing"

# Most of the tests' time is spent waiting on real time (processes, brokers, one-second samples),
# not computing: CTest runs three of them per core, the slow programs split into shares.
test_jobs=$(($(nproc) * 3))

echo "== build and test"
scripts/build.sh build
stage_done "normal build"
ctest --test-dir build --output-on-failure -j"$test_jobs"
stage_done "normal tests"
$quick && exit 0

echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build-asan --sanitize
stage_done "sanitizer build (tests and fuzz targets)"
# Qt's own libraries are not instrumented and keep some memory to the end on purpose; leaks are
# watched by the fault soak instead.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$test_jobs" -E solardesk_package
stage_done "sanitizer tests"

echo "== fuzzing, ${SOLARDESK_FUZZ_SECONDS:-10} s a target"
scripts/fuzz.sh "${SOLARDESK_FUZZ_SECONDS:-10}"
stage_done "fuzzing"
