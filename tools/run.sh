#!/bin/sh
# Runs the built programs on Mesa's headless software renderer and prints
# their output, verdicts included. Usage: tools/run.sh BUILD_DIR
set -eu
build=${1:-build/default}
export EGL_PLATFORM=surfaceless
unset DISPLAY WAYLAND_DISPLAY || true

"$build/quillet_cl"
if [ -x "$build/brindle" ]; then
  "$build/brindle"
fi
