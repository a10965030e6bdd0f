#!/bin/sh
# SPDX-License-Identifier: MIT
# `make run` as a newcomer runs it, judged by what it prints: on a stack with
# OpenGL ES 1.x (`here`), one block headed by this machine's EGL with both
# passed verdicts and no reference stack touched; on one without
# (`reference`), this machine's failures, the line that explains them, then a
# block headed by the reference Mesa with both passed verdicts.
#   .ci/make-run.sh here | reference
set -u
cd "$(dirname "$0")/.."
case ${1:-} in here | reference) ;; *) echo "usage: $0 here | reference" >&2; exit 2 ;; esac
log=$(mktemp "${TMPDIR:-/tmp}/make-run.XXXXXX") || exit 2
trap 'rm -f "$log" "$log.status"' EXIT
{ make run 2>&1; echo $? >"$log.status"; } | tee "$log"
status=$(cat "$log.status")
# The verdicts after the last heading, and what came before it.
last=$(grep -n '^=== On ' "$log" | tail -1 | cut -d: -f1)
verdicts=$(tail -n +"${last:-1}" "$log" | grep -Ec '^(quillet \(fixed point\)|brindle) passed\.$')
fail() { echo "make-run: $*" >&2; exit 1; }
[ "$status" -eq 0 ] || fail "make run exited with $status"
[ "$verdicts" -eq 2 ] || fail "the last stack gave $verdicts passed verdicts of 2"
headings=$(grep -c '^=== On ' "$log")
if [ "$1" = here ]; then
  [ "$headings" -eq 1 ] && grep -q "^=== On this machine's EGL" "$log" || fail "expected this machine's stack only"
else
  grep -q "^run: the failures above are the platform's, not the programs': eglCreateContext" "$log" &&
    [ "$headings" -eq 2 ] && tail -n +"$last" "$log" | head -1 | grep -q '^=== On the reference Mesa' ||
    fail "expected the explained failure, then the reference Mesa's block"
fi
echo "make-run: as expected ($1)"
