// SPDX-License-Identifier: MIT
// The library's software number, mantissa * 2^exponent with two signed
// 32-bit words: its normal forms and arithmetic (inline, like the word
// operations beneath them), the decimal parser and the conversion to 16.16
// fixed point. Internal to fixedmath; every name lives in namespace fixedmath.
#ifndef FIXEDMATH_TWO_WORD_H
#define FIXEDMATH_TWO_WORD_H

#include <cstdint>

#include "fixedmath/fixedmath.h"
#include "fixedmath/wide_int.h"

namespace fixedmath {

// mantissa * 2^exponent; any zero mantissa is zero. Exponents wrap at 32 bits.
struct TwoWordNumber {
  std::int32_t mantissa;
  std::int32_t exponent;
};

// Non-zero mantissa: the same value with an odd mantissa; all trailing zero
// bits move into the exponent at once, as many as one-bit arithmetic shifts
// would take.
FIXEDMATH_INLINE TwoWordNumber normalise_odd(TwoWordNumber x) {
  const std::int32_t k = trailing_zeros(static_cast<std::uint32_t>(x.mantissa));
  return TwoWordNumber{shift_right_signed(x.mantissa, k), wrap_add(x.exponent, k)};
}

// Any x: the same value with bit 30 of the mantissa unlike bit 31, by a left
// shift over the copies of the sign bit below bit 31 (-1 takes 31); zero
// gives (0, 0).
FIXEDMATH_INLINE TwoWordNumber normalise_top(TwoWordNumber x) {
  if (x.mantissa == 0) {
    return TwoWordNumber{0, 0};
  }
  const std::uint32_t u = static_cast<std::uint32_t>(x.mantissa);
  const std::int32_t k = 31 - bit_length(x.mantissa < 0 ? ~u : u);
  return TwoWordNumber{word_to_signed(u << static_cast<std::uint32_t>(k)), wrap_sub(x.exponent, k)};
}

// Any v: (v, 0).
FIXEDMATH_INLINE TwoWordNumber num_from_int(std::int32_t v) {
  return TwoWordNumber{v, 0};
}

// Any x: -x. -(-2^31) does not fit a word, so 2^31 becomes 2^30 with one
// more in the exponent; zero is returned as is.
FIXEDMATH_INLINE TwoWordNumber num_negate(TwoWordNumber x) {
  if (x.mantissa == 0) {
    return x;
  }
  if (x.mantissa == INT32_MIN) {
    return TwoWordNumber{0x40000000, wrap_add(x.exponent, 1)};
  }
  return TwoWordNumber{-x.mantissa, x.exponent};
}

// Any a, b: a + b rounded to 31 significant bits, in odd form; zero is
// (0, 0). Both in top form, the one with the smaller exponent is shifted
// right (rounded) onto the larger one, the mantissas are added, and a signed
// overflow is taken back by one bit with the carry as the new sign.
FIXEDMATH_INLINE TwoWordNumber num_add(TwoWordNumber a, TwoWordNumber b) {
  if (a.mantissa == 0) {
    if (b.mantissa == 0) {
      return TwoWordNumber{0, 0};
    }
    return normalise_odd(b);
  }
  if (b.mantissa == 0) {
    return normalise_odd(a);
  }
  a = normalise_top(a);
  b = normalise_top(b);
  if (a.exponent < b.exponent) {
    const TwoWordNumber t = a;
    a = b;
    b = t;
  }
  // a.exponent >= b.exponent, so the difference is exact as an unsigned word.
  const std::uint32_t difference =
      static_cast<std::uint32_t>(a.exponent) - static_cast<std::uint32_t>(b.exponent);
  if (difference != 0) {
    b.mantissa =
        shift_by_rounded(b.mantissa, difference >= 32u ? -32 : -static_cast<std::int32_t>(difference));
  }
  const std::uint32_t am = static_cast<std::uint32_t>(a.mantissa);
  const std::uint32_t bm = static_cast<std::uint32_t>(b.mantissa);
  std::uint32_t sum = am + bm;
  const std::uint32_t carries = carry_bits(am, bm);
  std::int32_t exponent = a.exponent;
  if (overflow_bit(carries) != 0) {
    // Bits 32 to 1 of the exact 33-bit sum; bit 32 is the carry out of bit 31.
    sum = (carries & 0x80000000u) | (sum >> 1);
    exponent = wrap_add(exponent, 1);
  }
  if (sum == 0) {
    return TwoWordNumber{0, 0};
  }
  return normalise_odd(TwoWordNumber{word_to_signed(sum), exponent});
}

// Any q, exponent: shifts q left while its low word is non-zero and bit 62
// equals bit 63, lowering the exponent by one per shift. That number of
// shifts is the smaller of those that bring the top significant bit to bit 62
// and those that clear the low word.
FIXEDMATH_INLINE WideInt normalise_wide(WideInt q, std::int32_t* exponent) {
  if (q.low == 0) {
    return q;
  }
  const std::uint32_t sign_word = q.high < 0 ? 0xFFFFFFFFu : 0u;
  const std::uint32_t high_bits = static_cast<std::uint32_t>(q.high) ^ sign_word;
  const std::int32_t significant =
      high_bits != 0 ? 32 + bit_length(high_bits) : bit_length(q.low ^ sign_word);
  const std::int32_t to_top = 63 - significant;
  const std::int32_t to_clear_low = 32 - trailing_zeros(q.low);
  const std::int32_t k = to_top < to_clear_low ? to_top : to_clear_low;
  *exponent = wrap_sub(*exponent, k);
  return shift_wide(q, k);
}

// Any a, b: a * b; zero is (0, 0). The exact 64-bit product is normalised
// and its high word kept; a non-negative product gains one unit in the last
// place when bit 31 of the dropped low word is set, a negative one is left
// floored.
FIXEDMATH_INLINE TwoWordNumber num_mul(TwoWordNumber a, TwoWordNumber b) {
  std::int32_t exponent = wrap_add(a.exponent, b.exponent);
  const WideInt product = mul_wide(a.mantissa, b.mantissa);
  if (product.high == (product.low >= 0x80000000u ? -1 : 0)) {
    // A product that fits one word: the loop below would clear the low word
    // first, leaving that word in odd form and nothing to round.
    if (product.low == 0) {
      return TwoWordNumber{0, 0};
    }
    return normalise_odd(TwoWordNumber{word_to_signed(product.low), exponent});
  }
  const WideInt q = normalise_wide(product, &exponent);
  TwoWordNumber result{q.high, wrap_add(exponent, 32)};
  if (q.high >= 0 && (q.low & 0x80000000u) != 0) {
    result = num_add(result, TwoWordNumber{1, result.exponent});
  }
  if (result.mantissa == 0) {
    result.exponent = 0;
  }
  return result;
}

// 2^30 <= dividend < 2^31, odd divisor below 2^16: dividend / divisor times
// 2^exponent to 31 significant bits, truncated (num_div of two positive
// numbers); *inexact tells whether non-zero bits were dropped. With the
// divisor k bits long, the 31 significant bits are x = floor(dividend * 2^k /
// divisor), 31 or 32 bits long, cut to 31; dividend * 2^k is below
// divisor * 2^32, so x takes two 16-bit quotient digits. An exact quotient
// has a zero low word in its 64-bit form and stays as it is.
FIXEDMATH_INLINE TwoWordNumber divide_short_odd(std::uint32_t dividend, std::uint32_t divisor,
                                                std::int32_t exponent, bool* inexact) {
  const std::int32_t k = bit_length(divisor);
  const std::uint32_t v = reciprocal_16(divisor << (16 - k));
  const std::uint32_t low = dividend << k;
  std::uint32_t r = dividend >> (32 - k);
  std::uint32_t x = divide_short((r << 16) | (low >> 16), divisor, v, k, &r) << 16;
  x |= divide_short((r << 16) | (low & 0xFFFFu), divisor, v, k, &r);
  *inexact = r != 0;
  if (r == 0) {
    return TwoWordNumber{word_to_signed(x >> k), exponent};
  }
  const std::int32_t t = x >= 0x80000000u ? k - 1 : k;
  return TwoWordNumber{word_to_signed(x >> static_cast<std::uint32_t>(k - t)), wrap_sub(exponent, t)};
}

// Any a, b: a / b to 31 significant bits; b = 0 gives a zero mantissa. The
// top-form dividend times 2^32 is divided by the odd-form divisor, truncated
// toward zero, normalised, and its high word kept. Two roundings: a negative
// quotient is the floor of its truncation, which can lie one unit above the
// floor of the exact quotient.
FIXEDMATH_INLINE TwoWordNumber num_div(TwoWordNumber a, TwoWordNumber b) {
  a = normalise_top(a);
  if (b.mantissa != 0 && (b.mantissa & 1) == 0) {
    b = normalise_odd(b);
  }
  if (a.mantissa == INT32_MIN) {
    // -2^31 as -2^30 with one more in the exponent.
    a.mantissa = -0x40000000;
    a.exponent = wrap_add(a.exponent, 1);
  }
  std::int32_t exponent = wrap_sub(a.exponent, b.exponent);
  const std::uint32_t am = static_cast<std::uint32_t>(a.mantissa);
  const std::uint32_t bm = static_cast<std::uint32_t>(b.mantissa);
  const std::uint32_t dividend = a.mantissa < 0 ? 0u - am : am;
  const std::uint32_t divisor = b.mantissa < 0 ? 0u - bm : bm;
  if (dividend == 0 || divisor == 0) {
    return TwoWordNumber{0, exponent};
  }
  if (divisor > 0xFFFFu) {
    const WideInt q = normalise_wide(div_wide(WideInt{a.mantissa, 0u}, b.mantissa), &exponent);
    return TwoWordNumber{q.high, exponent};
  }
  // An odd divisor below 2^16. A negative inexact quotient floors to one
  // unit further from zero.
  bool inexact;
  const TwoWordNumber q = divide_short_odd(dividend, divisor, exponent, &inexact);
  if ((a.mantissa < 0) != (b.mantissa < 0)) {
    return TwoWordNumber{word_to_signed(0u - (static_cast<std::uint32_t>(q.mantissa) + (inexact ? 1u : 0u))),
                         q.exponent};
  }
  return q;
}

// Any x: x in 16.16, shifted to 16 fractional bits; a positive truncated
// result gets one more when the highest discarded bit is set, a negative one
// stays floored. Out-of-range values wrap or give 0.
FIXEDMATH_INLINE GLfixed to_glfixed(TwoWordNumber x) {
  const std::int32_t s = wrap_add(x.exponent, 16);
  std::int32_t r = shift_by(x.mantissa, s);
  if (s < 0 && r > 0) {
    // r > 0 after a right shift implies -31 <= s <= -1 (0 otherwise).
    const std::uint32_t highest_out =
        (static_cast<std::uint32_t>(x.mantissa) >> static_cast<std::uint32_t>(-s - 1)) & 1u;
    r += static_cast<std::int32_t>(highest_out);
  }
  return r;
}

// NUL-terminated text: its decimal value (sign, digits, one point, other
// bytes skipped).
TwoWordNumber parse_decimal(const char* text);

}  // namespace fixedmath

#endif
