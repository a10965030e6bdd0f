#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the LAVA test definition in a real dispatcher: Debian 12's lava-run
# (no server) on LAVA's own qemu device type, an emulated x86-64 machine
# (no KVM) or, for an arm64 build, an emulated arm64 board, booting Debian
# 12's kernel of that architecture with a cpio root that holds Mesa and the
# package of this build.
#   lava_run.sh prepare CPACK BUILD_DIR CACHE BRINDLE_GBM
#       Makes in CACHE, each again only when what it is made from changes:
#       the device dictionaries (the device type of lava-server's package of
#       lava-run's version), the kernel of the package's architecture with
#       its virtio-gpu modules, the root without the package (Mesa, from the
#       package's Depends and Recommends) and the root with it, the modules and BRINDLE_GBM (the
#       gbm build, in /opt/quillet-brindle-gbm/bin, as a display-less
#       board's image would install it; "none": left out).
#   lava_run.sh run CACHE CASE
#       The job of CASE, which is a job and a device dictionary of
#       docs/packaging.md; prints each result as "DEFINITION CASE RESULT" in
#       order, LAVA's own ("lava") for each definition's run and for the job
#       included. CASE: pass (the definition from a tarball of the test
#       repository's contrib/lava/, then the documented inline definition,
#       which runs the installed script), short_timeout (the same definition
#       with TIMEOUT 1), missing_script (the installed script removed, then
#       the definition from a tarball without the script) or gbm (the
#       display-less board's job, on the device with a virtio-gpu: brindle's
#       -v trace, read from the job's log, must equal GBM_TRACE, the window
#       trace of the gbm build, else the difference is printed).
# Exit status 77 (skipped), with the reason, where LAVA or the images cannot
# be had, and as an ordinary user (lava-run refuses one). Cold, the images
# take about 1.5 min and 640 MB; the jobs 0.5 to 1 min each.
set -u
PATH=$PATH:/usr/sbin:/sbin
usage() {
  echo "usage: $0 prepare CPACK BUILD_DIR CACHE BRINDLE_GBM | run CACHE pass|short_timeout|missing_script|gbm GBM_TRACE" >&2
  exit 2
}
skip() { echo "SKIPPED: $*" | tee "$cache/skipped"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
case ${1:-}:$#:${3:-} in
  prepare:5:*) cache=$4 ;;
  run:3:pass | run:3:short_timeout | run:3:missing_script | run:4:gbm) cache=$2 ;;
  *) usage ;;
esac
case $cache in
  /*) ;;
  *) cache=$PWD/$cache ;;
esac
# The guest's /init: a login shell on the kernel's console, for ever.
INIT=$(cat <<'EOF'
#!/bin/sh
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mkdir -p /dev/pts && mount -t devpts devpts /dev/pts
mount -t tmpfs tmp /tmp
modprobe -a virtio_pci virtio_gpu || echo "init: no virtio-gpu driver"
export HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin
cd /root
tty=ttyS0
for word in $(cat /proc/cmdline); do case $word in console=*) tty=${word#console=} tty=${tty%%,*} ;; esac; done
while :; do setsid -c sh -l <>"/dev/$tty" >&0 2>&1; done
EOF
)
PROMPT='root@board:~# '
# What drives the virtio-gpu device, and where the image has the gbm build.
MODULES="virtio_pci virtio_gpu"
GBM_BINDIR=/opt/quillet-brindle-gbm/bin
# ARCH: qemu, Debian's kernel package, the kernel's console and the device
# dictionaries (docs/packaging.md's jinja blocks) of the plain device and of
# the one with a virtio-gpu; an arm64 board has the virtio-gpu always.
machine_of() {
  case $1 in
    amd64) echo "qemu-system-x86_64|linux-image-amd64|ttyS0|1 2" ;;
    arm64) echo "qemu-system-aarch64|linux-image-arm64|ttyAMA0|3 3" ;;
    *) return 1 ;;
  esac
}

# fresh NAME KEY: true when CACHE/NAME was made from KEY.
fresh() { [ -e "$cache/$1" ] && [ "$(cat "$cache/$1.key" 2>/dev/null)" = "$2" ]; }

prepare() {
  rm -f "$cache/skipped"
  mkdir -p "$cache" || exit 1
  [ "$(id -u)" -eq 0 ] || skip "lava-run runs as root only"
  dir=$(mktemp -d) || exit 2
  trap 'rm -rf "$dir" "$cache/image"' EXIT
  "$2" -G DEB --config "$3/CPackConfig.cmake" -B "$dir" >"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
  deb=$(echo "$dir"/*.deb)
  arch=$(dpkg-deb -f "$deb" Architecture)
  IFS='|' read -r qemu meta _ devices <<EOF
$(machine_of "$arch" || echo "|||")
EOF
  [ -n "$qemu" ] || skip "no LAVA device for $arch"
  suffix=
  [ "$arch" = "$(dpkg --print-architecture)" ] || suffix=:$arch
  for tool in lava-run "$qemu" cpio apt-get dpkg-deb; do
    command -v "$tool" >/dev/null || skip "$tool not found (tools/deps.sh lava installs it)"
  done
  reason=$("$here/../../tools/root.sh" check) || skip "$reason"
  version=$(dpkg-query -W -f='${Version}' lava-dispatcher)
  key="lava-server $version $arch $(docs jinja 1 | cksum) $(docs jinja 2 | cksum) $(docs jinja 3 | cksum)"
  if ! fresh device.yaml "$key"; then
    rm -rf "$cache/lava-server"
    (cd "$cache" && timeout 240 apt-get download -q "lava-server=$version" >download.log 2>&1) ||
      skip "cannot download lava-server $version: $(grep -m1 '^E:' "$cache/download.log")"
    dpkg-deb -x "$cache"/lava-server_*.deb "$cache/lava-server" && rm "$cache"/lava-server_*.deb || exit 1
    # device.yaml: the plain device; device-gbm.yaml: the one with a
    # virtio-gpu.
    docs jinja "${devices% *}" >"$cache/device.jinja2" && docs jinja "${devices#* }" >"$cache/device-gbm.jinja2" ||
      exit 1
    /usr/bin/python3 -c 'import sys, jinja2
env = jinja2.Environment(loader=jinja2.FileSystemLoader(sys.argv[1:3]), trim_blocks=True, autoescape=False)
for name in "device", "device-gbm":
    open(sys.argv[1] + "/" + name + ".yaml", "w").write(env.get_template(name + ".jinja2").render())' \
      "$cache" "$cache/lava-server/usr/share/lava-server/device-types" && echo "$key" >"$cache/device.yaml.key" || exit 1
  fi

  # The kernel, and its modules that drive the virtio-gpu device (with
  # their dependencies), in CACHE/kernel.
  # shellcheck disable=SC2086
  reason=$("$here/../../tools/kernel.sh" "$cache/kernel" "$meta$suffix" $MODULES) || skip "$reason"

  sources=$("$here/../../tools/root.sh" sources bookworm) || skip "$sources"
  list=$(dpkg-deb -f "$deb" Depends Recommends | sed 's/^[A-Za-z]*://' | tr ',' '\n' |
    sed 's/[|(].*//; s/ //g' | sort -u | paste -sd, -)
  key="bookworm $arch $sources mount,kmod,$list"
  # A foreign architecture's maintainer scripts cannot run here: its
  # packages are unpacked only (the Essential set named), and the accounts
  # written from base-passwd's.
  variant=--variant=essential
  [ -z "$suffix" ] || variant="--variant=extract --include=?essential --architectures=$arch"
  if ! fresh base "$key"; then
    rm -rf "$cache/base" "$cache/base.key"
    # shellcheck disable=SC2086
    "$here/../../tools/root.sh" make "$cache/base" bookworm $variant --include="mount,kmod,$list" \
      --dpkgopt=force-unsafe-io --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*' \
      --dpkgopt='path-exclude=/usr/share/locale/*' >/dev/null ||
      skip "no Debian root: $(grep -Eom1 '(Failed to fetch|Could not resolve|Temporary failure|Unable to connect).*' "$cache/base.log")"
    if [ -n "$suffix" ]; then
      for file in passwd group; do
        cp "$cache/base/usr/share/base-passwd/$file.master" "$cache/base/etc/$file" || exit 1
      done
    fi
    echo "$key" >"$cache/base.key"
  fi
  # The root with the package installed by dpkg: made from the root above,
  # the package's files, the modules, the gbm build and the init script.
  gbm=$5
  [ "$gbm" = none ] || gbm=$(cksum <"$5") || exit 1
  key="$key $(dpkg-deb --fsys-tarfile "$deb" | tar -xO | cksum) $(cat "$cache/kernel/key") $gbm"
  key="$key $(printf '%s' "$INIT" | cksum)"
  fresh root.cpio "$key" && exit 0
  rm -rf "$cache/root.cpio" "$cache/image" && cp -a "$cache/base" "$cache/image" && cp "$deb" "$cache/image/tmp/" &&
    cp -a "$cache/kernel/modules/lib/modules" "$cache/image/lib/" || exit 1
  if [ "$5" != none ]; then
    mkdir -p "$cache/image$GBM_BINDIR" && cp "$5" "$cache/image$GBM_BINDIR/brindle" || exit 1
  fi
  if [ -z "$suffix" ]; then
    chroot "$cache/image" sh -c 'dpkg -i /tmp/*.deb && rm /tmp/*.deb' >"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
  else
    dpkg-deb -x "$deb" "$cache/image" && rm "$cache/image/tmp/"*.deb || exit 1
  fi
  printf '%s\n' "$INIT" >"$cache/image/init" && chmod +x "$cache/image/init" &&
    printf "PS1='%s'\n" "$PROMPT" >"$cache/image/root/.profile" || exit 1
  rm -rf "$cache/image/var/cache/apt" "$cache/image/var/lib/apt/lists"
  (cd "$cache/image" && find . | cpio -o -H newc --quiet) >"$cache/root.cpio.new" &&
    mv "$cache/root.cpio.new" "$cache/root.cpio" && echo "$key" >"$cache/root.cpio.key" && echo "$arch" >"$cache/arch"
}

# docs KIND N: the Nth block of docs/packaging.md fenced as KIND: the device
# dictionary and the job run here are the ones documented there.
docs() {
  awk -v fence="\`\`\`$1" -v n="$2" '$0 == fence { on = ++seen == n; next } $0 == "```" { on = 0 } on' \
    "$here/../../docs/packaging.md"
}

# job CASE: the job, on standard output: the documented one with the images
# of CACHE, the project's definition from the tarball of the case in place
# of its inline definition (gbm: the display-less board's), and that inline
# definition after it for pass.
job() {
  docs yaml 1 | sed "s|^job_name: .*|& $1|; s|file:///srv/lava/vmlinuz|file://$cache/kernel/vmlinuz|; s|file:///srv/lava/|file://$cache/|; /^    - from: inline\$/,\$d; $for_arch"
  if [ "$1" = missing_script ]; then
    cat <<EOF
    - from: inline
      name: remove-script
      path: inline/remove-script.yaml
      repository:
        metadata: {format: Lava-Test Test Definition 1.0, name: remove-script, description: the installed script removed}
        run:
          steps:
          - rm /usr/share/quillet-brindle/lava/run-conformance.sh
EOF
  fi
  definition=2
  [ "$1" != gbm ] || definition=3
  docs yaml "$definition" | sed "s|file:///srv/lava/quillet-brindle-lava.tar|file://$tests/$1.tar|"
  case $1 in
    pass) docs yaml 1 | sed -n '/^    - from: inline$/,$p' ;;
    short_timeout) echo '        TIMEOUT: "1"' ;;
  esac
}

run() {
  [ -f "$cache/skipped" ] && { cat "$cache/skipped"; exit 77; }
  [ -f "$cache/root.cpio" ] || { echo "SKIPPED: nothing prepared in $cache"; exit 77; }
  tests=$(mktemp -d) || exit 2
  trap 'rm -rf "$tests"' EXIT
  # The job's context and the kernel's console for the images' architecture.
  arch=$(cat "$cache/arch")
  IFS='|' read -r _ _ console _ <<EOF
$(machine_of "$arch")
EOF
  for_arch="s|arch: amd64|arch: $arch|; s|console=ttyS0,|console=$console,|"
  # The test repository's definition and script (missing_script: the
  # definition alone).
  files="contrib/lava/graphics-conformance.yaml contrib/lava/run-conformance.sh"
  [ "$1" != missing_script ] || files=${files% *}
  # shellcheck disable=SC2086
  tar -cf "$tests/$1.tar" -C "$here/../.." $files || exit 1
  job "$1" >"$tests/job.yaml"
  device=device.yaml
  [ "$1" != gbm ] || device="device-gbm.yaml"
  lava-run --job-id "lava-run-$$" --output-dir "$tests/output" --device "$cache/$device" "$tests/job.yaml" \
    >"$tests/log" 2>&1
  # The log's lines are YAML; the results: the test cases, LAVA's case for
  # each definition's run and the job's. The device's output lines from
  # brindle's heading with -v to the report of its case are brindle's
  # trace, written to the trace file.
  /usr/bin/python3 -c 'import re, sys, yaml
trace = None
with open(sys.argv[2], "w") as out:
    for line in open(sys.argv[1]):
        entry = yaml.safe_load(line) if line.startswith("{") else None
        if not isinstance(entry, dict):
            continue
        if entry.get("lvl") == "target" and isinstance(entry.get("msg"), str):
            text = entry["msg"]
            if trace is not None and (text.startswith("<LAVA_SIGNAL_TESTCASE") or text.startswith("-- brindle ")):
                trace = None
            if trace is not None:
                out.write(text + "\n")
            if re.match(r"== \S*/brindle -v ", text):
                trace = text
        if entry.get("lvl") == "results":
            result = entry["msg"]
            if result["definition"] != "lava" or result["case"] == "job" or re.match(r"[0-9]+_", result["case"]):
                print(result["definition"], result["case"], result["result"])' "$tests/log" "$tests/trace" ||
    { tail -40 "$tests/log"; exit 1; }
  [ -z "$2" ] || diff -u "$2" "$tests/trace" || { echo "brindle's trace on the device differs from $2"; exit 1; }
}

case $1 in
  prepare) prepare "$@" ;;
  run) run "$3" "${4:-}" ;;
esac
