#!/bin/sh
# SPDX-License-Identifier: MIT
# Prints line and branch coverage of the project's own code (the four
# library folders; tests, fakes and benchmarks excluded) from a coverage build.
#   tools/coverage-report.sh [BUILD_DIR]    default: build/coverage
set -eu
case ${1:-} in -*) echo "usage: $0 [BUILD_DIR]" >&2; exit 2 ;; esac
[ $# -le 1 ] || { echo "usage: $0 [BUILD_DIR]" >&2; exit 2; }
cd "$(dirname "$0")/.."
build=${1:-build/coverage}
gcovr --root . --object-directory "$build" \
  --filter 'harness/' --filter 'primitives/' --filter 'fixedmath/' --filter 'eglsweep/' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --print-summary --txt "$build/coverage.txt" --html-details "$build/coverage.html"
cat "$build/coverage.txt"
