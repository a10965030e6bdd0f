#!/bin/sh
# Runs COMMAND and compares its standard output with the file EXPECTED: a
# difference, or an exit status other than 0, fails with a unified diff and
# the status. Status 77 (skipped) passes through with the output.
# REGENERATE_GOLDEN=1 rewrites EXPECTED from the output instead.
#   expect.sh EXPECTED COMMAND [ARG...]
set -u
expected=$1
shift
got=$(mktemp) || exit 2
trap 'rm -f "$got"' EXIT
"$@" >"$got"
status=$?
if [ $status -eq 77 ]; then
  cat "$got"
  exit 77
fi
if [ -n "${REGENERATE_GOLDEN:-}" ]; then
  cp "$got" "$expected"
  exit $status
fi
if cmp -s "$expected" "$got" && [ $status -eq 0 ]; then
  exit 0
fi
echo "$expected differs (REGENERATE_GOLDEN=1 rewrites it), exit status $status:"
diff -u --label "$expected" --label got "$expected" "$got"
exit 1
