#!/bin/sh
# Runs COMMAND and compares its standard output with the file EXPECTED: a
# difference, or an exit status other than STATUS (0 unless given), fails
# with a unified diff and the status. Status 77 (skipped) passes through with
# the output. REGENERATE_GOLDEN=1 rewrites EXPECTED from the output instead.
#   expect.sh [-s STATUS] EXPECTED COMMAND [ARG...]
set -u
want=0
[ "$1" = -s ] && want=$2 && shift 2
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
  exit 0
fi
if cmp -s "$expected" "$got" && [ $status -eq "$want" ]; then
  exit 0
fi
echo "$expected differs (REGENERATE_GOLDEN=1 rewrites it), exit status $status:"
diff -u --label "$expected" --label got "$expected" "$got"
exit 1
