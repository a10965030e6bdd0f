#!/bin/sh
# Static checks of the project's own code: clang-format (against
# .clang-format), clang-tidy (against .clang-tidy) and cppcheck. Any finding
# fails. Usage: tools/static-checks.sh BUILD_DIR (with compile_commands.json)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/default}

# The tracked files in a checkout; every source file in an exported tree.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  product_sources=$(git ls-files 'harness/*.cpp' 'primitives/*.cpp' 'fixedmath/*.cpp' 'eglsweep/*.cpp')
  all_sources=$(git ls-files '*.cpp' '*.h' '*.c')
else
  product_sources=$(find harness primitives fixedmath eglsweep -name '*.cpp' | sort)
  all_sources=$(find harness primitives fixedmath eglsweep tests bench -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort)
fi
status=0

echo "clang-format: $(echo "$all_sources" | wc -w) files"
# shellcheck disable=SC2086
clang-format --dry-run --Werror $all_sources || status=1

echo "clang-tidy: $(echo "$product_sources" | wc -w) files"
# shellcheck disable=SC2086
echo $product_sources | tr ' ' '\n' |
  xargs -P 2 -n 4 clang-tidy -p "$build" --quiet || status=1

echo "cppcheck"
cppcheck --quiet --error-exitcode=1 --inline-suppr \
  --enable=warning,performance,portability --std=c++17 \
  --suppress=missingIncludeSystem -I . \
  harness primitives fixedmath eglsweep || status=1

if [ "$status" -ne 0 ]; then
  echo "static checks: FAILED"
  exit 1
fi
echo "static checks: clean"
