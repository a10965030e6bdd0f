#!/bin/sh
# SPDX-License-Identifier: MIT
# Ends a suite run with what it could not test, and why: one line naming the
# platforms whose real-platform groups had no OpenGL ES 1.x context (the
# probes' result files), then any other test that skipped itself, with its
# reason (from CTest's log of the last run).
#   tools/skipped-groups.sh BUILD_DIR
[ $# -le 1 ] && [ "${1:--}" != -h ] || { echo "usage: $0 [BUILD_DIR]" >&2; exit 2; }
build=${1:-build/default}
platforms= reason=
for file in "$build"/tests/platform/*.txt; do
  [ -f "$file" ] && [ "$(cat "$file")" != ok ] || continue
  name=${file##*/}
  platforms="$platforms ${name%.txt}"
  [ -n "$reason" ] || reason=$(cat "$file")
done
[ -z "$platforms" ] ||
  echo "SKIPPED: the real-platform runs (e2e, native, memcheck) on$platforms: this Mesa makes no OpenGL ES 1.x context ($reason)"
log=$build/Testing/Temporary/LastTest.log
[ -f "$log" ] && awk '/^[0-9]+\/[0-9]+ Test: / { name = $3 }
  /^SKIPPED: / && !/OpenGL ES 1.x context/ { sub(/^SKIPPED: /, ""); print "SKIPPED: " name ": " $0 }' "$log"
exit 0
