#!/usr/bin/env bash
# Share of test code in the C++ sources: lines in tests/ against the lines of every C++ file of
# the repository (src/, tests/, fuzz/, bench/ and tools/), counting lines that are neither blank
# nor a // comment.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -- "$@" | grep -E '\.(cpp|cc|h|hpp)$' | xargs -r cat | grep -cvE '^\s*(//.*)?$' || true
}
tests=$(count tests)
all=$(count .)
awk -v t="$tests" -v a="$all" 'BEGIN { printf "tests %d of %d C++ lines: %.1f%%\n", t, a, 100 * t / a }'
