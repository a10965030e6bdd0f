#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the LAVA script (or, given the test definition, its run steps with the
# parameters' defaults, as LAVA runs them) with stand-ins for both programs
# and for lava-test-case, and prints in order each program's start (NAME,
# EGL_PLATFORM, GALLIUM_DRIVER, "unset" for a variable not set, and the
# arguments) and each reported test case, then the exit status and the files
# written under output/.
#   lava.sh SCRIPT QUILLET BRINDLE [ARG...]
#   lava.sh DEFINITION QUILLET BRINDLE [repo|installed|missing|not_executable|broken [PARAM=VALUE...]]
# QUILLET, BRINDLE: "STATUS TEXT", the stand-in prints TEXT and exits with
# STATUS; "none": not installed; "hang": never ends. A definition's steps run
# in a test repository with the script as it is (repo, the default), without
# it (missing), without its execute permission (not_executable) or with a
# syntax error (broken), or with the script only in share/quillet-brindle/
# lava/ beside the stand-ins' bin/ (installed), and stop at the first step
# that fails, as in LAVA; the exit status is then that step's. Each
# PARAM=VALUE sets a parameter as a job's parameters: do.
set -u
case $1 in
  /*) script=$1 ;;
  *) script=$PWD/$1 ;;
esac
dir=$(mktemp -d) || exit 2
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/bin" "$dir/repo/contrib/lava"
printf '#!/bin/sh\necho "$*" >>%s/record\n' "$dir" >"$dir/bin/lava-test-case"
for name in quillet_cl brindle; do
  case $2 in
    none) ;;
    hang) printf '#!/bin/sh\nexec sleep 60\n' >"$dir/bin/$name" ;;
    *)
      printf '%s' "${2#* }" >"$dir/$name.text"
      printf '#!/bin/sh\necho "%s ${EGL_PLATFORM-unset} ${GALLIUM_DRIVER-unset} $*" >>%s/record\ncat %s\nexit %s\n' \
        "$name" "$dir" "$dir/$name.text" "${2%% *}" >"$dir/bin/$name" ;;
  esac
  shift
done
chmod +x "$dir"/bin/*
shift
cd "$dir/repo" || exit 2
export PATH="$dir/bin:/usr/bin:/bin"
case $script in
  *.yaml)
    cp "$script" contrib/lava/ || exit 2
    source=${script%/*}/run-conformance.sh copy=contrib/lava/run-conformance.sh
    case ${1:-repo} in
      repo) cp "$source" "$copy" ;;
      installed) mkdir -p "$dir/share/quillet-brindle/lava" && cp "$source" "$dir/share/quillet-brindle/lava/" ;;
      missing) ;;
      not_executable) cp "$source" "$copy" && chmod -x "$copy" ;;
      # check_program's closing brace taken away.
      broken) sed '/^check_program() {/,$ { /^}$/d; }' "$source" >"$copy" && chmod +x "$copy" ;;
      *) echo "lava.sh: no such script case: $1" >&2; exit 2 ;;
    esac || exit 2
    # The parameters' defaults, the job's values, then the run steps.
    section() { awk -v want="$1" '/^[a-z]/ { section = $1 } section == want "" { print }' "$script"; }
    section params: | awk '/^  [A-Z_]+:/ { sub(/: */, "='"'"'"); gsub(/^ *|"/, ""); print $0 "'"'"'" }' >steps.sh
    [ $# -eq 0 ] || shift
    for param; do printf "%s='%s'\n" "${param%%=*}" "${param#*=}"; done >>steps.sh
    section run: | sed -n 's/^    - //p' >>steps.sh
    sh -e steps.sh >console 2>&1 ;;
  *) "$script" "$@" >console 2>&1 ;;
esac
echo "exit $?" >>"$dir/record"
cat "$dir/record"
ls output 2>/dev/null | tr '\n' ' '
echo
