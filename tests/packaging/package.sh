#!/bin/sh
# SPDX-License-Identifier: MIT
# Prints what the build installs, one "MODE PATH" line a file, under an empty
# root: with "install", what `cmake --install --prefix /opt/qb` puts there;
# with "deb", what the Debian package from cpack holds, after the names its
# Depends line gives and with, for each packaged program, whether it carries
# debug information and how -h ends.
#   package.sh install|deb CMAKE|CPACK BUILD_DIR
set -u
dir=$(mktemp -d) || exit 2
trap 'rm -rf "$dir"' EXIT
if [ "$1" = install ]; then
  DESTDIR=$dir/root "$2" --install "$3" --prefix /opt/qb >/dev/null || exit 1
else
  "$2" -G DEB --config "$3/CPackConfig.cmake" -B "$dir" >"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
  dpkg-deb -f "$dir"/*.deb Depends | tr ',|' '\n\n' | sed 's/(.*//; s/ //g' | sort -u
  dpkg-deb -x "$dir"/*.deb "$dir/root" || exit 1
fi
(cd "$dir/root" && find . ! -type d -printf '%m %p\n' | sort)
if [ "$1" = deb ]; then
  for program in "$dir"/root/usr/bin/*; do
    readelf -S "$program" | grep -q debug_info && echo "${program##*/}: debug information"
    "$program" -h >/dev/null
    echo "${program##*/} -h: exit $?"
  done
fi
