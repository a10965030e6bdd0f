#!/bin/sh
# SPDX-License-Identifier: MIT
# The second reference stack: a Debian 13 root with that release's own Mesa
# source package built with OpenGL ES 1.x enabled (Debian 13's binary Mesa
# makes no ES 1.x context). The programs of this machine's build run inside
# the root, unchanged, against that Mesa.
#
#   tools/mesa-current.sh prepare
#       Makes the root and builds Mesa into /opt/mesa in it, unless the cache
#       holds both, made from the same package lists, source version and
#       configure line. The root is made as root or, with user
#       namespaces, as this user (tools/root.sh). Where it cannot be made
#       (no mmdebstrap, no user namespace, the registry unreachable), prints
#       the reason and exits 77; a Mesa that does not build exits 1.
#   tools/mesa-current.sh run COMMAND [ARGS...]
#       COMMAND inside the root, in this folder, with this environment and
#       that Mesa selected: its output and exit status. The root's mounts
#       live in a private mount namespace, so none outlives a killed run.
#   tools/mesa-current.sh path
#       Prints the cache folder.
#
# The cache is QB_MESA_CACHE, or build/cache/mesa-current in the source tree.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${QB_MESA_CACHE:-$here/build/cache/mesa-current}
root=$cache/root
prefix=/opt/mesa
suite=trixie

# What the runs need in the root: the EGL and GLES 1 dispatch libraries, the
# client libraries the programs link, and the X and Wayland servers.
ROOT_PACKAGES="libegl1 libgles1 libx11-6 libx11-xcb1 libwayland-client0 libwayland-server0
libxcb-dri3-0 libxcb-present0 libxcb-sync1 libxcb-xfixes0 libxcb-randr0 libxcb-shm0 libxshmfence1
libdrm2 libexpat1 libzstd1 zlib1g libgbm1
xvfb xauth weston diffutils procps"
# What building Mesa needs: LLVM for llvmpipe, the driver a board or
# machine without a GPU gets by default.
BUILD_PACKAGES="llvm-dev libelf-dev libwayland-egl-backend-dev dpkg-dev meson ninja-build pkgconf gcc g++ python3-mako python3-yaml python3-packaging
bison flex glslang-tools libdrm-dev libexpat1-dev libzstd-dev zlib1g-dev libglvnd-dev
libx11-dev libx11-xcb-dev libxext-dev libxfixes-dev libxrandr-dev libxshmfence-dev
libxcb-dri3-dev libxcb-present-dev libxcb-sync-dev libxcb-xfixes0-dev libxcb-randr0-dev
libxcb-shm0-dev libxcb-glx0-dev libxcb-dri2-0-dev libxxf86vm-dev
libwayland-dev libwayland-bin wayland-protocols"
# Mesa's EGL (through glvnd) with OpenGL ES 1.x and 2 on surfaceless, X11,
# Wayland and GBM, and the two software drivers; no GLX, Vulkan, video or
# compute parts.
CONFIGURE="-Dprefix=$prefix -Dlibdir=lib -Dbuildtype=release -Db_ndebug=true
-Dplatforms=x11,wayland -Degl=enabled -Dgles1=enabled -Dgles2=enabled -Dglvnd=enabled
-Dglx=disabled -Dgbm=enabled -Dopengl=true
-Dgallium-drivers=softpipe,llvmpipe -Dvulkan-drivers= -Dllvm=enabled
-Dgallium-va=disabled -Dgallium-vdpau=disabled -Dgallium-xa=disabled
-Dgallium-nine=false -Dgallium-opencl=disabled -Dgallium-rusticl=false
-Dvideo-codecs= -Dvalgrind=disabled -Dlibunwind=disabled -Dlmsensors=disabled
-Dbuild-tests=false -Dtools= -Dxmlconfig=disabled"

# Also recorded in the cache folder, for the end of a suite run
# (tools/skipped-groups.sh).
skip() {
  line="mesa-current: SKIPPED ($1)"
  echo "$line"
  [ "$mode" != prepare ] || { mkdir -p "$cache" && echo "$line" >"$cache/skipped"; } 2>/dev/null
  exit 77
}

# The Debian archive of this machine's own apt sources.
mirror() {
  "$here/tools/root.sh" mirror
}

# in_root [DIR...] -- COMMAND [ARGS...]: COMMAND in the root, with each DIR of
# this machine at its own path there, in a private mount namespace.
in_root() {
  exec "$here/tools/root.sh" enter "$root" "$@"
}

# What each part of the cache was made from, the first line of its record:
# a change remakes that part.
root_recipe() {
  echo "$suite $(mirror)" $ROOT_PACKAGES "--" $BUILD_PACKAGES
}

mesa_recipe() {
  echo "$1" $CONFIGURE
}

log_step() {
  echo "mesa-current: $1 ($(($(date +%s) - started)) s)"
}

make_root() {
  mkdir -p "$cache" &&
    "$here/tools/root.sh" make "$root" "$suite" --quiet --variant=minbase \
      --include="$(echo $ROOT_PACKAGES $BUILD_PACKAGES | tr ' ' ,)" \
      --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*' \
      --dpkgopt='path-exclude=/usr/share/locale/*' --dpkgopt='path-exclude=/usr/share/info/*' \
      -- "deb $(mirror) $suite main" "deb-src $(mirror) $suite main"
}

source_version() {
  (in_root -- sh -c 'apt-get update -qq && apt-cache showsrc mesa') 2>"$cache/update.err" |
    sed -n 's/^Version: //p' | sort -V | tail -1
}

build_mesa() {
  rm -rf "$root$prefix"
  # shellcheck disable=SC2086
  (in_root -- sh -ec '
    rm -rf /src && mkdir /src && cd /src
    apt-get source -q "mesa=$1" >/dev/null 2>&1
    shift && cd mesa-*/ && meson setup ../out "$@" >../configure.log
    ninja -C ../out install >../build.log' build_mesa "$1" $CONFIGURE) 2>"$cache/build.err" ||
    { tail -20 "$cache/build.err"; tail -20 "$root/src/configure.log" "$root/src/build.log" 2>/dev/null; return 1; }
}

prepare() {
  started=$(date +%s)
  if [ "$(head -1 "$cache/root.recipe" 2>/dev/null)" != "$(root_recipe)" ]; then
    reason=$("$here/tools/root.sh" check) || skip "$reason"
    reason=$(mirror) || skip "$reason"
    rm -f "$cache/root.recipe" "$cache/mesa.recipe"
    echo "mesa-current: making a $suite root with Mesa's build dependencies in $root (about 70 s and 1.8 GB, once)"
    make_root || skip "cannot make a $suite root from $(mirror); see $root.log"
    root_recipe >"$cache/root.recipe"
    log_step "$suite root made"
  fi
  version=$(source_version)
  if [ -z "$version" ]; then
    # The registry is out of reach: a Mesa already built serves.
    [ -f "$cache/mesa.recipe" ] || skip "no $suite source package list from $(mirror): $(tail -1 "$cache/update.err")"
    version=$(sed -n 2p "$cache/mesa.recipe")
  fi
  if [ "$(head -1 "$cache/mesa.recipe" 2>/dev/null)" != "$(mesa_recipe "$version")" ]; then
    rm -f "$cache/mesa.recipe"
    echo "mesa-current: fetching and building $suite's Mesa $version with OpenGL ES 1.x (about 5 min on two cores, once per Mesa version)"
    # With the root and the source there, a build that fails is a fault.
    build_mesa "$version" || { echo "mesa-current: Mesa $version did not build; see $cache/build.err and $root/src"; exit 1; }
    rm -rf "$root/src" "$root/var/cache/apt/archives"/*.deb
    printf '%s\n%s\n' "$(mesa_recipe "$version")" "$version" >"$cache/mesa.recipe"
    log_step "Mesa $version built into $root$prefix"
  fi
  rm -f "$cache/skipped"
  echo "mesa-current: Mesa $version in $root ($(($(date +%s) - started)) s)"
}

run() {
  [ -f "$cache/mesa.recipe" ] || skip "no root; tools/mesa-current.sh prepare makes it"
  [ "$(id -u)" -eq 0 ] || unshare --user --map-root-user true 2>/dev/null ||
    skip "cannot enter the root: this kernel gives an ordinary user no user namespace"
  export __EGL_VENDOR_LIBRARY_FILENAMES=$prefix/share/glvnd/egl_vendor.d/50_mesa.json
  export LD_LIBRARY_PATH=$prefix/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
  # /tmp is this machine's (X servers in and out of the root see each
  # other's displays), and the source tree, this folder and TMPDIR are there
  # at their own paths.
  in_root /tmp "$here" "$(pwd)" "${TMPDIR:-/tmp}" -- sh -c 'cd "$0" && exec "$@"' "$(pwd)" "$@"
}

mode=${1:-}
case $mode in
  prepare) prepare ;;
  run) shift; run "$@" ;;
  path) echo "$cache" ;;
  *) echo "usage: $0 prepare | run COMMAND [ARGS...] | path" >&2; exit 2 ;;
esac
