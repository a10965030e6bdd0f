#!/bin/sh
# Builds the Debian package of the build with cpack, unpacks it into an
# empty root (dpkg-deb -x, as `dpkg -x` does) and checks it: the file list,
# the Depends line that dpkg-shlibdeps derived, the compressed manual pages,
# stripped programs, and each installed program's -h run from that root.
#
# Usage: deb_package_test.sh CPACK BUILD_DIR SOURCE_DIR PROGRAM...
# QB_EMULATOR, when set, runs the programs (a cross build's emulator).
set -u
cpack=$1
build=$2
source=$3
shift 3
programs=$*

# shellcheck source=tests/packaging/common.sh
. "$(dirname "$0")/common.sh"

HELP='Options:
	-h		Print this help screen.
	-l	<file>	Create a logfile.
	-v		Verbose mode ON.
'

# Exit status after -h, and the runtime packages each program must pull in.
help_status() {
  case $1 in
    quillet_cl) echo 0 ;;
    brindle) echo 1 ;;
    *) echo "unknown program $1" >&2; exit 1 ;;
  esac
}
runtime_packages() {
  case $1 in
    quillet_cl) echo libegl1 libgles1 ;;
    brindle) echo libegl1 ;;
  esac
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
set -- "$work"/out/*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  cat "$work/cpack.log"
  echo "FAIL: expected one .deb, found: $*"
  exit 1
fi
deb=$1
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Package Version Architecture Maintainer Depends

# Depends: package names, without version relations or alternatives.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(echo "$depends" | tr '|' ',' | tr ',' '\n' | sed 's/(.*//; s/[[:space:]]//g' | sort -u)
for program in $programs; do
  for package in $(runtime_packages "$program"); do
    if ! echo "$names" | grep -qx "$package"; then
      fail "Depends does not name $package (needed by $program): $depends"
    fi
  done
done

# Exactly the programs and their compressed manual pages.
expected=$(for program in $programs; do
    echo "./usr/bin/$program"
    echo "./usr/share/man/man1/$program.1.gz"
  done | sort)
got=$(dpkg-deb -c "$deb" | grep -v '^d' | sed 's/.* \.\//.\//' | sort)
if [ "$got" != "$expected" ]; then
  fail "package files:
$got
expected:
$expected"
fi

dpkg-deb -x "$deb" "$work/root"
for program in $programs; do
  page=$work/root/usr/share/man/man1/$program.1.gz
  if ! gzip -dc "$page" 2>/dev/null | cmp -s - "$source/man/$program.1"; then
    fail "$program.1.gz does not unpack to man/$program.1"
  fi
  if readelf -S "$work/root/usr/bin/$program" | grep -q '\.debug_info'; then
    fail "$program carries debug information"
  fi
  out=$(cd "$work" && run "$work/root/usr/bin/$program" -h 2>&1; echo "status $?")
  want="${HELP}
status $(help_status "$program")"
  if [ "$out" != "$want" ]; then
    fail "installed $program -h printed:
$out
expected:
$want"
  else
    echo "installed $program -h: help text, $(echo "$out" | tail -n 1)"
  fi
done

finish "package: as expected"
