#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the Debian package with cpack and runs lintian on it at its most
# demanding (--pedantic, informational tags shown): fails on any tag it
# prints, which are the tags not overridden, and shows them. Exit status 77
# (skipped) where lintian is not installed.
#   lintian.sh CPACK BUILD_DIR
set -u
command -v lintian >/dev/null || { echo "SKIPPED: lintian is not installed (tools/deps.sh)"; exit 77; }
dir=$(mktemp -d) || exit 2
trap 'rm -rf "$dir"' EXIT
"$1" -G DEB --config "$2/CPackConfig.cmake" -B "$dir" >"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$dir"/*.deb 2>"$dir/err"
status=$?
[ $status -eq 0 ] || grep -v '^running with root privileges' "$dir/err"
exit $status
