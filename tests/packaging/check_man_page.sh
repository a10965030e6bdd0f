#!/bin/sh
# Checks one manual page: groff formats it without a single warning, and the
# formatted text has each given line, and each message the program prints
# for its options, as a line of its own (so that readers and scripts find
# the exact text).
#
# Usage: check_man_page.sh GROFF PAGE PROGRAM|- [LINE...]
#   PROGRAM  the built program the page documents ("-": none built yet);
#            its -h options and option messages are looked up in the page
# QB_EMULATOR, when set, runs the program (a cross build's emulator).
set -u
groff=$1
page=$2
program=$3
shift 3

# shellcheck source=tests/packaging/common.sh
. "$(dirname "$0")/common.sh"

# Every warning category on (-ww), no output (-z).
"$groff" -man -ww -z "$page" 2>"$work/warnings"
status=$?
if [ "$status" -ne 0 ] || [ -s "$work/warnings" ]; then
  fail "groff -man -ww -z $page: exit status $status"
  cat "$work/warnings"
fi

# Plain text as man(1) shows it, without emphasis or indentation.
"$groff" -man -Tascii -P-cbou "$page" 2>/dev/null | sed 's/^ *//' >"$work/text"

# has_line TEXT: the formatted page has TEXT as a whole line.
has_line() {
  if ! grep -Fqx -e "$1" "$work/text"; then
    fail "no line \"$1\" in the formatted page"
  fi
}

for line in "$@"; do
  has_line "$line"
done

if [ "$program" != "-" ]; then
  cd "$work" || exit 1
  # Each option of the help text is an entry of the OPTIONS section.
  run "$program" -h >"$work/help" 2>&1
  options=$(sed -n 's/^\t\(-[a-z]\)\t.*/\1/p' "$work/help")
  if [ -z "$options" ]; then
    fail "$program -h lists no option"
    cat "$work/help"
  fi
  for option in $options; do
    if ! grep -Eq -e "^$option( |\$)" "$work/text"; then
      fail "option $option of '$program -h' has no entry in the page"
    fi
  done
  # The option messages, as the program prints them.
  has_line "$(run "$program" -l 2>&1 | head -n 1)"
  long_name=$(printf '%080d' 0)
  has_line "$(run "$program" -l "$long_name" -h 2>&1 | head -n 1)"
  has_line "$(run "$program" -x 2>&1 | head -n 1 | sed 's/^-x /arg /')"
fi

finish "$page: clean"
