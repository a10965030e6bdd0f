#!/bin/sh
# Runs a command that needs an OpenGL ES 1.x context on a real platform,
# unless the probe of that platform found none: then it says why and exits
# with 77, which the suite counts as skipped.
#   es1_gate.sh PROBE_RESULT COMMAND [ARG...]
result=$(cat "$1" 2>/dev/null || echo ok) # not probed: run and judge
shift
if [ "$result" != ok ]; then
  echo "SKIPPED: this Mesa makes no OpenGL ES 1.x context ($result)"
  exit 77
fi
exec "$@"
