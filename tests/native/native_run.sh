#!/bin/sh
# SPDX-License-Identifier: MIT
# The compositor of the wayland runs of brindle.
#   native_run.sh start NAME | stop NAME
#       Starts a headless compositor in the private runtime folder
#       ${TMPDIR:-/tmp}/NAME (socket "wayland"); stop ends it and removes the
#       folder.
#   native_run.sh client NAME COMMAND [ARGS...]
#       COMMAND as a client of the compositor NAME.
#   native_run.sh no-dri COMMAND [ARGS...]
#       COMMAND where there is no /dev/dri, so that the gbm hooks find no
#       device for a known reason; elsewhere a skip.
set -u
mode=$1
if [ "$mode" = no-dri ]; then
  [ -e /dev/dri ] && { echo "SKIPPED: this machine has /dev/dri; the no-device run needs one without"; exit 77; }
  shift
  exec "$@"
fi
dir=${TMPDIR:-/tmp}/$2
shift 2
case $mode in
  client)
    XDG_RUNTIME_DIR="$dir" WAYLAND_DISPLAY=wayland exec "$@"
    ;;
  start)
    rm -rf "$dir" && mkdir -m 0700 "$dir" || exit 1
    XDG_RUNTIME_DIR=$dir weston --backend=headless-backend.so --shell=kiosk-shell.so --socket=wayland \
      --idle-time=0 </dev/null >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    for _ in $(seq 100); do
      [ -S "$dir/wayland" ] && exit 0
      sleep 0.1
    done
    cat "$dir/log"
    exit 1
    ;;
  stop)
    [ -f "$dir/pid" ] && kill "$(cat "$dir/pid")"
    # weston removes its socket on the way out.
    for _ in $(seq 50); do
      [ -S "$dir/wayland" ] || break
      sleep 0.1
    done
    rm -rf "$dir"
    ;;
esac
