#!/bin/sh
# Prints line and branch coverage of the project's own code (the four
# library folders; tests, fakes and benchmarks excluded) from a coverage build.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/coverage}
gcovr --root . --object-directory "$build" \
  --filter 'harness/' --filter 'primitives/' --filter 'fixedmath/' --filter 'eglsweep/' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --print-summary --txt "$build/coverage.txt" --html-details "$build/coverage.html"
cat "$build/coverage.txt"
