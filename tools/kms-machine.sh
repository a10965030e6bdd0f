#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command inside an emulated machine that has a DRM/KMS device
# (virtio-gpu), with Debian's own kernel and a busybox initramfs: an x86-64
# machine (amd64) or a display-less ARM board (arm64, armhf). The guest
# mounts this machine's / read-only over 9p and runs the command in a root
# of the target's system folders (/usr, /etc, /var and the like) and this
# machine's other folders (the build tree, /tmp, /home): for amd64 the
# target's are this machine's own, so the command uses the host's Mesa; for
# an ARM board they are a root of that architecture's Debian 12 packages
# (Mesa, GBM, the C++ runtime, a shell and the tools the tests call), made
# in DIR/root, so a cross build's programs run on that architecture's Mesa.
#   tools/kms-machine.sh prepare DIR [ARCH]
#       ARCH amd64 (the default), arm64 or armhf. Fetches the kernel (and,
#       for ARM, busybox) package of ARCH into DIR, unpacks the kernel and
#       builds the initramfs there (and the root), once; where that cannot
#       be done, writes the reason to DIR/skipped (the runs then skip).
#   tools/kms-machine.sh run DIR COMMAND [ARGS...]
#       COMMAND in the guest, in this folder and this environment: its output
#       here and its exit status, or 77 (skipped) without a machine.
set -u
# depmod and modprobe live in /sbin, which an ordinary user's PATH lacks.
PATH=$PATH:/usr/sbin:/sbin
usage() {
  echo "usage: $0 prepare DIR [amd64|arm64|armhf] | run DIR COMMAND [ARGS...]" >&2
  exit 2
}
# ARCH: its qemu, machine and CPU, the kernel's console and Debian's kernel
# package. ARM: qemu's virt board; cortex-a57 emulates about four times
# faster than max (which adds pointer authentication), and the armhf kernel
# with LPAE needs a Cortex-A15.
machine_of() {
  case $1 in
    amd64) echo "qemu-system-x86_64|-machine q35,accel=tcg -cpu max|ttyS0|linux-image-amd64" ;;
    arm64) echo "qemu-system-aarch64|-machine virt,accel=tcg -cpu cortex-a57|ttyAMA0|linux-image-arm64" ;;
    armhf) echo "qemu-system-arm|-machine virt,accel=tcg -cpu cortex-a15|ttyAMA0|linux-image-armmp-lpae" ;;
    *) return 1 ;;
  esac
}
case ${1:-}:$# in
  prepare:2 | prepare:3) machine_of "${3:-amd64}" >/dev/null || usage ;;
  run:*) [ $# -ge 3 ] || usage ;;
  *) usage ;;
esac
mode=$1
dir=$2
arch=${3:-amd64}
shift 2
modules="virtio_pci 9p 9pnet_virtio virtio_gpu"
# An ARM board's root: what the tests' commands call, besides the programs.
ROOT_PACKAGES="dash coreutils diffutils grep sed libc6 libstdc++6 libegl1 libgles1 libegl-mesa0 libgl1-mesa-dri libgbm1"
# The guest's /init. The job folder holds the command (job) and receives its
# output and exit status. The command's root is a tmpfs: the target root's
# system folders and this machine's others bound into it, read-only; /run,
# the guest's own tmpfs, is its writable place and its TMPDIR (the command's
# files there never cross 9p, whose every write costs a round trip).
INIT=$(cat <<'EOF'
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for module in $(cat /modules/order); do insmod /modules/$module; done
set -- $(cat /proc/cmdline)
for word; do case $word in job=* | target=* | limit=*) eval "${word%%=*}=${word#*=}" ;; esac; done
system=" bin boot etc lib lib32 lib64 libx32 sbin usr var "
bind() { mkdir -p "$2" && mount -o bind "$1" "$2"; }
opts=trans=virtio,version=9p2000.L,msize=512000,cache=loose
mount -t 9p -o $opts,ro host /host && mount -t tmpfs root /new && {
  for entry in /host${target%/}/*; do
    name=${entry##*/}
    case $system in *" $name "*) ;; *) continue ;; esac
    if [ -L "$entry" ]; then ln -s "$(readlink "$entry")" "/new/$name"; else bind "$entry" "/new/$name"; fi
  done
  for entry in /host/*; do
    name=${entry##*/}
    case "$system proc sys dev run " in *" $name "*) continue ;; esac
    [ ! -d "$entry" ] || [ -L "$entry" ] || bind "$entry" "/new/$name"
  done
} && mkdir -p /new/proc /new/sys /new/dev /new/run && mount -t proc proc /new/proc &&
  mount -t sysfs sys /new/sys && mount -o bind /dev /new/dev && mount -t tmpfs run /new/run &&
  mount -t 9p -o $opts job "/new$job" &&
  timeout "$limit" chroot /new /bin/sh "$job/job" >"/new$job/out" 2>&1
echo $? >"/new$job/status"
umount "/new$job"
poweroff -f
EOF
)

skip() {
  echo "SKIPPED: $1" | tee "$dir/skipped"
  exit 77
}

case $mode in
  prepare)
    mkdir -p "$dir" && rm -f "$dir/skipped" || exit 1
    IFS='|' read -r qemu _ _ meta <<EOF
$(machine_of "$arch")
EOF
    suffix=
    [ "$arch" = amd64 ] || suffix=:$arch
    installer="tools/deps.sh test"
    [ "$arch" = amd64 ] || installer=tools/cross-deps.sh
    tools="$qemu cpio xz apt-get dpkg-deb"
    [ "$arch" != amd64 ] || tools="$tools busybox"
    for tool in $tools; do
      command -v "$tool" >/dev/null || skip "$tool not found ($installer installs it)"
    done
    # shellcheck disable=SC2086
    reason=$("$(dirname "$0")/kernel.sh" "$dir/kernel" "$meta$suffix" $modules) || skip "$reason"
    # What the machine is made from: a change in any of it makes it again.
    key="$arch $(cat "$dir/kernel/key") $(printf '%s' "$INIT" | cksum)"
    # An ARM board's root, from this machine's own apt sources.
    [ "$arch" = amd64 ] || key="$key $ROOT_PACKAGES $("$(dirname "$0")/root.sh" sources bookworm)"
    [ -f "$dir/initrd" ] && [ "$(cat "$dir/key" 2>/dev/null)" = "$key" ] && exit 0
    rm -rf "$dir/initramfs" "$dir/initrd" "$dir/key" "$dir/root" "$dir/busybox"
    # The uncompressed kernel boots faster under emulation than the bzImage:
    # it is the xz stream inside it (xz stops at the stream's end). The ARM
    # kernels boot as they are (arm64's Image, armhf's zImage).
    image=$dir/kernel/vmlinuz
    offset=
    [ "$arch" != amd64 ] || offset=$(LC_ALL=C grep -obUaP '\xfd7zXZ\x00' "$image" | head -1 | cut -d: -f1)
    if [ -n "$offset" ] && tail -c +$((offset + 1)) "$image" | xz -dcq >"$dir/vmlinux" 2>/dev/null; [ -s "$dir/vmlinux" ]; then
      :
    else
      cp "$image" "$dir/vmlinux"
    fi
    root=$dir/initramfs
    mkdir -p "$root/bin" "$root/dev" "$root/proc" "$root/sys" "$root/host" "$root/new" "$root/modules"
    if [ "$arch" = amd64 ]; then
      cp "$(command -v busybox)" "$root/bin/busybox"
    else
      (cd "$dir" && timeout 240 apt-get download -q "busybox-static$suffix" >download.log 2>&1) ||
        skip "cannot download busybox-static$suffix: $(grep -m1 '^E:' "$dir/download.log" || tail -1 "$dir/download.log")"
      dpkg-deb -x "$dir"/busybox-static_*.deb "$dir/busybox" && rm "$dir"/busybox-static_*.deb &&
        cp "$dir/busybox/bin/busybox" "$root/bin/busybox" || exit 1
      # The board's root, kept in DIR/root.
      reason=$("$(dirname "$0")/root.sh" check) || skip "$reason"
      # The registry's own message where it failed (a mirror in the middle
      # of a sync, say), else the log.
      "$(dirname "$0")/root.sh" make "$dir/root" bookworm --variant=extract --architectures="$arch" \
        --include="$(echo "$ROOT_PACKAGES" | tr ' ' ,)" --dpkgopt='path-exclude=/usr/share/doc/*' \
        --dpkgopt='path-exclude=/usr/share/man/*' --dpkgopt='path-exclude=/usr/share/locale/*' >/dev/null ||
        skip "no $arch root: $(grep -m1 '^E: Failed to fetch' "$dir/root.log" || echo "see $dir/root.log")"
    fi
    while read -r module; do
      cp "$dir/kernel/modules/$module" "$root/modules/" && basename "$module" >>"$root/modules/order" || exit 1
    done <"$dir/kernel/order"
    printf '%s\n' "$INIT" >"$root/init"
    chmod +x "$root/init"
    (cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) >"$dir/initrd.part" && mv "$dir/initrd.part" "$dir/initrd" &&
      echo "$arch" >"$dir/arch" && echo "$key" >"$dir/key"
    rm -rf "$root" "$dir/busybox"
    ;;
  run)
    [ -f "$dir/skipped" ] && { cat "$dir/skipped"; exit 77; }
    [ -f "$dir/initrd" ] || { echo "SKIPPED: no machine prepared in $dir"; exit 77; }
    IFS='|' read -r qemu options console _ <<EOF
$(machine_of "$(cat "$dir/arch")")
EOF
    target=/
    [ ! -d "$dir/root" ] || target=$(cd "$dir/root" && pwd)
    job=$(mktemp -d "${TMPDIR:-/tmp}/machine.XXXXXX") || exit 1
    trap 'rm -rf "$job"' EXIT
    {
      echo "cd '$PWD'"
      export -p
      echo 'export MESA_SHADER_CACHE_DISABLE=true TMPDIR=/run'
      for arg; do printf "'%s' " "$(printf '%s' "$arg" | sed "s/'/'\\\\''/g")"; done
      echo
    } >"$job/job"
    # The command has LIMIT seconds; the machine, a minute more to boot and
    # power off.
    limit=300
    # shellcheck disable=SC2086
    timeout $((limit + 60)) "$qemu" $options -smp 1 -m 1024 -nodefaults -display none \
      -serial file:"$job/console" -no-reboot -device virtio-gpu-pci \
      -kernel "$dir/vmlinux" -initrd "$dir/initrd" \
      -append "console=$console panic=-1 quiet job=$job target=$target limit=$limit" \
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
