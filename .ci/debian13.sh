#!/bin/sh
# SPDX-License-Identifier: MIT
# A newcomer on Debian 13: a fresh Debian 13 root with only git, make, a
# compiler and mount, this commit cloned into it, and the README's two
# commands run there as root, then `make run` again as an ordinary user with
# sudo for apt-get only. The root is entered as its namespace's own root, so
# that user namespaces work in it as on a machine. Root's reference Mesa is
# this clone's cache, shared (made from the same recipe, it would be built
# the same way); the ordinary user builds its own.
#   .ci/debian13.sh [COMMAND]
set -eu
cd "$(dirname "$0")/.."
[ $# -le 1 ] || { echo "usage: $0 [COMMAND]" >&2; exit 2; }
# Quoted apart: a default inside ${1:-...} would lose its inner quotes.
default=".ci/make-run.sh reference && make test && .ci/ordinary-user.sh '.ci/make-run.sh reference'"
command=${1:-$default}
dir=$PWD/build/ci/debian13
started=$(date +%s)
tools/root.sh make "$dir" trixie --quiet --variant=apt --include=git,make,g++,ca-certificates,mount \
  -- "deb $(tools/root.sh mirror) trixie main"
rm -f "$dir.log"
git clone -q "$PWD" "$dir/root/project"
echo "debian13: root made and project cloned ($(($(date +%s) - started)) s)"
mkdir -p build/cache/mesa-current
tools/root.sh enter "$dir" "$PWD/build/cache/mesa-current" -- env -i HOME=/root TERM=dumb \
  PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/sbin:/usr/sbin:/sbin QB_MESA_CACHE="$PWD/build/cache/mesa-current" \
  sh -c "cd /root/project && $command"
echo "debian13: '$command' passed ($(($(date +%s) - started)) s)"
