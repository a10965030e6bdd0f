#!/bin/sh
# SPDX-License-Identifier: MIT
# Debian's kernel for an emulated machine, from this machine's apt sources:
# the kernel image and the modules that MODULE... need, for the KMS
# machines and boards (tools/kms-machine.sh) and the LAVA images.
#   tools/kernel.sh DIR PACKAGE[:ARCH] MODULE...
#       PACKAGE is the kernel's metapackage (linux-image-arm64:arm64 for a
#       foreign architecture). Makes, once (again when the kernel or the
#       modules change): DIR/vmlinuz, DIR/modules/lib/modules/VERSION with
#       the modules and depmod's index, and DIR/order, the modules' paths
#       under DIR/modules in load order. Exit status 77, with the reason on
#       standard output, where the kernel cannot be had.
set -u
# depmod and modprobe live in /sbin, which an ordinary user's PATH lacks.
PATH=$PATH:/usr/sbin:/sbin
[ $# -ge 3 ] || { echo "usage: $0 DIR PACKAGE[:ARCH] MODULE..." >&2; exit 2; }
dir=$1 meta=$2
shift 2
unavailable() { echo "$1"; exit 77; }
for tool in apt-cache apt-get dpkg-deb depmod modprobe; do
  command -v $tool >/dev/null || unavailable "$tool not found"
done
suffix=
case $meta in *:*) suffix=:${meta#*:} ;; esac
package=$(apt-cache depends "$meta" 2>/dev/null | sed -n 's/^ *Depends: \(linux-image-[^:]*\).*/\1/p' | head -1)
[ -n "$package" ] || unavailable "no $meta package known to apt${suffix:+ (dpkg --add-architecture ${suffix#:})}"
key="$package $*"
[ -f "$dir/order" ] && [ "$(cat "$dir/key" 2>/dev/null)" = "$key" ] && exit 0

rm -rf "$dir" && mkdir -p "$dir" || exit 1
(cd "$dir" && timeout 240 apt-get download -q "$package$suffix" >download.log 2>&1) ||
  unavailable "cannot download $package$suffix: $(grep -m1 '^E:' "$dir/download.log" || tail -1 "$dir/download.log")"
dpkg-deb -x "$dir/$package"_*.deb "$dir/kernel" && rm "$dir/$package"_*.deb || exit 1
# Merged-/usr releases (Debian 13) ship the modules in /usr/lib/modules,
# older ones in /lib/modules; kmod looks in one of the two, depending on
# how it was built: both lead to them, in the package and in DIR/modules
# (whose own are in lib/modules).
for pair in lib/modules:../usr/lib/modules usr/lib/modules:../../lib/modules; do
  [ -d "$dir/kernel/${pair%%:*}" ] || { mkdir -p "$(dirname "$dir/kernel/${pair%%:*}")" &&
    ln -s "${pair#*:}" "$dir/kernel/${pair%%:*}"; }
done
mkdir -p "$dir/modules/lib/modules" "$dir/modules/usr/lib" && ln -s ../../lib/modules "$dir/modules/usr/lib/modules" ||
  exit 1
version=$(ls "$dir/kernel/lib/modules/")
depmod -b "$dir/kernel" "$version" && cp "$dir/kernel/boot/vmlinuz-$version" "$dir/vmlinuz" || exit 1
modprobe -d "$dir/kernel" -S "$version" --show-depends -a "$@" >"$dir/depends" || exit 1
sed -n 's/^insmod \([^ ]*\).*/\1/p' "$dir/depends" | awk '!seen[$0]++' | while read -r module; do
  module=lib/modules/${module#*/lib/modules/}
  mkdir -p "$dir/modules/${module%/*}" && cp "$dir/kernel/$module" "$dir/modules/$module" &&
    echo "$module" >>"$dir/order.new" || exit 1
done || exit 1
# What is built in, for modprobe: depmod's index of the package's.
cp "$dir/kernel/lib/modules/$version/"modules.builtin* "$dir/kernel/lib/modules/$version/modules.order" \
  "$dir/modules/lib/modules/$version/" && depmod -b "$dir/modules" "$version" && mv "$dir/order.new" "$dir/order" && echo "$key" >"$dir/key" || exit 1
rm -rf "$dir/kernel" "$dir/depends"
