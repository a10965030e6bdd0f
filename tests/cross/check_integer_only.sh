#!/bin/sh
# Checks that ARM object code uses integer instructions only.
#
#   check_integer_only.sh NM OBJDUMP FILE...
#       Exit 0 when no FILE (object or static archive) calls a library
#       helper for division, 64-bit multiplication, 64-bit shifts or
#       floating point, and none has a VFP/NEON (32-bit ARM) or FP/SIMD
#       (AArch64) instruction. Otherwise lists every finding and exits 1.
#
#   check_integer_only.sh --expect FINDINGS NM OBJDUMP FILE...
#       The negative control: exit 0 only when every item of FINDINGS
#       (comma-separated) is reported. An item is a finding kind (helper,
#       softfloat, fpinsn) or a symbol or mnemonic that a finding must name
#       (__aeabi_ldivmod, vdiv.f64). Proves that the checker sees what it is
#       meant to reject.
#
# An input with no symbols or no instructions at all is an error: an empty
# check must not pass.
set -eu

expect=""
if [ "${1:-}" = "--expect" ]; then
  expect=$2
  shift 2
fi
if [ $# -lt 3 ]; then
  echo "usage: $0 [--expect KINDS] NM OBJDUMP FILE..." >&2
  exit 2
fi
nm=$1
objdump=$2
shift 2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Integer arithmetic helpers of the ARM run-time ABI and of libgcc: division
# and remainder of any width, 64-bit multiply, shifts and compares.
helper='^__aeabi_(u?idiv|u?idivmod|u?ldivmod|lmul|llsl|llsr|lasr|u?lcmp)$'
helper="$helper|^__(u?div|u?mod|u?divmod)[dt]i[34]$|^__(u?div|u?mod)si3$"
helper="$helper|^__(mul|ashl|ashr|lshr|neg|cmp|ucmp)[dt]i[23]$"
# Floating point done in software: the run-time ABI's __aeabi_f*/__aeabi_d*
# and conversions, half precision, and libgcc's __addsf3, __floatsidf,
# __fixdfsi, __extendsfdf2 and the like.
softfloat='^__aeabi_([fd][a-z0-9]+|h2f.*|f2h.*|[iu]?[il]?2[fdh]|[ul]2[fd])$'
softfloat="$softfloat|^__[a-z]+(sf|df|tf|xf|hf|bf)[a-z0-9]*$|^__gnu_(f2h|h2f)"

for file in "$@"; do
  if [ ! -s "$file" ]; then
    echo "$file: missing or empty" >&2
    exit 2
  fi
  "$nm" -A "$file" >>"$scratch/all_symbols"
  "$nm" -u -A "$file" >>"$scratch/undefined"
  "$objdump" -d --no-show-raw-insn "$file" >>"$scratch/disassembly"
done

if ! grep -q . "$scratch/all_symbols"; then
  echo "no symbols in $*" >&2
  exit 2
fi
instructions=$(grep -c '^ *[0-9a-f]\{1,\}:	' "$scratch/disassembly" || true)
if [ "$instructions" -eq 0 ]; then
  echo "no instructions disassembled from $*" >&2
  exit 2
fi

# nm -A prints "file:member: U name" or "file: U name"; the name is last.
awk '{ print $NF "\t" $1 }' "$scratch/undefined" | sort -u >"$scratch/names"
awk -F'\t' -v re="$helper" '$1 ~ re { print "helper\t" $2 " " $1 }' \
  "$scratch/names" >"$scratch/findings"
awk -F'\t' -v re="$softfloat" '$1 ~ re { print "softfloat\t" $2 " " $1 }' \
  "$scratch/names" >>"$scratch/findings"

# Floating-point and vector instructions. objdump prints
# "  addr:<TAB>mnemonic<TAB>operands" for each instruction. No integer
# instruction of 32-bit ARM or AArch64 has a mnemonic starting with "v" or
# "f", while every VFP/NEON one does (vadd, vmov, vldr, vpush, vmrs, vld1, and
# the pre-UAL fldd, fmsr, ...) as does every AArch64 scalar FP one (fadd,
# fmov, fcvt, ...). An operand naming a floating-point or vector register
# (s0-s31, d0-d31, q0-q15; on AArch64 also b, h and v registers) catches the
# loads, stores and moves of integer mnemonics (ldr q1, str d0, ...), and
# coprocessors 10 and 11 the raw mcr/mrc/ldc/stc forms of VFP.
awk -F'\t' '
  /:[ \t]+file format/ { object = $0; sub(/:[ \t]+file format.*/, "", object) }
  /^ *[0-9a-f]+:\t/ {
    mnemonic = $2; sub(/ .*/, "", mnemonic)
    operands = $3
    sub(/[ \t]*(@|\/\/).*$/, "", operands)      # trailing comment
    gsub(/[0-9a-f]+ <[^>]*>/, "", operands)       # branch and literal targets
    flagged = 0
    if (mnemonic ~ /^[vf][a-z]/) flagged = 1
    if (mnemonic ~ /^(mcr|mrc|mcrr|mrrc|ldc|stc|cdp)/ && operands ~ /(^|[ ,{])p1[01]([ ,}]|$)/) flagged = 1
    count = split(operands, token, /[ ,{}!^#]+|\[|\]/)
    for (i = 1; i <= count; i++) {
      if (token[i] ~ /^[bhsdqv][0-9]+(\.[0-9a-z]+)?$/) flagged = 1
    }
    if (flagged) print "fpinsn\t" object ": " $2 " " $3
  }' "$scratch/disassembly" >>"$scratch/findings"

if [ -n "$expect" ]; then
  status=0
  for item in $(echo "$expect" | tr ',' ' '); do
    case "$item" in
      helper | softfloat | fpinsn) pattern="^$item	" ;;
      *) pattern="[ :]$item\( \|\$\)" ;;
    esac
    found=$(grep -e "$pattern" "$scratch/findings" | head -n 1)
    if [ -n "$found" ]; then
      echo "control: $item detected: $found"
    else
      echo "control: $item NOT detected in $*" >&2
      status=1
    fi
  done
  exit $status
fi

if [ -s "$scratch/findings" ]; then
  echo "Not integer-only:" >&2
  sed 's/\t/: /' "$scratch/findings" >&2
  exit 1
fi
echo "integer-only: $instructions instructions, no arithmetic or floating-point helper, no FP/vector register"
