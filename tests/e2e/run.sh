#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs one command in a scratch folder and prints what it did, for expect.sh
# to compare with a golden file: its standard output, then "--- stderr"
# and its standard error (when any), "--- NAME" and the text of each file it
# left in the folder, and "--- exit STATUS". An output or file that ends with
# the text of a reference file shows that text as [REFERENCE-NAME].
#
#   run.sh [-r REFERENCE]... [-o full|closed] [-u] [--] COMMAND [ARG...]
#     -o full     standard output is /dev/full
#     -o closed   standard output is a pipe whose reading end is closed
#     -u          a read-only run.log holding "keep" is there; when run as
#                 root, COMMAND runs as user 65534, from a copy in the folder
# The folder is made under $TMPDIR (else /tmp) and removed when this ends.
set -u
refs=
out=
nobody=
while getopts r:o:u opt; do
  case $opt in
    r) refs="$refs
$OPTARG" ;;
    o) out=$OPTARG ;;
    u) nobody=1 ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
IFS='
' # the references are one a line
dir=$(mktemp -d) || exit 2
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 2

if [ -n "$nobody" ]; then
  printf 'keep\n' >run.log && chmod 0444 run.log
  if [ "$(id -u)" = 0 ]; then
    chmod 0755 . && cp "$1" .program && shift
    set -- setpriv --reuid=65534 --regid=65534 --clear-groups "$dir/.program" "$@"
    if ! setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$dir/.program"; then
      echo "SKIPPED: user 65534 cannot reach $dir (TMPDIR is private)"
      exit 77
    fi
  fi
fi
case $out in
  full) exec 3>/dev/full ;;
  closed) mkfifo .fifo && exec 4<>.fifo 3>.fifo 4<&- ;;
  *) exec 3>.stdout ;;
esac
"$@" >&3 2>.stderr </dev/null
status=$?
exec 3>&-

# show FILE: its text, with the tail that is a reference's text named.
show() {
  size=$(wc -c <"$1")
  for ref in $refs; do
    rsize=$(wc -c <"$ref")
    if [ "$rsize" -gt 0 ] && [ "$size" -ge "$rsize" ] && tail -c "$rsize" "$1" | cmp -s - "$ref"; then
      head -c $((size - rsize)) "$1"
      echo "[${ref##*/}]"
      return
    fi
  done
  if [ "$size" -gt 65536 ]; then
    echo "[$size bytes, matching no reference]"
  else
    cat "$1"
  fi
}

[ -z "$out" ] && show .stdout
if [ -s .stderr ]; then
  echo "--- stderr"
  cat .stderr
fi
for file in *; do
  if [ -f "$file" ]; then
    echo "--- $file"
    show "$file"
  fi
done
echo "--- exit $status"
