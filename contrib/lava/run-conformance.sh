#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs quillet_cl and brindle, as installed on the device (found by name on
# PATH), and reports one LAVA test case per program:
#
#   lava-test-case quillet_cl --result pass|fail
#   lava-test-case brindle --result pass|fail
#
# A program passes only when its output has its passed verdict as a whole
# line, no failed verdict, and it exited with status 0. The verdict line
# decides: quillet_cl exits with 0 whether it passed or not.
#
# Usage: run-conformance.sh [-h] [-p EGL_PLATFORM] [-b EGL_PLATFORM]
#                           [-g GALLIUM_DRIVER] [-o OUTPUT_DIR] [-t SECONDS]
#                           [-v | -V PROGRAM]
#   -p  value of EGL_PLATFORM for both programs (default: surfaceless, the
#       headless platform); an empty value keeps the caller's environment
#   -b  value of EGL_PLATFORM for brindle alone, in place of -p (gbm for
#       the gbm build on a board without a display server, where quillet_cl
#       still needs surfaceless for its pbuffer)
#   -g  value of GALLIUM_DRIVER (for example llvmpipe or softpipe); empty
#       (the default) keeps the caller's environment
#   -o  folder for each program's standard output and error (default: output)
#   -t  stop a program that runs longer than this many seconds and count it
#       as failed (default 0: no limit; needs timeout(1))
#   -v  run both programs in verbose mode (quillet_cl then prints a trace of
#       about 76000 lines)
#   -V  run PROGRAM alone (quillet_cl or brindle) in verbose mode: brindle's
#       trace of about 120 lines shows which main surface it made
# Outside LAVA (no lava-test-case on PATH) the results are printed as
# "NAME: pass" or "NAME: fail". Exit status: 0 when both passed, 1 when
# either failed (a program that crashed, was not found or printed no verdict
# included), 2 on a usage error or an output folder that cannot be made (no
# test case reported). The test definition fails the run on any status but
# 0 and 1.
set -u

platform=surfaceless
brindle_platform=
driver=
output=output
limit=0
verbose=

help_text() {
  cat <<EOF
usage: $0 [-p EGL_PLATFORM] [-b EGL_PLATFORM] [-g GALLIUM_DRIVER] [-o OUTPUT_DIR] [-t SECONDS] [-v | -V PROGRAM]
  -p  EGL_PLATFORM for both programs (default surfaceless; '' keeps the environment's)
  -b  EGL_PLATFORM for brindle alone, in place of -p (gbm for the gbm build)
  -g  GALLIUM_DRIVER for both programs (default: keep the environment's)
  -o  folder for each program's output (default output)
  -t  seconds after which a program counts as failed (default 0: no limit)
  -v  run both programs in verbose mode
  -V  run PROGRAM alone (quillet_cl or brindle) in verbose mode
EOF
}

usage() {
  help_text >&2
  exit 2
}

while getopts hp:b:g:o:t:vV: opt; do
  case $opt in
    h)
      help_text
      exit 0
      ;;
    p) platform=$OPTARG ;;
    b) brindle_platform=$OPTARG ;;
    g) driver=$OPTARG ;;
    o) output=$OPTARG ;;
    t) limit=$OPTARG ;;
    v) verbose=quillet_cl,brindle ;;
    V)
      case $OPTARG in
        quillet_cl | brindle) verbose=$OPTARG ;;
        *) usage ;;
      esac
      ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 0 ] || usage
case $limit in
  '' | *[!0-9]*) usage ;;
esac
[ -n "$output" ] || usage

if [ -n "$platform" ]; then
  EGL_PLATFORM=$platform
  export EGL_PLATFORM
fi
if [ -n "$driver" ]; then
  GALLIUM_DRIVER=$driver
  export GALLIUM_DRIVER
fi
if [ "$limit" -gt 0 ] && ! command -v timeout >/dev/null 2>&1; then
  echo "timeout(1) not found: running without a time limit"
  limit=0
fi
if ! mkdir -p "$output"; then
  echo "cannot create output folder $output" >&2
  exit 2
fi

# report NAME RESULT
report() {
  if command -v lava-test-case >/dev/null 2>&1; then
    lava-test-case "$1" --result "$2"
  else
    echo "$1: $2"
  fi
}

# check_program NAME PASSED_LINE FAILED_LINE: runs the program, prints its
# output and reports its test case; returns 0 when it passed.
check_program() {
  name=$1
  passed_line=$2
  failed_line=$3
  out="$output/$name.out"
  err="$output/$name.err"
  case ,$verbose, in
    *,$name,*) flag=-v ;;
    *) flag= ;;
  esac

  if ! path=$(command -v "$name"); then
    echo "$name: not found on PATH"
    report "$name" fail
    return 1
  fi
  echo "== $path${flag:+ -v} (EGL_PLATFORM=${EGL_PLATFORM-unset}, GALLIUM_DRIVER=${GALLIUM_DRIVER-unset})"
  if [ "$limit" -gt 0 ]; then
    timeout "$limit" "$path" $flag >"$out" 2>"$err"
  else
    "$path" $flag >"$out" 2>"$err"
  fi
  status=$?
  cat "$out"
  if [ -s "$err" ]; then
    echo "-- $name standard error:"
    cat "$err"
  fi

  if [ "$status" -ne 0 ]; then
    if [ "$limit" -gt 0 ] && [ "$status" -eq 124 ]; then
      echo "$name: stopped after $limit seconds"
    else
      echo "$name: exit status $status"
    fi
    report "$name" fail
    return 1
  fi
  if grep -Fqx -e "$failed_line" "$out"; then
    echo "$name: failed"
    report "$name" fail
    return 1
  fi
  if ! grep -Fqx -e "$passed_line" "$out"; then
    echo "$name: no verdict line \"$passed_line\""
    report "$name" fail
    return 1
  fi
  report "$name" pass
  return 0
}

result=0
check_program quillet_cl "quillet (fixed point) passed." "quillet (fixed point) failed." || result=1
if [ -n "$brindle_platform" ]; then
  EGL_PLATFORM=$brindle_platform
  export EGL_PLATFORM
fi
check_program brindle "brindle passed." "brindle failed." || result=1
exit "$result"
