#!/bin/sh
# SPDX-License-Identifier: MIT
# Debian roots for the tools and tests that need one (the reference Mesa, the
# package's minimal system, the armel sysroot), made and entered as root or,
# where the kernel gives an ordinary user a user namespace, as this user:
# then mmdebstrap runs in --mode=unshare and writes a tarball that is
# unpacked here, so every file of the root is this user's (and removable by
# it), and the root is entered with this user mapped to root.
#
#   tools/root.sh check
#       Exit 0 when roots can be made and entered here; else prints why, and
#       the command that would fix it where there is one, and exits 77.
#   tools/root.sh mirror
#       Prints the Debian archive this machine's apt sources name (deb822 or
#       one-line form); exit 77 with the reason where they name none. The
#       roots come from there only.
#   tools/root.sh make DIR SUITE [MMDEBSTRAP-OPTION...] [-- SOURCE...]
#       DIR made anew by mmdebstrap (through DIR.new, so a failed run leaves
#       no half root); mmdebstrap's output goes to DIR.log. Without SOURCE:
#       this machine's own sources (below).
#   tools/root.sh sources SUITE
#       Prints the entries of this machine's own sources for a root of
#       SUITE, for a cache key: its deb822 file where it has one, else the
#       one-line entry of its archive; exit 77 with the reason where there
#       is none.
#   tools/root.sh ns COMMAND [ARGS...]
#       COMMAND in a private mount namespace (as root, or this user mapped
#       to root), so that nothing it mounts outlives it.
#   tools/root.sh enter DIR [BIND...] -- COMMAND [ARGS...]
#       COMMAND with DIR as its root, with /proc, /dev and /sys and each
#       folder BIND of this machine at its own path there.
set -u
# chroot, and what runs inside the root, live in /sbin too, which an
# ordinary user's PATH lacks.
PATH=$PATH:/usr/sbin:/sbin
export PATH

usage() {
  [ "${1:-2}" -eq 0 ] || exec >&2
  echo "usage: $0 check | mirror | make DIR SUITE [OPTION...] [-- SOURCE...] | sources SUITE | ns COMMAND... | enter DIR [BIND...] -- COMMAND..."
  exit "${1:-2}"
}

unprivileged() { [ "$(id -u)" -ne 0 ]; }

check() {
  command -v mmdebstrap >/dev/null || { echo "mmdebstrap not found (tools/deps.sh reference installs it)"; exit 77; }
  unprivileged || exit 0
  command -v newuidmap >/dev/null || { echo "newuidmap not found (tools/deps.sh reference installs uidmap)"; exit 77; }
  grep -q "^$(id -un):" /etc/subuid 2>/dev/null ||
    { echo "no subordinate user ids for $(id -un) (sudo usermod --add-subuids 100000-165535 --add-subgids 100000-165535 $(id -un))"; exit 77; }
  unshare --user --map-root-user --mount true 2>/dev/null ||
    { echo "this kernel gives an ordinary user no user namespace (as root: sudo $0 ...)"; exit 77; }
}

mirror() {
  { sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | tr ' ' '\n'
    sed -n 's/^deb[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]\{1,\}\)\{0,1\}\([^[:space:]]*\).*/\2/p' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null; } |
    grep -m1 '/debian/\{0,1\}$' | sed 's|/$||' | grep . ||
    { echo "no Debian archive in this machine's apt sources (/etc/apt/sources.list*)"; exit 77; }
}

# own_sources SUITE: the SOURCE argument of this machine's own sources.
own_sources() {
  file=/etc/apt/sources.list.d/debian.sources
  [ ! -r "$file" ] || { echo "$file"; return; }
  archive=$(mirror) || { echo "$archive"; exit 77; }
  echo "deb $archive $1 main"
}

sources() {
  source=$(own_sources "$1") || { echo "$source"; exit 77; }
  grep -v '^#' "$source" 2>/dev/null || echo "$source"
}

# ns COMMAND...: see above.
ns() {
  if unprivileged; then
    exec unshare --user --map-root-user --mount --propagation private "$@"
  fi
  exec unshare --mount --propagation private "$@"
}

make_root() {
  dir=$1 suite=$2
  shift 2
  options= sources=
  while [ $# -gt 0 ] && [ "$1" != -- ]; do options="$options $(quote "$1")"; shift; done
  if [ $# -eq 0 ]; then
    own=$(own_sources "$suite") || { echo "$own"; exit 77; }
    set -- -- "$own"
  fi
  shift
  for source; do sources="$sources $(quote "$source")"; done
  rm -rf "$dir" "$dir.new" && mkdir -p "$dir.new" || exit 1
  if unprivileged; then
    # Device nodes cannot be made here; /dev is the host's in every run.
    eval "mmdebstrap --mode=unshare $options $suite - $sources" 2>"$dir.log" |
      tar -x -C "$dir.new" --exclude='./dev/*' 2>>"$dir.log" || { tail -5 "$dir.log"; exit 1; }
    # Inside, apt cannot switch to its own unprivileged user.
    mkdir -p "$dir.new/etc/apt/apt.conf.d" &&
      echo 'APT::Sandbox::User "root";' >"$dir.new/etc/apt/apt.conf.d/90unprivileged-root"
  else
    # In a mount namespace of its own: no mount of its outlives it.
    eval "unshare --mount --propagation private mmdebstrap --mode=root $options $suite $(quote "$dir.new") $sources" \
      >"$dir.log" 2>&1 ||
      { tail -5 "$dir.log"; exit 1; }
  fi
  mv "$dir.new" "$dir"
}

quote() { printf "'%s'" "$(printf '%s' "$1" | sed "s/'/'\\\\''/g")"; }

enter() {
  ns sh -c '
    root=$1; shift
    # The root is a mount point of its own, as / is, for the tools that look.
    mount --bind "$root" "$root" || exit 1
    for dir in /proc /dev /sys; do mount --rbind "$dir" "$root$dir" || exit 1; done
    # Each folder with what is mounted below it: in a user namespace, a
    # bind that would uncover what a mount below hides is refused.
    while [ "$1" != -- ]; do
      [ -d "$root$1" ] && [ "$(stat -c %d:%i "$1")" = "$(stat -c %d:%i "$root$1")" ] ||
        { mkdir -p "$root$1" && mount --rbind "$1" "$root$1"; } || exit 1
      shift
    done
    shift
    # The root becomes the namespace'"'"'s own root (pivot_root, not chroot), so
    # that what runs inside may make namespaces of its own, as on a machine.
    cd "$root" && pivot_root . . && umount -l . || exit 1
    exec "$@"' enter "$@"
}

[ $# -ge 1 ] || usage
mode=$1
shift
case $mode in
  check) [ $# -eq 0 ] || usage; check ;;
  mirror) [ $# -eq 0 ] || usage; mirror ;;
  sources) [ $# -eq 1 ] || usage; sources "$1" ;;
  -h | --help) usage 0 ;;
  make) [ $# -ge 2 ] || usage; make_root "$@" ;;
  ns) [ $# -ge 1 ] || usage; ns "$@" ;;
  enter)
    [ $# -ge 3 ] || usage
    for arg; do [ "$arg" != -- ] || { enter "$@"; }; done
    usage ;;
  *) usage ;;
esac
