#!/bin/sh
# Installs the build with DESTDIR into an empty folder, once under the
# configured prefix and once under another --prefix, and checks that exactly
# the programs and their manual pages land there, and nothing else.
#
# Usage: install_layout_test.sh CMAKE BUILD_DIR SOURCE_DIR PREFIX BINDIR MANDIR PROGRAM...
#   BINDIR, MANDIR: as configured (relative to the prefix, or absolute)
set -u
cmake=$1
build=$2
source=$3
prefix=$4
bindir=$5
mandir=$6
shift 6

# shellcheck source=tests/packaging/common.sh
. "$(dirname "$0")/common.sh"

# under PREFIX DIR: DIR as installed under PREFIX.
under() {
  case $2 in
    /*) echo "$2" ;;
    *) echo "$1/$2" ;;
  esac
}

# check_install NAME PREFIX [--prefix P]: installs and compares the file list.
check_install() {
  name=$1
  at=$2
  shift 2
  root=$work/$name
  if ! DESTDIR=$root "$cmake" --install "$build" "$@" >"$work/$name.log" 2>&1; then
    fail "cmake --install $*"
    cat "$work/$name.log"
    return
  fi
  expected=$(for program in $programs; do
      echo "$(under "$at" "$bindir")/$program"
      echo "$(under "$at" "$mandir")/man1/$program.1"
    done | sort)
  got=$(cd "$root" && find . ! -type d | sed 's/^\.//' | sort)
  echo "-- DESTDIR=$root cmake --install $*:"
  echo "$got"
  if [ "$got" != "$expected" ]; then
    fail "installed files differ; expected:
$expected"
    return
  fi
  for program in $programs; do
    if [ ! -x "$root$(under "$at" "$bindir")/$program" ]; then
      fail "$program is not executable"
    fi
    if ! cmp -s "$root$(under "$at" "$mandir")/man1/$program.1" "$source/man/$program.1"; then
      fail "installed $program.1 differs from man/$program.1"
    fi
  done
}

programs=$*
check_install configured "$prefix"
check_install relocated /opt/qb --prefix /opt/qb

finish "install layout: as expected"
