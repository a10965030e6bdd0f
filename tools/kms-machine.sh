#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command of this machine inside an emulated x86-64 machine that has a
# DRM/KMS device (virtio-gpu), with Debian's own kernel and a busybox
# initramfs: the guest mounts this machine's / read-only over 9p and runs the
# command in a chroot of it, so it uses the host's Mesa and the build tree.
#   tools/kms-machine.sh prepare DIR
#       Fetches the kernel package into DIR, unpacks the kernel and builds
#       the initramfs there, once; where that cannot be done, writes the reason
#       to DIR/skipped (the runs then skip).
#   tools/kms-machine.sh run DIR COMMAND [ARGS...]
#       COMMAND in the guest, in this folder and this environment: its output
#       here and its exit status, or 77 (skipped) without a machine.
set -u
# depmod and modprobe live in /sbin, which an ordinary user's PATH lacks.
PATH=$PATH:/usr/sbin:/sbin
usage() {
  echo "usage: $0 prepare DIR | run DIR COMMAND [ARGS...]" >&2
  exit 2
}
case ${1:-} in
  prepare) [ $# -eq 2 ] || usage ;;
  run) [ $# -ge 3 ] || usage ;;
  *) usage ;;
esac
mode=$1
dir=$2
shift 2
modules="virtio_pci 9p 9pnet_virtio virtio_gpu"
# The guest's /init. The job folder holds the command (job) and receives its
# output and exit status; /run is the guest's only other writable place.
INIT=$(cat <<'EOF'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for module in $(cat /modules/order); do insmod /modules/$module; done
set -- $(cat /proc/cmdline)
for word; do case $word in job=*) job=${word#job=} ;; esac; done
opts=trans=virtio,version=9p2000.L,msize=512000,cache=loose
mount -t 9p -o $opts,ro host /host && mount -t 9p -o $opts job /host$job &&
  mount -t proc proc /host/proc && mount -t sysfs sys /host/sys && mount -o bind /dev /host/dev &&
  mount -t tmpfs run /host/run &&
  timeout 50 chroot /host /bin/sh $job/job >/host$job/out 2>&1
echo $? >/host$job/status
umount /host$job
poweroff -f
EOF
)

skip() {
  echo "SKIPPED: $1" | tee "$dir/skipped"
  exit 77
}

case $mode in
  prepare)
    mkdir -p "$dir" || exit 1
    package=$(apt-cache depends linux-image-amd64 2>/dev/null | sed -n 's/^ *Depends: \(linux-image-.*\)/\1/p' | head -1)
    # What the machine is made from: a change in any of it makes it again.
    key="$package $modules $(printf '%s' "$INIT" | cksum)"
    [ -f "$dir/initrd" ] && [ "$(cat "$dir/key" 2>/dev/null)" = "$key" ] && exit 0
    rm -rf "$dir/skipped" "$dir/kernel" "$dir/initramfs" "$dir/initrd" "$dir/key"
    for tool in qemu-system-x86_64 busybox cpio depmod modprobe xz apt-get dpkg-deb; do
      command -v $tool >/dev/null || skip "$tool not found (tools/deps.sh test installs it)"
    done
    [ -n "$package" ] || skip "no linux-image-amd64 package known to apt"
    if [ ! -f "$dir/$package.deb" ]; then
      (cd "$dir" && timeout 240 apt-get download -q "$package" >download.log 2>&1 && mv "$package"_*.deb "$package.deb") ||
        skip "cannot download $package: $(grep -m1 '^E:' "$dir/download.log" || tail -1 "$dir/download.log")"
    fi
    dpkg-deb -x "$dir/$package.deb" "$dir/kernel" || exit 1
    # Merged-/usr releases (Debian 13) ship the modules in /usr/lib/modules,
    # older ones in /lib/modules; kmod looks in one of the two, depending on
    # how it was built: both lead to them.
    for pair in lib/modules:../usr/lib/modules usr/lib/modules:../../lib/modules; do
      [ -d "$dir/kernel/${pair%%:*}" ] || { mkdir -p "$(dirname "$dir/kernel/${pair%%:*}")" &&
        ln -s "${pair#*:}" "$dir/kernel/${pair%%:*}"; }
    done
    version=$(ls "$dir/kernel/lib/modules/")
    depmod -b "$dir/kernel" "$version" || exit 1
    # The uncompressed kernel boots faster under emulation than the bzImage:
    # it is the xz stream inside it (xz stops at the stream's end).
    image=$dir/kernel/boot/vmlinuz-$version
    offset=$(LC_ALL=C grep -obUaP '\xfd7zXZ\x00' "$image" | head -1 | cut -d: -f1)
    if [ -n "$offset" ] && tail -c +$((offset + 1)) "$image" | xz -dcq >"$dir/vmlinux" 2>/dev/null; [ -s "$dir/vmlinux" ]; then
      :
    else
      cp "$image" "$dir/vmlinux"
    fi
    root=$dir/initramfs
    mkdir -p "$root/bin" "$root/dev" "$root/proc" "$root/sys" "$root/host" "$root/modules"
    cp "$(command -v busybox)" "$root/bin/busybox"
    # shellcheck disable=SC2086
    modprobe -d "$dir/kernel" -S "$version" --show-depends -a $modules | sed -n 's/^insmod \([^ ]*\).*/\1/p' |
      while read -r module; do
        cp "$module" "$root/modules/" && basename "$module" >>"$root/modules/order"
      done
    # The job folder holds the command (job) and receives its output and
    # exit status; /run is the guest's only other writable place.
    printf '%s\n' "$INIT" >"$root/init"
    chmod +x "$root/init"
    (cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) >"$dir/initrd.part" && mv "$dir/initrd.part" "$dir/initrd" &&
      echo "$key" >"$dir/key"
    rm -rf "$root" "$dir/kernel"
    ;;
  run)
    [ -f "$dir/skipped" ] && { cat "$dir/skipped"; exit 77; }
    [ -f "$dir/initrd" ] || { echo "SKIPPED: no machine prepared in $dir"; exit 77; }
    job=$(mktemp -d "${TMPDIR:-/tmp}/machine.XXXXXX") || exit 1
    trap 'rm -rf "$job"' EXIT
    {
      echo "cd '$PWD'"
      export -p
      echo "export MESA_SHADER_CACHE_DISABLE=true TMPDIR='$job'"
      for arg; do printf "'%s' " "$(printf '%s' "$arg" | sed "s/'/'\\\\''/g")"; done
      echo
    } >"$job/job"
    timeout 90 qemu-system-x86_64 -machine q35,accel=tcg -cpu max -smp 1 -m 512 -nodefaults -display none \
      -serial file:"$job/console" -no-reboot -device virtio-gpu-pci \
      -kernel "$dir/vmlinux" -initrd "$dir/initrd" -append "console=ttyS0 panic=-1 quiet job=$job" \
      -virtfs local,path=/,mount_tag=host,readonly=on,security_model=none,multidevs=remap \
      -virtfs local,path="$job",mount_tag=job,security_model=none </dev/null
    if [ ! -f "$job/status" ]; then
      echo "the machine gave no exit status; its console:"
      cat "$job/console"
      exit 1
    fi
    cat "$job/out"
    exit "$(cat "$job/status")"
    ;;
esac
