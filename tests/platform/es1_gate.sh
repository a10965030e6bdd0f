#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command that needs an OpenGL ES 1.x context on a real platform,
# unless the probe of that platform found none: then it says why and exits
# with 77, which the suite counts as skipped.
#   es1_gate.sh PROBE_RESULT COMMAND [ARG...]
result=$(cat "$1" 2>/dev/null || echo ok) # not probed: run and judge
shift
if [ "$result" != ok ]; then
  # Behind a wrapper the stack is one built with OpenGL ES 1.x
  # (tools/mesa-current.sh): no context there is a fault, not a skip.
  if [ -n "${QB_PLATFORM_WRAPPER:-}" ]; then
    echo "this Mesa, built with OpenGL ES 1.x, makes no context ($result)"
    exit 1
  fi
  echo "SKIPPED: this Mesa makes no OpenGL ES 1.x context ($result)"
  exit 77
fi
exec "$@"
