#!/usr/bin/env bash
# Configures and builds SolarDesk into build/ (or the folder given as first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache hits across clones of the repository, wherever they are.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
dir="${1:-build}"
shift || true
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
