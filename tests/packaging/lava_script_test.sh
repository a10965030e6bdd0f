#!/bin/sh
# Runs contrib/lava/run-conformance.sh, and the run steps of the LAVA test
# definition beside it, against stand-in programs and the fake-linked builds,
# with a stand-in lava-test-case on PATH that records its arguments. Each
# case compares the recorded test cases, the script's exit status and the
# environment the programs saw.
#
# Usage: lava_script_test.sh SOURCE_DIR QUILLET_CL_FAKE [BRINDLE_FAKE]
# QB_EMULATOR, when set, runs the fake-linked builds (a cross build's
# emulator).
set -u
source_dir=$1
quillet_fake=$2
brindle_fake=${3-}
script=$source_dir/contrib/lava/run-conformance.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/tools"
cat >"$work/tools/lava-test-case" <<'EOF'
#!/bin/sh
printf '%s\n' "$*" >>"$LAVA_RECORD"
EOF
chmod +x "$work/tools/lava-test-case"

# The stand-in programs print the text stored beside their folder, record the
# platform settings and arguments they were started with, and exit with the
# stored status.
cat >"$work/tools/standin" <<'EOF'
#!/bin/sh
name=$(basename "$0")
here=$(dirname "$0")
printf '%s EGL_PLATFORM=%s GALLIUM_DRIVER=%s args=%s\n' "$name" \
  "${EGL_PLATFORM-unset}" "${GALLIUM_DRIVER-unset}" "$*" >>"$here/../seen"
if [ -f "$here/../$name.sleep" ]; then
  exec sleep 30
fi
printf '%b' "$(cat "$here/../$name.text")"
exit "$(cat "$here/../$name.status")"
EOF
chmod +x "$work/tools/standin"

unset EGL_PLATFORM GALLIUM_DRIVER FAKEGL_SCENARIO LAVA_RECORD
base_path=$PATH
failures=0
case_count=0
case_dir=

QUILLET_PASS='OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nquillet (fixed point) passed.\n\n'
QUILLET_FAIL='OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nquillet (fixed point) failed.\n\n'
QUILLET_NO_CONFIG='OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nConfig requested not found.\n'
BRINDLE_PASS='EGL Brindle.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nbrindle passed.\n\n'
BRINDLE_FAIL='EGL Brindle.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nbrindle failed.\n\n'

# new_case TITLE: a fresh folder with an empty bin/ for the programs.
new_case() {
  case_count=$((case_count + 1))
  case_title=$1
  case_dir=$work/case$case_count
  mkdir -p "$case_dir/bin"
  : >"$case_dir/record"
  : >"$case_dir/seen"
  case_env=
}

# standin NAME STATUS TEXT: NAME on PATH prints TEXT (printf %b) and exits.
standin() {
  ln -s "$work/tools/standin" "$case_dir/bin/$1"
  printf '%s' "$2" >"$case_dir/$1.status"
  printf '%s' "$3" >"$case_dir/$1.text"
}

# hanging NAME: NAME on PATH never ends by itself.
hanging() {
  standin "$1" 0 ''
  : >"$case_dir/$1.sleep"
}

# linked NAME PROGRAM: NAME on PATH is the given build.
linked() {
  if [ -n "${QB_EMULATOR:-}" ]; then
    printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$QB_EMULATOR" "$2" >"$case_dir/bin/$1"
    chmod +x "$case_dir/bin/$1"
  else
    ln -s "$2" "$case_dir/bin/$1"
  fi
}

fail_case() {
  echo "FAIL [$case_title]: $1"
  echo "--- console:"
  cat "$case_dir/console" 2>/dev/null
  failures=$((failures + 1))
}

# expect STATUS RECORD [SCRIPT ARGS...]: runs the script in the case folder
# with the case's programs first on PATH and the case's extra environment
# (case_env: NAME=VALUE words), and compares its exit status and the
# lava-test-case calls it made.
expect() {
  want_status=$1
  want_record=$2
  shift 2
  # shellcheck disable=SC2086 # case_env is a list of NAME=VALUE words
  (cd "$case_dir" && env $case_env PATH="$case_dir/bin:$work/tools:$base_path" \
    LAVA_RECORD="$case_dir/record" "$script" "$@") >"$case_dir/console" 2>&1
  check_record "$want_status" "$?" "$want_record"
}

# check_record WANT_STATUS GOT_STATUS WANT_RECORD
check_record() {
  got_record=$(cat "$case_dir/record")
  if [ "$2" != "$1" ]; then
    fail_case "exit status $2, expected $1"
  fi
  if [ "$got_record" != "$3" ]; then
    fail_case "lava-test-case calls:
$got_record
expected:
$3"
  fi
}

# expect_seen TEXT: what the stand-in programs recorded about their start.
expect_seen() {
  got_seen=$(cat "$case_dir/seen")
  if [ "$got_seen" != "$1" ]; then
    fail_case "programs started with:
$got_seen
expected:
$1"
  fi
}

PASS_PASS='quillet_cl --result pass
brindle --result pass'
FAIL_PASS='quillet_cl --result fail
brindle --result pass'
PASS_FAIL='quillet_cl --result pass
brindle --result fail'
FAIL_FAIL='quillet_cl --result fail
brindle --result fail'

new_case "both pass, default platform"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
expect 0 "$PASS_PASS"
expect_seen 'quillet_cl EGL_PLATFORM=surfaceless GALLIUM_DRIVER=unset args=
brindle EGL_PLATFORM=surfaceless GALLIUM_DRIVER=unset args='
if [ "$(cat "$case_dir/output/quillet_cl.out")" != "$(printf '%b' "$QUILLET_PASS")" ]; then
  fail_case "output/quillet_cl.out does not hold the program's output"
fi

new_case "platform, driver and verbose mode from the options"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
expect 0 "$PASS_PASS" -p x11 -g softpipe -v
expect_seen 'quillet_cl EGL_PLATFORM=x11 GALLIUM_DRIVER=softpipe args=-v
brindle EGL_PLATFORM=x11 GALLIUM_DRIVER=softpipe args=-v'

new_case "empty platform keeps the caller's environment"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
case_env="EGL_PLATFORM=wayland GALLIUM_DRIVER=llvmpipe"
expect 0 "$PASS_PASS" -p ''
expect_seen 'quillet_cl EGL_PLATFORM=wayland GALLIUM_DRIVER=llvmpipe args=
brindle EGL_PLATFORM=wayland GALLIUM_DRIVER=llvmpipe args='

new_case "quillet_cl failed verdict with exit status 0"
standin quillet_cl 0 "$QUILLET_FAIL"
standin brindle 0 "$BRINDLE_PASS"
expect 1 "$FAIL_PASS"

new_case "quillet_cl finds no configuration"
standin quillet_cl 0 "$QUILLET_NO_CONFIG"
standin brindle 0 "$BRINDLE_PASS"
expect 1 "$FAIL_PASS"

new_case "quillet_cl prints no verdict"
standin quillet_cl 0 'OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\n'
standin brindle 0 "$BRINDLE_PASS"
expect 1 "$FAIL_PASS"

new_case "passed verdict only as part of a line"
standin quillet_cl 0 'not quillet (fixed point) passed.\nquillet (fixed point) passed. \n'
standin brindle 0 'brindle passed. really\n'
expect 1 "$FAIL_FAIL"

new_case "passed verdict, then a crash"
standin quillet_cl 139 "$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
expect 1 "$FAIL_PASS"

new_case "both verdicts printed"
standin quillet_cl 0 "$QUILLET_FAIL$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
expect 1 "$FAIL_PASS"

new_case "brindle failed verdict with exit status 1"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 1 "$BRINDLE_FAIL"
expect 1 "$PASS_FAIL"

new_case "brindle enumeration failure: verdict without a line end"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 1 'EGL Brindle.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nbrindle failed.'
expect 1 "$PASS_FAIL"

new_case "brindle passed verdict with exit status 1"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 1 "$BRINDLE_PASS"
expect 1 "$PASS_FAIL"

new_case "brindle not installed"
standin quillet_cl 0 "$QUILLET_PASS"
if (PATH="$case_dir/bin:$work/tools:$base_path" && command -v brindle >/dev/null 2>&1); then
  echo "skipped [$case_title]: a brindle is installed on this machine's PATH"
else
  expect 1 "$PASS_FAIL"
fi

new_case "a program that never ends is stopped and the next one runs"
hanging quillet_cl
standin brindle 0 "$BRINDLE_PASS"
expect 1 "$FAIL_PASS" -t 1

new_case "usage errors and help run no program"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
expect 2 '' -t soon
expect 2 '' -q
expect 2 '' extra
expect 0 '' -h
expect_seen ''

# Whole programs built against the recording fake.
new_case "fake-linked quillet_cl without any configuration"
linked quillet_cl "$quillet_fake"
standin brindle 0 "$BRINDLE_PASS"
case_env="FAKEGL_SCENARIO=configs="
expect 1 "$FAIL_PASS"
if ! grep -Fqx 'Config requested not found.' "$case_dir/output/quillet_cl.out"; then
  fail_case "quillet_cl_fake did not print 'Config requested not found.'"
fi

new_case "fake-linked quillet_cl with a GL error in glBlendFunc"
linked quillet_cl "$quillet_fake"
standin brindle 0 "$BRINDLE_PASS"
case_env="FAKEGL_SCENARIO=fail=glBlendFunc:1:0x500"
expect 1 "$FAIL_PASS"

# Once a fake-linked build passes on its own, it also stands for the passing
# case; until then the stand-ins above cover it.
fake_passes() {
  # shellcheck disable=SC2086 # the emulator may carry its own arguments
  ${QB_EMULATOR:-} "$1" >"$work/probe.out" 2>&1 && grep -Fqx -e "$2" "$work/probe.out"
}
if fake_passes "$quillet_fake" "quillet (fixed point) passed."; then
  new_case "fake-linked quillet_cl passes"
  linked quillet_cl "$quillet_fake"
  standin brindle 0 "$BRINDLE_PASS"
  expect 0 "$PASS_PASS"
else
  echo "note: quillet_cl_fake does not pass a whole run yet; the passing case uses stand-ins"
fi

if [ -n "$brindle_fake" ]; then
  # quillet_cl tries the set-up twice, so both of its attempts fail here.
  new_case "fake-linked programs when eglInitialize fails"
  linked quillet_cl "$quillet_fake"
  linked brindle "$brindle_fake"
  case_env="FAKEGL_SCENARIO=fail=eglInitialize:1:0x3001;fail=eglInitialize:2:0x3001"
  expect 1 "$FAIL_FAIL"

  new_case "fake-linked brindle when eglInitialize fails"
  standin quillet_cl 0 "$QUILLET_PASS"
  linked brindle "$brindle_fake"
  case_env="FAKEGL_SCENARIO=fail=eglInitialize:1:0x3001"
  expect 1 "$PASS_FAIL"

  if fake_passes "$brindle_fake" "brindle passed."; then
    new_case "fake-linked brindle passes"
    standin quillet_cl 0 "$QUILLET_PASS"
    linked brindle "$brindle_fake"
    expect 0 "$PASS_PASS"
  else
    echo "note: brindle_fake does not pass a whole run yet; the passing case uses stand-ins"
  fi
else
  echo "note: no brindle_fake in this build; brindle cases use stand-ins only"
fi

# The run steps of the test definition, run the way LAVA runs them: the
# parameters' defaults become shell variables (not exported) in front of the
# steps, in one shell, from the root of the repository that holds the
# definition.
new_case "LAVA definition run steps with default parameters"
definition=$source_dir/contrib/lava/graphics-conformance.yaml
mkdir -p "$case_dir/repo/contrib/lava"
cp "$script" "$definition" "$case_dir/repo/contrib/lava/"
standin quillet_cl 0 "$QUILLET_PASS"
standin brindle 0 "$BRINDLE_PASS"
awk '
  /^[a-z]/ { section = $1 }
  section == "params:" && /^  [A-Z_]+:/ {
    key = $1; sub(/:$/, "", key)
    value = $0; sub(/^  [A-Z_]+: */, "", value); gsub(/^"|"$/, "", value)
    printf "%s='\''%s'\''\n", key, value
  }
  section == "run:" && /^    - / { sub(/^    - /, ""); print }
' "$definition" >"$case_dir/steps.sh"
(cd "$case_dir/repo" && PATH="$case_dir/bin:$work/tools:$base_path" LAVA_RECORD="$case_dir/record" \
  sh "$case_dir/steps.sh") >"$case_dir/console" 2>&1
check_record 0 "$?" "$PASS_PASS"
expect_seen 'quillet_cl EGL_PLATFORM=surfaceless GALLIUM_DRIVER=unset args=
brindle EGL_PLATFORM=surfaceless GALLIUM_DRIVER=unset args='
if [ ! -f "$case_dir/repo/output/brindle.out" ]; then
  fail_case "no output/brindle.out under the definition's folder"
fi

echo "$case_count cases, $failures failures"
[ "$failures" -eq 0 ]
