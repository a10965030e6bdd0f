#!/bin/sh
# Installs the Debian packages that building, running and testing need, when
# any is missing: with apt-get as root, through sudo where available,
# otherwise prints the exact command and stops.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config make
libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth weston libwayland-dev libx11-dev libgbm-dev libdrm-dev mmdebstrap
qemu-system-x86 busybox-static cpio kmod xz-utils
valgrind gcovr clang clang-tidy clang-format cppcheck dpkg-dev groff-base lintian"

missing=""
for package in $PACKAGES; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
  esac
done

if [ -z "$missing" ]; then
  exit 0
fi

install_line="apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" -eq 0 ]; then
  run=""
elif command -v sudo >/dev/null 2>&1; then
  run="sudo"
else
  echo "Missing packages:$missing" >&2
  echo "Run as root: apt-get update && $install_line" >&2
  exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$run apt-get update -qq
# shellcheck disable=SC2086
$run apt-get install -y -qq --no-install-recommends $missing
