// 32-bit word operations and the two-word signed 64-bit integer (WideInt):
// shifts by a signed count, carry and overflow of an addition, comparisons,
// and 64-bit shift, add, 32x32 multiply and 64/32 divide built from 32-bit
// operations and 16x16-bit multiplications only. Internal to fixedmath.
#ifndef FIXEDMATH_WIDE_INT_H
#define FIXEDMATH_WIDE_INT_H

#include <cstdint>

// Signed 64-bit integer high * 2^32 + low.
struct WideInt {
  std::int32_t high;  // bits 63 to 32, two's complement
  std::uint32_t low;  // bits 31 to 0
};

// a * 2^n: left shifts keep the low 32 bits, right shifts floor; |n| >= 32 gives 0.
std::int32_t shift_by(std::int32_t a, std::int32_t n);

// shift_by, plus 1 when a > 0, -31 <= n <= -1 and the highest bit shifted out is 1.
std::int32_t shift_by_rounded(std::int32_t a, std::int32_t n);

// Any words a, b: bit i of the result is the carry out of bit i of a + b.
std::uint32_t carry_bits(std::uint32_t a, std::uint32_t b);

// c from carry_bits: 0x80000000 when the signed addition overflowed, else 0.
std::uint32_t overflow_bit(std::uint32_t c);

// Signed a, b: -1 if a < b, 0 if equal, 1 if a > b.
std::int32_t compare_int(std::int32_t a, std::int32_t b);

// Signed 64-bit x, y: -1 if x < y, 0 if equal, 1 if x > y.
std::int32_t compare_wide(WideInt x, WideInt y);

// x * 2^n: left shifts modulo 2^64, right shifts arithmetic; |n| >= 64 gives 0.
WideInt shift_wide(WideInt x, std::int32_t n);

// x + y modulo 2^64.
WideInt add_wide(WideInt x, WideInt y);

// Any signed a, b: the exact signed 64-bit product.
WideInt mul_wide(std::int32_t a, std::int32_t b);

// d != -2^31: x / d truncated toward zero; d = 0 gives 0.
WideInt div_wide(WideInt x, std::int32_t d);

#endif
