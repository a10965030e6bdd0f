#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any a, b: both in top form, the one with the smaller exponent shifted right
// (rounded) onto the larger one, the mantissas added, and a signed overflow
// taken back by one bit with the carry as the new sign.
TwoWordNumber num_add(TwoWordNumber a, TwoWordNumber b) {
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
  if (compare_int(a.exponent, b.exponent) < 0) {
    const TwoWordNumber t = a;
    a = b;
    b = t;
  }

  // a.exponent >= b.exponent, so the difference is exact as an unsigned word.
  const std::uint32_t difference =
      static_cast<std::uint32_t>(a.exponent) - static_cast<std::uint32_t>(b.exponent);
  if (difference != 0) {
    const std::int32_t count = difference >= 32u ? -32 : -static_cast<std::int32_t>(difference);
    b.mantissa = shift_by_rounded(b.mantissa, count);
  }

  std::uint32_t sum = static_cast<std::uint32_t>(a.mantissa) + static_cast<std::uint32_t>(b.mantissa);
  const std::uint32_t carries =
      carry_bits(static_cast<std::uint32_t>(a.mantissa), static_cast<std::uint32_t>(b.mantissa));
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
