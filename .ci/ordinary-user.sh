#!/bin/sh
# SPDX-License-Identifier: MIT
# The suite on an ordinary account, as a developer runs it on their own
# machine: a user made for it with sudo for apt-get only, this commit cloned
# into its home, and COMMAND run there through a login shell (an ordinary
# PATH, no /sbin), so that a root-only assumption fails here.
#   .ci/ordinary-user.sh [COMMAND]   default: make build && ctest --preset default
set -eu
cd "$(dirname "$0")/.."
[ $# -le 1 ] || { echo "usage: $0 [COMMAND]" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "$0: run as root: it makes the user" >&2; exit 2; }
command=${1:-make build && ctest --preset default}
user=qb-ci
started=$(date +%s)
# sudo, newuidmap and useradd (a minimal Debian 13 has none of them).
if ! command -v sudo >/dev/null || ! command -v newuidmap >/dev/null || ! command -v useradd >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends sudo uidmap passwd >/dev/null
fi
# useradd gives the user its subordinate ids, for the roots made as it.
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$user"
echo "$user ALL=(root) NOPASSWD: /usr/bin/apt-get" >/etc/sudoers.d/$user
chmod 0440 /etc/sudoers.d/$user
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/project"
git clone -q "$PWD" "$home/project"
chown -R "$user:" "$home/project"
su - "$user" -c "cd project && $command"
echo "ordinary-user: '$command' passed ($(($(date +%s) - started)) s)"
