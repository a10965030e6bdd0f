#!/bin/sh
# Ends a suite run with one line naming the platforms whose real-platform
# groups were skipped, and why: the probe's result files of BUILD_DIR.
#   tools/skipped-groups.sh BUILD_DIR
results=${1:-build/default}/tests/platform
platforms= reason=
for file in "$results"/*.txt; do
  [ -f "$file" ] && [ "$(cat "$file")" != ok ] || continue
  name=${file##*/}
  platforms="$platforms ${name%.txt}"
  [ -n "$reason" ] || reason=$(cat "$file")
done
[ -z "$platforms" ] && exit 0
echo "SKIPPED: the real-platform runs (e2e, native, memcheck) on$platforms: this Mesa makes no OpenGL ES 1.x context ($reason)"
