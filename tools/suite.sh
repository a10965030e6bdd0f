#!/bin/sh
# SPDX-License-Identifier: MIT
# The whole suite, as `make test` runs it: each group in turn, announced by
# one line when it starts (what, why, about how long the first time), then
# the tests any group had to skip and why, and one table of the groups: ran,
# passed, skipped (why), time. Every group runs even when one before it
# failed (but for the build they all need); exit status 1 when any failed.
#   tools/suite.sh
set -u
[ $# -eq 0 ] || { echo "usage: $0 (no arguments; make test runs it)" >&2; exit 2; }
cd "$(dirname "$0")/.." || exit 2
results=build/suite
rm -rf "$results" && mkdir -p "$results" || exit 2
make="${MAKE:-make} --no-print-directory"

# name|command|what and why|how long on two cores. The counts come from the
# summaries CTest prints (one per run; memcheck mode writes no JUnit file).
GROUPS="build|$make build|the default build: both programs, their test builds and benchmarks|about 2 min the first time
sanitizers|$make test-asan|the suite under AddressSanitizer and UBSan, for memory and undefined-behaviour faults|about 5 min the first time
memcheck|$make memcheck|both programs under valgrind on the real platform, for leaks and invalid accesses|about 1 min
static|$make static-checks|clang-tidy, cppcheck and clang-format on the programs' sources, for their findings|about 3 min the first time
clang|$make clang|the clang build and its fast groups, for code only GCC accepts|about 3 min the first time
current Mesa|$make mesa-current|the real-platform groups on the reference Mesa (Debian 13's, with ES 1.x), for what a current Mesa changes|about 8 min the first time (Mesa is built), 1 min after
cross|tools/cross-deps.sh --check >/dev/null 2>&1 && $make cross-run|arm64, armhf and armel builds under the emulator, against the native output, and the emulated arm64 and armhf boards, for target-only faults|about 15 min the first time
main|ctest --preset default|the whole suite on the default build: units, fakes, real platforms, packaging|about 4 min"

# count WHAT: summed over the CTest summaries in the step's output: "total"
# (out of N), "failed", or "skipped" (the tests listed as not run, Skipped).
count() {
  case $1 in
    total) sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$results/$index.log" ;;
    failed) sed -n 's/.*, \([0-9]*\) tests failed out of [0-9]*$/\1/p' "$results/$index.log" ;;
    skipped) grep -c '^[[:space:]]*[0-9]* - .* (Skipped)$' "$results/$index.log" ;;
  esac | awk '{ sum += $1 } END { print sum + 0 }'
}

# The reason a whole group did not run, where it says one.
whole_skip() {
  case $1 in
    "current Mesa") sed 's/^mesa-current: SKIPPED (\(.*\))$/\1/' "$("$(dirname "$0")"/mesa-current.sh path)/skipped" 2>/dev/null ;;
    cross) tools/cross-deps.sh --check >/dev/null 2>&1 || echo "the cross packages or the armel sysroot are missing; 'make cross-test' installs and makes them" ;;
  esac
}

count=$(printf '%s\n' "$GROUPS" | wc -l)
index=0 failed=0
printf '%s\n' "$GROUPS" | while IFS='|' read -r name command what estimate; do
  index=$((index + 1))
  echo "suite: [$index/$count] $name: $what; $estimate"
  started=$(date +%s)
  { eval "$command" </dev/null 2>&1; echo $? >"$results/$index.status"; } | tee "$results/$index.log"
  status=$(cat "$results/$index.status")
  printf '%s|%s|%s|%s\n' "$index" "$name" "$status" "$(($(date +%s) - started))" >>"$results/groups"
  if [ $status -ne 0 ] && [ "$name" = build ]; then break; fi
done

tools/skipped-groups.sh build/default
echo
printf '%-13s %6s %7s %8s %7s  %s\n' group ran passed skipped time result
while IFS='|' read -r index name status seconds; do
  ran=- passed=- skipped=- result=passed
  if grep -q ' tests failed out of ' "$results/$index.log"; then
    skipped=$(count skipped)
    ran=$(($(count total) - skipped)) passed=$(($(count total) - skipped - $(count failed)))
    [ "$skipped" -eq 0 ] || result="passed; $skipped skipped (why: above)"
  fi
  reason=$(whole_skip "$name")
  if [ -n "$reason" ]; then
    result="SKIPPED ($reason)"
  elif [ "$status" -ne 0 ]; then
    result="FAILED (exit status $status)" failed=1
  fi
  printf '%-13s %6s %7s %8s %5s s  %s\n' "$name" "$ran" "$passed" "$skipped" "$seconds" "$result"
  [ "$failed" -eq 0 ] || echo 1 >"$results/failed"
done <"$results/groups"
[ ! -f "$results/failed" ]
