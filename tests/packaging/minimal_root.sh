#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian package from cpack with apt-get into a minimal Debian 12
# root, as a user would, and runs both programs there on Mesa's surfaceless
# platform, in a chroot inside a private mount namespace (a copy of the
# root, so the root stays as made). The root comes from mmdebstrap with the
# package's Depends and Recommends; it is kept as CACHE and made again when
# that list changes (dpkg without fsync: the root is a throwaway). Exit
# status 77 (skipped) where no root can be made. As root or, with user
# namespaces, as an ordinary user (tools/root.sh). On softpipe quillet_cl
# takes under a second, on llvmpipe over a minute.
#   minimal_root.sh CPACK BUILD_DIR CACHE
set -u
skip() { echo "SKIPPED: $*"; exit 77; }
roots=$(dirname "$0")/../../tools/root.sh
reason=$("$roots" check) || skip "$reason"
cache=$3
dir=$(mktemp -d) || exit 2
trap 'rm -rf "$dir" "$cache.new" "$cache.log"' EXIT
"$1" -G DEB --config "$2/CPackConfig.cmake" -B "$dir" >"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
deb=$(echo "$dir"/*.deb)
sources=$("$roots" sources bookworm) || skip "$sources"
list=$(dpkg-deb -f "$deb" Depends Recommends | sed 's/^[A-Za-z]*://' | tr ',' '\n' |
  sed 's/[|(].*//; s/ //g' | sort -u | paste -sd, -)
key="bookworm $sources $list"
if [ "$(cat "$cache.key" 2>/dev/null)" != "$key" ]; then
  rm -rf "$cache" "$cache.key"
  "$roots" make "$cache" bookworm --variant=apt --dpkgopt=force-unsafe-io \
    --aptopt='APT::Install-Recommends "true"' --include="$list" >/dev/null || {
    reason=$(grep -Eom1 '(Failed to fetch|Could not resolve|Temporary failure|Unable to connect).*' "$cache.log") &&
      skip "the Debian registry cannot be reached: $reason"
    cat "$cache.log"; exit 1; }
  echo "$key" >"$cache.key"
fi
# A copy of the root (a second or two), so the root stays as made: dpkg
# cannot install through an overlay an ordinary user mounts.
cp -a "$cache" "$dir/root" && cp "$deb" "$dir/root/" || exit 2
"$roots" ns sh -ec '
  mount --rbind /proc "$1/root/proc"; mount --rbind /dev "$1/root/dev"
  chroot "$1/root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive sh -c \
    "apt-get install -y -o APT::Sandbox::User=root /*.deb >/apt.log 2>&1 || cat /apt.log
     export EGL_PLATFORM=surfaceless GALLIUM_DRIVER=softpipe; quillet_cl; brindle"' \
  sh "$dir" "$cache" >"$dir/out" 2>&1
status=0
for verdict in "quillet (fixed point) passed." "brindle passed."; do
  grep -Fqx "$verdict" "$dir/out" || { echo "no line: $verdict"; status=1; }
done
[ $status -eq 0 ] || cat "$dir/out"
exit $status
