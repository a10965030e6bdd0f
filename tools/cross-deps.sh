#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs what the ARM cross builds need on a Debian 12 host: the cross
# compilers, the user-mode emulator, the system emulator of the emulated
# boards and, for arm64 and armhf through multiarch, GoogleTest, the EGL /
# OpenGL ES 1.x, GBM and libdrm development files and Mesa's drivers;
# armel's, which do not install beside the host's, go into a sysroot of its
# own, build/sysroots/armel (tools/sysroot.sh). With apt-get as root,
# through sudo where available, otherwise prints the exact commands and stops.
#
#   tools/cross-deps.sh            install whatever is missing
#   tools/cross-deps.sh --check    exit 0 when everything is there, 1 if not
set -eu
case $#:${1:-} in
  0: | 1:--check) ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

ARCHES="arm64 armhf"
HOST_PACKAGES="g++-aarch64-linux-gnu g++-arm-linux-gnueabihf g++-arm-linux-gnueabi qemu-user qemu-system-arm
binutils-aarch64-linux-gnu binutils-arm-linux-gnueabihf binutils-arm-linux-gnueabi
cmake ninja-build pkg-config mmdebstrap"
# Installed once per target architecture, as PACKAGE:ARCH. libstdc++6 and
# libc6 of the target come with these; they are named so that the emulated
# programs find their runtime under /lib/<triplet> (the target's loader is
# /lib/ld-linux-aarch64.so.1 or /lib/ld-linux-armhf.so.3).
TARGET_PACKAGES="libc6 libstdc++6 libgtest-dev"
# What the programs need besides.
PROGRAM_PACKAGES="libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri libgmock-dev libgbm-dev libdrm-dev"
sysroot_dir="$(cd "$(dirname "$0")/.." && pwd)/build/sysroots/armel"
sysroot="$(dirname "$0")/sysroot.sh"

installed() {
  status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) return 0 ;;
    *) return 1 ;;
  esac
}

missing_arches=""
for arch in $ARCHES; do
  if ! dpkg --print-foreign-architectures | grep -qx "$arch" &&
     [ "$(dpkg --print-architecture)" != "$arch" ]; then
    missing_arches="$missing_arches $arch"
  fi
done

missing=""
for package in $HOST_PACKAGES; do
  installed "$package" || missing="$missing $package"
done
for arch in $ARCHES; do
  for package in $TARGET_PACKAGES $PROGRAM_PACKAGES; do
    installed "$package:$arch" || missing="$missing $package:$arch"
  done
done

if [ -z "$missing_arches" ] && [ -z "$missing" ] && "$sysroot" --check armel "$sysroot_dir" 2>/dev/null; then
  exit 0
fi
if [ "${1:-}" = "--check" ]; then
  echo "Cross packages or the armel sysroot missing:$missing_arches$missing" >&2
  exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
  run=""
elif command -v sudo >/dev/null 2>&1; then
  run="sudo"
else
  echo "Missing for the cross builds:$missing_arches$missing" >&2
  echo "Run as root:" >&2
  for arch in $missing_arches; do
    echo "  dpkg --add-architecture $arch" >&2
  done
  echo "  apt-get update && apt-get install -y --no-install-recommends$missing" >&2
  echo "  $sysroot armel $sysroot_dir" >&2
  exit 1
fi

for arch in $missing_arches; do
  echo "Adding architecture $arch"
  $run dpkg --add-architecture "$arch"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  $run apt-get update -qq
  # shellcheck disable=SC2086
  $run apt-get install -y -qq --no-install-recommends $missing
fi
# The sysroot is this user's own where user namespaces allow (tools/root.sh).
if "$(dirname "$0")/root.sh" check >/dev/null; then
  "$sysroot" armel "$sysroot_dir"
else
  $run "$sysroot" armel "$sysroot_dir"
  [ -z "$run" ] || $run chown -R "$(id -u):$(id -g)" "$sysroot_dir"
fi
