#!/bin/sh
# Builds fixedmath for one ARM target in its own build folder and runs its
# integer-only check there (see standalone/CMakeLists.txt).
#   standalone_check.sh TOOLCHAIN_FILE BUILD_DIR [GENERATOR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$1
build=$2
generator=${3:-Ninja}

mkdir -p "$build"
cmake -S "$here/standalone" -B "$build" -G "$generator" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo --toolchain "$toolchain" >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j 2
ctest --test-dir "$build" -L cross --output-on-failure --no-tests=error
