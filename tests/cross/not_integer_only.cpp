// SPDX-License-Identifier: MIT
// Deliberately not integer-only: the negative control of the integer-only
// check. Each function needs what the number library must never need, so
// the check has to report every one of them. No header is included, so the
// file also compiles for the soft-float ABI on a hard-float toolchain.

// Floating-point division: VFP/FP instructions, or a soft-float routine.
double control_divide_double(double a, double b) {
  return a / b;
}

// Quad precision on AArch64 is always done in software (__divtf3).
long double control_divide_long_double(long double a, long double b) {
  return a / b;
}

// 64-bit division: a run-time helper on 32-bit ARM (__aeabi_ldivmod).
long long control_divide_64(long long a, long long b) {
  return a / b;
}

// 32-bit division: a run-time helper on ARMv7-A without the divide
// extension (__aeabi_idiv).
int control_divide_32(int a, int b) {
  return a / b;
}

// Bit counting: a run-time helper on 32-bit ARM without NEON (__popcountsi2).
int control_count_bits(unsigned a) {
  return __builtin_popcount(a);
}
