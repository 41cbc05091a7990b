#!/usr/bin/env bash
# Share of test code in the C++ sources: lines in tests/ against lines in src/, tests/, fuzz/ and
# bench/, counting lines that are neither blank nor a // comment.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
    xargs -0 -r cat | grep -cvE '^[[:space:]]*(//|$)' || true
}
tests=$(count tests)
all=$(count src tests fuzz bench)
awk -v t="$tests" -v a="$all" 'BEGIN { printf "tests %d of %d C++ lines: %.1f%%\n", t, a, 100 * t / a }'
