#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs COMMAND and compares its standard output with the file EXPECTED, and
# with -e its standard error with the file ERRORS: a difference, or an exit
# status other than STATUS (0 unless given), fails with a unified diff and
# the status. Status 77 (skipped) passes through with the output.
# REGENERATE_GOLDEN=1 rewrites EXPECTED (and ERRORS) from the output instead.
#   expect.sh [-s STATUS] [-e ERRORS] EXPECTED COMMAND [ARG...]
set -u
want=0
errors=
[ "$1" = -s ] && want=$2 && shift 2
[ "$1" = -e ] && errors=$2 && shift 2
expected=$1
shift
got=$(mktemp) || exit 2
got_errors=$(mktemp) || exit 2
trap 'rm -f "$got" "$got_errors"' EXIT
if [ -n "$errors" ]; then
  "$@" >"$got" 2>"$got_errors"
else
  "$@" >"$got"
fi
status=$?
if [ $status -eq 77 ]; then
  cat "$got" "$got_errors"
  exit 77
fi
if [ -n "${REGENERATE_GOLDEN:-}" ]; then
  cp "$got" "$expected"
  [ -z "$errors" ] || cp "$got_errors" "$errors"
  exit 0
fi
if cmp -s "$expected" "$got" && { [ -z "$errors" ] || cmp -s "$errors" "$got_errors"; } && [ $status -eq "$want" ]; then
  exit 0
fi
echo "$expected${errors:+ or $errors} differs (REGENERATE_GOLDEN=1 rewrites it), exit status $status:"
diff -u --label "$expected" --label got "$expected" "$got"
[ -z "$errors" ] || diff -u --label "$errors" --label "got on standard error" "$errors" "$got_errors"
exit 1
