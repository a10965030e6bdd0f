#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes a target's sysroot, as a board SDK brings one: Debian 12's packages
# of ARCH that the cross build needs (C and C++ runtime and headers, EGL,
# OpenGL ES 1.x, GBM, libdrm, Mesa's drivers, GoogleTest) unpacked into DIR without running
# their maintainer scripts, from the host's Debian sources. DIR/.packages
# records what it was made from; DIR is made again only when that changes.
# Made as root or, with user namespaces, as this user (tools/root.sh).
#
#   tools/sysroot.sh ARCH DIR            make DIR unless it is current
#   tools/sysroot.sh --check ARCH DIR    exit 0 when DIR is current, 1 if not
set -eu
check=false
if [ "${1:-}" = --check ]; then check=true; shift; fi
[ $# -eq 2 ] && [ "${1#-}" = "$1" ] || { echo "usage: $0 [--check] ARCH DIR" >&2; exit 2; }
arch=$1
dir=$2

PACKAGES="libc6-dev libstdc++-12-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri libgtest-dev libgmock-dev libgbm-dev libdrm-dev"
# This machine's own apt sources; their entries, not their comments, key the
# sysroot.
made_from="bookworm $arch $PACKAGES $("$(dirname "$0")/root.sh" sources bookworm)"

if [ "$(cat "$dir/.packages" 2>/dev/null || true)" = "$made_from" ]; then
  exit 0
fi
if $check; then
  echo "Sysroot $dir missing or made from another package list" >&2
  exit 1
fi

echo "Making the $arch sysroot in $dir"
mkdir -p "$(dirname "$dir")"
"$(dirname "$0")/root.sh" make "$dir" bookworm --quiet --variant=extract --architectures="$arch" \
  --include="$(echo $PACKAGES | tr ' ' ,)" \
  --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*' \
  --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-exclude=/usr/share/info/*'
rm -f "$dir.log"
printf '%s\n' "$made_from" >"$dir/.packages"
