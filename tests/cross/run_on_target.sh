#!/bin/sh
# Runs a cross-built program (under the emulator) and judges the run:
#
#   run_on_target.sh VERDICT STATUS NATIVE [ARG...] -- COMMAND...
#
# COMMAND (the emulator, if any, and the target program) runs with ARGs. The
# run passes when its exit status is STATUS, its standard output has the
# line VERDICT, and, unless NATIVE is "-", its standard output is identical
# byte for byte to that of the native build's program NATIVE run with the
# same ARGs in the same environment.
set -eu

if [ $# -lt 5 ]; then
  echo "usage: $0 VERDICT STATUS NATIVE [ARG...] -- COMMAND..." >&2
  exit 2
fi
verdict=$1
expected_status=$2
native=$3
shift 3

# Split "ARG... -- COMMAND...": the program's arguments are collected (they
# are simple words such as -v) and what follows "--" stays in "$@".
args=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  args="$args $1"
  shift
done
if [ $# -lt 2 ]; then
  echo "$0: no command after --" >&2
  exit 2
fi
shift

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

run() {
  # run NAME COMMAND...: stdout and stderr to files, status to NAME.status
  name=$1
  shift
  start=$(date +%s)
  set +e
  # shellcheck disable=SC2086
  "$@" $args >"$scratch/$name.out" 2>"$scratch/$name.err"
  echo $? >"$scratch/$name.status"
  set -e
  echo "$name: exit status $(cat "$scratch/$name.status"), $(wc -l <"$scratch/$name.out") lines," \
       "$(($(date +%s) - start)) s: $*$args"
}

run target "$@"
failed=0
status=$(cat "$scratch/target.status")
if [ "$status" != "$expected_status" ]; then
  echo "FAIL: exit status $status, expected $expected_status" >&2
  failed=1
fi
if ! grep -qxF "$verdict" "$scratch/target.out"; then
  echo "FAIL: no line \"$verdict\" in the output" >&2
  failed=1
fi

if [ "$native" != "-" ]; then
  if [ ! -x "$native" ]; then
    echo "FAIL: native program $native not built" >&2
    exit 1
  fi
  run native "$native"
  if cmp -s "$scratch/native.out" "$scratch/target.out"; then
    echo "standard output identical to the native run ($(wc -c <"$scratch/target.out") bytes)"
  else
    echo "FAIL: standard output differs from the native run:" >&2
    diff "$scratch/native.out" "$scratch/target.out" | head -n 40 >&2 || true
    failed=1
  fi
fi

if [ "$failed" -ne 0 ]; then
  echo "--- last lines of standard output:" >&2
  tail -n 5 "$scratch/target.out" >&2
  echo "--- standard error:" >&2
  head -n 20 "$scratch/target.err" >&2
  exit 1
fi
tail -n 2 "$scratch/target.out"
