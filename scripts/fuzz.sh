#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each for the given number of seconds (default 30) on its seed corpus.
#   scripts/fuzz.sh            # about 30 s a target, as CI does
#   scripts/fuzz.sh 600        # ten minutes a target
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache hits across clones of the repository, wherever they are.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
seconds="${1:-30}"
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: fuzzing skipped"
  exit 0
fi
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSOLARDESK_FUZZ=ON -DBUILD_TESTING=OFF -DSOLARDESK_BENCH=OFF -DSOLARDESK_WERROR=OFF >/dev/null
targets=$(sed -n 's/^solardesk_add_fuzzer(\([a-z_]*\) .*/\1/p' fuzz/CMakeLists.txt)
cmake --build build-fuzz -j"$(nproc)" --target $targets
for t in $targets; do
  corpus="fuzz/corpus/${t#fuzz_}"
  work="build-fuzz/corpus/${t#fuzz_}"
  # Inputs that cause a fault are written here, never into the folder the script runs from.
  artifacts="build-fuzz/artifacts/${t#fuzz_}/"
  mkdir -p "$work" "$artifacts"
  echo "== $t for ${seconds}s"
  log="build-fuzz/$t.log"
  if ! QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$corpus" \
      >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$t found a fault; the input that caused it is named above"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$log"
done
