#!/usr/bin/env bash
# Runs every libFuzzer target for the given number of seconds (default 30) on its seed corpus.
# The targets are built by the sanitizer build (scripts/build.sh build-asan --sanitize: clang,
# AddressSanitizer, UndefinedBehaviorSanitizer), the same build that runs the tests under the
# sanitizers, so CI compiles the code twice, not three times.
#   scripts/fuzz.sh            # about 30 s a target
#   scripts/fuzz.sh 600        # ten minutes a target
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
if ! command -v clang++ >/dev/null; then
  if [ -n "${CI:-}" ]; then
    echo "clang++ not found: CI fuzzes every target (scripts/install-deps.sh installs clang)"
    exit 1
  fi
  echo "clang++ not found: fuzzing skipped (scripts/install-deps.sh installs clang)"
  exit 0
fi
targets=$(sed -n 's/^solardesk_add_fuzzer(\([a-z_]*\) .*/\1/p' fuzz/CMakeLists.txt)
SOLARDESK_BUILD_TARGETS="$targets" scripts/build.sh build-asan --sanitize
# Runs one target; its log is kept in build-asan/TARGET.log.
fuzz_one() {
  local t="$1"
  local corpus="fuzz/corpus/${t#fuzz_}"
  local work="build-asan/fuzz-corpus/${t#fuzz_}"
  # Inputs that cause a fault are written here, never into the folder the script runs from.
  local artifacts="build-asan/fuzz-artifacts/${t#fuzz_}/"
  local log="build-asan/$t.log"
  mkdir -p "$work" "$artifacts"
  if ! QT_QPA_PLATFORM=offscreen "build-asan/fuzz/$t" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$corpus" \
      >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$t found a fault; the input that caused it is named above"
    return 1
  fi
  echo "== $t, ${seconds}s: $(grep -E '^stat::number_of_executed_units' "$log")"
}
# One target per core at a time.
failed=0
running=0
for t in $targets; do
  fuzz_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit "$failed"
