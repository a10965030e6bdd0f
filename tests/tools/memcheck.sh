#!/bin/sh
# Runs a program under valgrind memcheck and passes only when valgrind found
# nothing (exit status) and the program printed its passed verdict.
# Usage: memcheck.sh SUPPRESSIONS VERDICT PROGRAM [ARGS...]
set -u
suppressions=$1
verdict=$2
shift 2
out=$(mktemp)
valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible \
  --keep-debuginfo=yes --suppressions="$suppressions" "$@" >"$out"
status=$?
tail -n 3 "$out"
if [ "$status" -ne 0 ]; then
  echo "memcheck: exit status $status (99: valgrind reported errors)"
  rm -f "$out"
  exit 1
fi
if ! grep -qx "$verdict" "$out"; then
  echo "memcheck: verdict line '$verdict' missing"
  rm -f "$out"
  exit 1
fi
rm -f "$out"
echo "memcheck: clean"
