# shellcheck shell=sh
# Shared by the packaging checks (sourced): a scratch folder removed at exit,
# a failure counter, and a way to run a built program, through a cross
# build's emulator when QB_EMULATOR is set.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# fail MESSAGE: report one failed check and go on.
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

# run PROGRAM [ARGS...]
run() {
  # shellcheck disable=SC2086 # the emulator may carry its own arguments
  ${QB_EMULATOR:-} "$@"
}

# finish SUMMARY: the script's result, with the summary when nothing failed.
finish() {
  [ "$failures" -eq 0 ] && echo "$1"
  [ "$failures" -eq 0 ]
}
