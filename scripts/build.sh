#!/usr/bin/env bash
# Configures and builds SolarDesk into build/ (or the folder given as first argument).
#   scripts/build.sh                      # build/: the normal build (gcc, -O2)
#   scripts/build.sh build-asan --sanitize  # clang with AddressSanitizer and UndefinedBehaviorSanitizer
#                                           # at -O1: the tests and the libFuzzer targets in one build
# Further arguments go to cmake's configure step; SOLARDESK_BUILD_TARGETS limits what is built.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache hits across clones of the repository, wherever they are.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
# Precompiled headers are cached too (ccache's documented settings for them).
export CCACHE_SLOPPINESS=pch_defines,time_macros
dir="${1:-build}"
shift || true
args=()
if [ "${1:-}" = "--sanitize" ]; then
  shift
  args+=(-DCMAKE_CXX_COMPILER=clang++ -DSOLARDESK_SANITIZE=ON -DSOLARDESK_BENCH=OFF)
fi
# Ninja schedules both cores better than make; a folder configured before keeps its generator.
if [ ! -f "$dir/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  args+=(-G Ninja)
fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" "$@" >/dev/null
targets=()
for t in ${SOLARDESK_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
