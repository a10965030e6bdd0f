#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the built programs headless (Mesa's surfaceless platform) on this
# machine's EGL and prints their output, verdicts included, under a heading
# that names the stack. Where that EGL makes no OpenGL ES 1.x context (the
# probe es1_probe), the failures are the platform's: says which step failed
# with which EGL error and what it means, then runs both programs again, the
# same binaries, on the reference Mesa built with OpenGL ES 1.x
# (tools/mesa-current.sh: a Debian 13 root, made once and cached).
# Exit status: that of the last stack's runs, 0 when both programs passed.
#   tools/run.sh BUILD_DIR
set -u
[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 BUILD_DIR (a build folder with quillet_cl, brindle and es1_probe)" >&2; exit 2; }
build=$1
tools=$(cd "$(dirname "$0")" && pwd)
export EGL_PLATFORM=surfaceless
unset DISPLAY WAYLAND_DISPLAY || true
work=$(mktemp -d "${TMPDIR:-/tmp}/run.XXXXXX") || exit 2
trap 'rm -rf "$work"' EXIT

# EGL's error codes by value, for the explanation line.
EGL_ERRORS="3000 EGL_SUCCESS 3001 EGL_NOT_INITIALIZED 3002 EGL_BAD_ACCESS 3003 EGL_BAD_ALLOC
3004 EGL_BAD_ATTRIBUTE 3005 EGL_BAD_CONFIG 3006 EGL_BAD_CONTEXT 3007 EGL_BAD_CURRENT_SURFACE
3008 EGL_BAD_DISPLAY 3009 EGL_BAD_MATCH 300A EGL_BAD_NATIVE_PIXMAP 300B EGL_BAD_NATIVE_WINDOW
300C EGL_BAD_PARAMETER 300D EGL_BAD_SURFACE 300E EGL_CONTEXT_LOST"

error_name() {
  # shellcheck disable=SC2086
  set -- $EGL_ERRORS
  while [ $# -ge 2 ]; do
    [ "0x$1" != "$code" ] || { echo "$2"; return; }
    shift 2
  done
  echo "an unknown error"
}

os_name() {
  sed -n 's/^PRETTY_NAME="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p' "${1:-}/etc/os-release" 2>/dev/null | grep . || echo "this system"
}

# run_both [WRAPPER...]: both programs behind WRAPPER, their output shown;
# status 0 when both printed their passed verdict and exited with 0.
run_both() {
  status=0
  for program in quillet_cl brindle; do
    "$@" "$build/$program" >"$work/out" 2>&1 || status=1
    cat "$work/out"
    grep -Eqx "(quillet \(fixed point\)|brindle) passed\." "$work/out" || status=1
  done
  return $status
}

egl=$("$build/es1_probe" "$work/probe" 2>/dev/null)
echo "=== On this machine's EGL (${egl:-no EGL display}; $(os_name)), EGL_PLATFORM=surfaceless ==="
run_both
status=$?
probe=$(cat "$work/probe" 2>/dev/null || echo "es1_probe: no result")
[ "$probe" != ok ] || exit $status

# The probe's "STEP: EGL error 0xNNNN".
step=${probe%%: EGL error *}
code=$(printf '%s' "$probe" | sed -n 's/.*EGL error \(0x[0-9A-F]*\)$/\1/p')
case $step in
  eglCreateContext*) meaning="this EGL has no OpenGL ES 1.x (Debian 13, for one, builds its Mesa without it)" ;;
  eglChooseConfig*) meaning="this EGL has no configuration that renders OpenGL ES at all" ;;
  *) meaning="this EGL has no display on the surfaceless platform" ;;
esac
echo
echo "run: the failures above are the platform's, not the programs': $step gave $(error_name) ($code): $meaning."

cache=$("$tools/mesa-current.sh" path)
if [ ! -f "$cache/mesa.recipe" ]; then
  echo "run: running both again on the reference Mesa, built with OpenGL ES 1.x: making it (a Debian 13 root and Mesa built in it, in $cache) takes about 7 minutes and 1.8 GB the first time; later runs reuse it."
fi
"$tools/deps.sh" reference || exit $status
{ "$tools/mesa-current.sh" prepare 2>&1; echo $? >"$work/prepared"; } | sed 's/^/run: /'
if [ "$(cat "$work/prepared")" -ne 0 ]; then
  echo "run: no reference Mesa here, so only this machine's verdicts above stand."
  exit $status
fi
echo
echo "=== On the reference Mesa (Mesa $(sed -n 2p "$cache/mesa.recipe") with OpenGL ES 1.x; $(os_name "$cache/root"), $cache/root), EGL_PLATFORM=surfaceless ==="
run_both "$tools/mesa-current.sh" run
