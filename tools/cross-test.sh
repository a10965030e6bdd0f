#!/bin/sh
# Cross-builds the project for arm64 and armhf and tests both under the
# user-mode emulator, on the target's own Mesa:
#   - every unit test of both architectures through CTest (presets
#     cross-arm64 and cross-armhf);
#   - quillet_cl -v and brindle -v of each build on softpipe, headless, with
#     standard output identical byte for byte to the native build's;
#   - the integer-only object check of fixedmath (and its negative control).
#
#   tools/cross-test.sh                install what is missing, then test
#   tools/cross-test.sh --install-only install what is missing, nothing else
#   tools/cross-test.sh --if-present   test only when the cross packages are
#                                      installed; otherwise say so and exit 0
#
# The native reference programs come from build/default (configured with the
# default preset and built here when missing); QB_NATIVE_BUILD names another
# native build folder.
set -eu
cd "$(dirname "$0")/.."

case "${1:-}" in
  --install-only)
    exec tools/cross-deps.sh
    ;;
  --if-present)
    if ! tools/cross-deps.sh --check >/dev/null 2>&1; then
      echo "cross-test: SKIPPED (ARM cross compilers, qemu-user or the arm64/armhf" \
           "libraries are not installed; 'make cross-test' or tools/cross-deps.sh installs them)"
      exit 0
    fi
    ;;
  "")
    tools/cross-deps.sh
    ;;
  *)
    echo "usage: $0 [--install-only | --if-present]" >&2
    exit 2
    ;;
esac

PRESETS="cross-arm64 cross-armhf"
native=${QB_NATIVE_BUILD:-build/default}
summary=""

elapsed() {
  echo $(($(date +%s) - $1))
}

# Native reference programs, run on the host's softpipe by the emulated-run
# tests of the cross builds.
start=$(date +%s)
if [ ! -f "$native/CMakeCache.txt" ]; then
  if [ "$native" = build/default ]; then
    cmake --preset default
  else
    cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  fi
fi
programs=quillet_cl
if [ -f eglsweep/CMakeLists.txt ]; then
  programs="$programs brindle"
fi
# shellcheck disable=SC2086
cmake --build "$native" -j 2 --target $programs
native_abs=$(cd "$native" && pwd)
summary="$summary
native reference ($programs): $(elapsed "$start") s"

failed=""
for preset in $PRESETS; do
  echo "=== $preset"
  start=$(date +%s)
  if cmake --preset "$preset" -DQB_NATIVE_REFERENCE_DIR="$native_abs" &&
     cmake --build --preset "$preset" -j 2; then
    built=$(elapsed "$start")
    start=$(date +%s)
    if ctest --preset "$preset"; then
      result=passed
    else
      result=FAILED
      failed="$failed $preset"
    fi
    summary="$summary
$preset: build $built s, tests under emulation $(elapsed "$start") s, $result"
  else
    failed="$failed $preset"
    summary="$summary
$preset: build FAILED after $(elapsed "$start") s"
  fi
done

echo "=== cross-test summary$summary"
if [ -n "$failed" ]; then
  echo "cross-test: FAILED:$failed"
  exit 1
fi
echo "cross-test: passed (arm64 and armhf: unit tests, emulated program runs, integer-only check)"
