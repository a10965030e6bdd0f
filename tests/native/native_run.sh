#!/bin/sh
# Whole-program runs of the brindle builds with real native hooks.
#   native_run.sh check [-s STATUS] GOLDEN PROGRAM [ARGS...]
#       PROGRAM prints exactly GOLDEN on standard output and exits with
#       STATUS (0 unless given).
#   native_run.sh start NAME | stop NAME
#       Starts a headless compositor in the private runtime folder
#       ${TMPDIR:-/tmp}/NAME (socket "wayland"); stop ends it and removes the
#       folder.
#   native_run.sh wayland NAME GOLDEN PROGRAM [ARGS...]
#       check, with PROGRAM a client of the compositor NAME.
#   native_run.sh client NAME COMMAND [ARGS...]
#       COMMAND as a client of the compositor NAME.
set -u
mode=$1
shift
if [ "$mode" != check ]; then
  dir=${TMPDIR:-/tmp}/$1
  shift
fi
case $mode in
  client)
    XDG_RUNTIME_DIR="$dir" WAYLAND_DISPLAY=wayland exec "$@"
    ;;
  check | wayland)
    [ "$mode" = check ] || export XDG_RUNTIME_DIR="$dir" WAYLAND_DISPLAY=wayland
    status=0
    [ "$1" = -s ] && status=$2 && shift 2
    golden=$1
    shift
    # The exit status goes after the output, so that command substitution
    # keeps the output's own line ends.
    out=$("$@"; echo "exit $?")
    [ "$out" = "$(cat "$golden"; echo "exit $status")" ] && exit 0
    printf '%s\n' "$out" | diff -u "$golden" -
    exit 1
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
