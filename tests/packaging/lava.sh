#!/bin/sh
# Runs the LAVA script (or, given the test definition, its run steps with the
# parameters' defaults, as LAVA runs them) with stand-ins for both programs
# and for lava-test-case, and prints in order each program's start (NAME,
# EGL_PLATFORM, GALLIUM_DRIVER, "unset" for a variable not set, and the
# arguments) and each reported test case, then the exit status and the files
# written under output/.
#   lava.sh SCRIPT|DEFINITION QUILLET BRINDLE [ARG...]
# QUILLET, BRINDLE: "STATUS TEXT", the stand-in prints TEXT and exits with
# STATUS; "none": not installed; "hang": never ends.
set -u
script=$1
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
    cp "$script" "${script%/*}/run-conformance.sh" contrib/lava/
    awk '/^[a-z]/ { section = $1 }
      section == "params:" && /^  [A-Z_]+:/ { sub(/: */, "='"'"'"); gsub(/^ *|"/, ""); print $0 "'"'"'" }
      section == "run:" && /^    - / { sub(/^    - /, ""); print }' "$script" >steps.sh
    sh steps.sh >console 2>&1 ;;
  *) "$script" "$@" >console 2>&1 ;;
esac
echo "exit $?" >>"$dir/record"
cat "$dir/record"
ls output 2>/dev/null | tr '\n' ' '
echo
