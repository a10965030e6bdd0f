// The library's software number, mantissa * 2^exponent with two signed
// 32-bit words, its normal forms and arithmetic, the decimal parser and the
// conversion to 16.16 fixed point. Internal to fixedmath.
#ifndef FIXEDMATH_TWO_WORD_H
#define FIXEDMATH_TWO_WORD_H

#include <cstdint>

#include "fixedmath/fixedmath.h"
#include "fixedmath/wide_int.h"

// mantissa * 2^exponent; any zero mantissa is zero. Exponents wrap at 32 bits.
struct TwoWordNumber {
  std::int32_t mantissa;
  std::int32_t exponent;
};

// Non-zero mantissa: the same value with an odd mantissa.
TwoWordNumber normalise_odd(TwoWordNumber x);

// Any x: the same value with bit 30 of the mantissa unlike bit 31; zero gives (0, 0).
TwoWordNumber normalise_top(TwoWordNumber x);

// Any v: (v, 0).
TwoWordNumber num_from_int(std::int32_t v);

// Any x: -x; mantissa -2^31 moves one bit into the exponent; zero is returned as is.
TwoWordNumber num_negate(TwoWordNumber x);

// Any a, b: a + b rounded to 31 significant bits, in odd form; zero is (0, 0).
TwoWordNumber num_add(TwoWordNumber a, TwoWordNumber b);

// Any a, b: a * b, positive products rounded half up, negative ones floored; zero is (0, 0).
TwoWordNumber num_mul(TwoWordNumber a, TwoWordNumber b);

// Any a, b: a / b to 31 significant bits, never rounded up; b = 0 gives a zero mantissa.
TwoWordNumber num_div(TwoWordNumber a, TwoWordNumber b);

// Any q, exponent: shifts q left while its low word is non-zero and bit 62 equals bit 63.
WideInt normalise_wide(WideInt q, std::int32_t* exponent);

// NUL-terminated text: its decimal value (sign, digits, one point, other bytes skipped).
TwoWordNumber parse_decimal(const char* text);

// Any x: x in 16.16, positive results rounded half up, negative floored, wrapping.
GLfixed to_glfixed(TwoWordNumber x);

#endif
