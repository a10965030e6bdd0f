// SPDX-License-Identifier: MIT
// The library's entry points and its decimal parser. The arithmetic they
// use is inline in two_word.h and wide_int.h, so that each compiles here
// into one function without calls.
#include "fixedmath/fixedmath.h"

#include "fixedmath/two_word.h"

namespace fixedmath {

// w < 2^31: the integer w in odd form, or (0, 0).
static TwoWordNumber odd_or_zero(std::uint32_t w) {
  return w == 0 ? TwoWordNumber{0, 0} : normalise_odd(TwoWordNumber{static_cast<std::int32_t>(w), 0});
}

// NUL-terminated text: an optional sign in the first byte, then digits with
// at most one point; any other byte is skipped and a second point ends the
// number. Each integer digit makes acc = acc * 10 + d, and each fractional
// digit adds its own truncated quotient d / 10^k. Four shortcuts give the
// same words as that arithmetic: while the integer part stays below 2^31
// every product and sum of its digits is exact, so it is kept as a plain word
// whose odd form is the accumulator; while an odd 5^k times 10 fits a word,
// the scale 10^k, (5^k, k), grows by a factor 5; a digit 0 adds zero to an
// accumulator that is already in odd form; while 5^k is below 2^16 the
// quotient takes num_div's short division directly.
TwoWordNumber parse_decimal(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char first = p[0];
  if (first == '+' || first == '-') {
    ++p;
  }
  TwoWordNumber acc{0, 0};
  if (*p == 0) {
    return acc;
  }
  const TwoWordNumber ten = num_from_int(10);
  std::uint32_t whole = 0;
  bool whole_in_word = true;
  TwoWordNumber scale = num_from_int(1);
  bool fraction = false;
  for (; *p != 0; ++p) {
    const unsigned char c = *p;
    // In the C locale the decimal digits are exactly '0' to '9'.
    if (c >= '0' && c <= '9') {
      const std::uint32_t d = static_cast<std::uint32_t>(c - '0');
      if (!fraction) {
        if (whole_in_word && (whole < 214748364u || (whole == 214748364u && d <= 7u))) {
          whole = (whole << 3) + (whole << 1) + d;
          continue;
        }
        if (whole_in_word) {
          acc = odd_or_zero(whole);
          whole_in_word = false;
        }
        acc = num_add(num_mul(acc, ten), num_from_int(static_cast<std::int32_t>(d)));
      } else {
        if ((scale.mantissa & 1) != 0 && scale.mantissa <= 214748364) {
          scale = TwoWordNumber{(scale.mantissa << 2) + scale.mantissa, wrap_add(scale.exponent, 1)};
        } else {
          scale = num_mul(scale, ten);
        }
        if (d == 0) {
          continue;
        }
        TwoWordNumber quotient;
        if ((scale.mantissa & 1) != 0 && scale.mantissa <= 0xFFFF) {
          // What num_div does for this positive digit in top form over an
          // odd scale below 2^16, without its tests of sign, zero and size.
          const std::int32_t s = 31 - bit_length(d);
          bool inexact;
          quotient = divide_short_odd(d << s, static_cast<std::uint32_t>(scale.mantissa),
                                      wrap_sub(-s, scale.exponent), &inexact);
        } else {
          quotient = num_div(num_from_int(static_cast<std::int32_t>(d)), scale);
        }
        acc = num_add(acc, quotient);
      }
    } else if (c == '.') {
      if (fraction) {
        break;
      }
      fraction = true;
      if (whole_in_word) {
        acc = odd_or_zero(whole);
        whole_in_word = false;
      }
    }
  }
  if (whole_in_word) {
    acc = odd_or_zero(whole);
  }
  if (first == '-') {
    return num_negate(acc);
  }
  return acc;
}

}  // namespace fixedmath

// NUL-terminated text.
GLfixed parse_fixed(const char* text) {
  return fixedmath::to_glfixed(fixedmath::parse_decimal(text));
}

// Any a, b: both read as (g, -16); the quotient keeps 31 significant bits and
// to_glfixed does the only rounding. b = 0 gives 0.
GLfixed fixed_div(GLfixed a, GLfixed b) {
  using fixedmath::TwoWordNumber;
  return fixedmath::to_glfixed(fixedmath::num_div(TwoWordNumber{a, -16}, TwoWordNumber{b, -16}));
}
