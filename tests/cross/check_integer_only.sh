#!/bin/sh
# SPDX-License-Identifier: MIT
# Lists what keeps ARM object code from being integer-only and ends with the
# verdict: calls to the run-time helpers of division, 64-bit multiplication,
# shifts and compares, bit counting (a core without the instruction counts
# in software) or of floating point done in software (ARM run-time ABI and
# libgcc names), and VFP/NEON or AArch64 FP/SIMD instructions.
#   check_integer_only.sh NM OBJDUMP FILE...
set -u
nm=$1
objdump=$2
shift 2
helper='^__aeabi_(u?idiv(mod)?|u?ldivmod|lmul|llsl|llsr|lasr|u?lcmp|[fd][a-z0-9]+|h2f.*|f2h.*|[iu]?[il]?2[fdh]|[ul]2[fd])$'
helper="$helper|^__(u?div|u?mod|u?divmod)([dt]i[34]|si3)$|^__(mul|ashl|ashr|lshr|neg|cmp|ucmp)[dt]i[23]$"
helper="$helper|^__(clz|ctz|ffs|popcount|parity|bswap)[sdt]i2$"
helper="$helper|^__[a-z]+(sf|df|tf|xf|hf|bf)[a-z0-9]*$|^__gnu_(f2h|h2f)"
# No integer instruction's mnemonic starts with v or f, every VFP/NEON and
# AArch64 FP one does; an operand naming an s, d, q (or AArch64 b, h, v)
# register catches integer loads and stores of FP registers, coprocessors
# 10 and 11 the raw forms of VFP. No instruction at all is a finding too.
found=$(
  "$nm" -u "$@" | awk -v re="$helper" '$NF ~ re { print "helper: " $NF }' | sort -u
  "$objdump" -d --no-show-raw-insn "$@" | awk -F'\t' '/^ *[0-9a-f]+:\t/ {
    count++; mnemonic = $2; sub(/ .*/, "", mnemonic); operands = $3
    sub(/[ \t]*(@|\/\/).*$/, "", operands); gsub(/[0-9a-f]+ <[^>]*>/, "", operands)
    flagged = mnemonic ~ /^[vf][a-z]/ ||
      (mnemonic ~ /^(mcr|mrc|mcrr|mrrc|ldc|stc|cdp)/ && operands ~ /(^|[ ,{])p1[01]([ ,}]|$)/)
    n = split(operands, token, /[ ,{}!^#]+|\[|\]/)
    for (i = 1; i <= n; i++) if (token[i] ~ /^[bhsdqv][0-9]+(\.[0-9a-z]+)?$/) flagged = 1
    if (flagged) print "instruction: " $2 " " $3
  }
  END { if (!count) print "no instructions" }'
)
if [ -n "$found" ]; then
  printf '%s\nnot integer-only\n' "$found"
  exit 1
fi
echo integer-only
