#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian packages a step needs, when any is missing: with
# apt-get as root, through sudo where available (sudo is needed for apt-get
# only), otherwise prints the exact command and stops.
#
#   tools/deps.sh run        building the programs and `make run`
#   tools/deps.sh reference  the reference Mesa of tools/mesa-current.sh (a
#                            Debian 13 root, made as root or as this user)
#   tools/deps.sh test       everything `make test` runs: all of the above
#                            and what each test group adds
#   tools/deps.sh lava       a LAVA dispatcher, for the real-LAVA jobs of the
#                            packaging group (about 380 MB; CI installs it,
#                            elsewhere those jobs skip without it)
#   tools/deps.sh --list GROUP   prints the group's packages
set -eu

# What each group adds, found by its name.
run="cmake ninja-build g++ pkg-config make libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri"
reference="mmdebstrap uidmap"
unit="libgtest-dev libgmock-dev libbenchmark-dev"
platforms="xvfb xauth weston libwayland-dev libx11-dev libgbm-dev libdrm-dev"
machine="qemu-system-x86 busybox-static cpio kmod xz-utils"
checks="valgrind gcovr clang clang-tidy clang-format cppcheck"
packaging="dpkg-dev groff-base lintian"
lava="lava-dispatcher lava-common"

usage() {
  echo "usage: $0 run | reference | test | lava | --list GROUP" >&2
  exit 2
}

packages_of() {
  case $1 in
    run) echo "$run" ;;
    reference) echo "$reference" ;;
    lava) echo "$lava" ;;
    test) echo "$run $reference $unit $platforms $machine $checks $packaging" ;;
    *) usage ;;
  esac
}

[ $# -ge 1 ] || usage
case $1 in -h | --help) usage ;; esac
if [ "$1" = --list ]; then
  [ $# -eq 2 ] || usage
  packages_of "$2"
  exit 0
fi
[ $# -eq 1 ] || usage
packages=$(packages_of "$1")

missing=""
for package in $packages; do
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
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "Missing packages ($1):$missing" >&2
  echo "Run as root: apt-get update && $install_line" >&2
  exit 1
fi

echo "deps: installing for '$1':$missing"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp "${TMPDIR:-/tmp}/deps.XXXXXX")
trap 'rm -f "$log"' EXIT
# shellcheck disable=SC2086
{ $sudo apt-get update -qq && $sudo apt-get install -y -qq --no-install-recommends $missing; } >"$log" 2>&1 ||
  { cat "$log"; echo "deps: apt-get failed" >&2; exit 1; }
