// Reference model of the two-word number, written from the definitions of
// value and rounding with native 64-bit and 128-bit integers: exact products
// and quotients, floors taken by integer division, no carry words, no
// shift-and-subtract, no library call. Used by the oracle tests and the
// parser fuzzer. Exponents are carried in 64 bits, so operands must keep
// them well inside the 32-bit range.
#ifndef TESTS_FIXEDMATH_TWO_WORD_MODEL_H
#define TESTS_FIXEDMATH_TWO_WORD_MODEL_H

#include <cstdint>
#include <cstdlib>

#include "fixedmath/two_word.h"

namespace model {

typedef __int128 Big;

// Stops the process on a model value that does not fit the 32-bit words;
// the callers keep their operands small enough for that never to happen.
inline std::int32_t narrow(Big v) {
  if (v < INT32_MIN || v > INT32_MAX) {
    std::abort();
  }
  return static_cast<std::int32_t>(v);
}

// floor(v / 2^k), k >= 0, by division and a correction for negative remainders.
inline Big floor_pow2(Big v, int k) {
  const Big p = static_cast<Big>(1) << k;
  Big q = v / p;
  if (v % p != 0 && v < 0) {
    q -= 1;
  }
  return q;
}

// Number of significant bits of v besides its sign: values of 31 or fewer fit
// a signed word with one sign bit.
inline int significant_bits(Big v) {
  if (v < 0) {
    v = -v - 1;
  }
  int n = 0;
  while (v != 0) {
    v = v / 2;
    ++n;
  }
  return n;
}

// The unique odd-mantissa words of m * 2^e, or (0, 0).
inline TwoWordNumber odd_words(Big m, std::int64_t e) {
  if (m == 0) {
    return TwoWordNumber{0, 0};
  }
  while (m % 2 == 0) {
    m = m / 2;
    ++e;
  }
  return TwoWordNumber{narrow(m), narrow(e)};
}

// m * 2^e of a non-zero x as a mantissa in [2^30, 2^31) or [-2^31, -2^30).
struct Top {
  std::int64_t m;
  std::int64_t e;
};
inline Top top_of(TwoWordNumber x) {
  Top t{x.mantissa, x.exponent};
  while (t.m < 0x40000000LL && t.m >= -0x40000000LL) {
    t.m *= 2;
    t.e -= 1;
  }
  return t;
}

// a + b: both in top form, the smaller one rounded onto the larger exponent
// (half up when positive, floor when negative, nothing left beyond 31 bits),
// an exact sum, halved (floor) when it leaves the signed word.
inline TwoWordNumber add(TwoWordNumber a, TwoWordNumber b) {
  if (a.mantissa == 0) {
    return odd_words(b.mantissa, b.exponent);
  }
  if (b.mantissa == 0) {
    return odd_words(a.mantissa, a.exponent);
  }
  Top big = top_of(a);
  Top small = top_of(b);
  if (big.e < small.e) {
    const Top t = big;
    big = small;
    small = t;
  }
  const std::int64_t d = big.e - small.e;
  Big aligned = small.m;
  if (d >= 32) {
    aligned = 0;
  } else if (d > 0 && small.m > 0) {
    aligned = floor_pow2(static_cast<Big>(small.m) + (static_cast<Big>(1) << (d - 1)), static_cast<int>(d));
  } else if (d > 0) {
    aligned = floor_pow2(small.m, static_cast<int>(d));
  }
  Big sum = big.m + aligned;
  std::int64_t e = big.e;
  if (sum > INT32_MAX || sum < INT32_MIN) {
    sum = floor_pow2(sum, 1);
    e += 1;
  }
  return odd_words(sum, e);
}

// The documented normalising loop, one bit at a time on a native integer:
// shift left while the low word is non-zero and the shifted value keeps the sign.
inline std::int64_t normalise_loop(std::int64_t q, std::int64_t* e) {
  while ((static_cast<std::uint64_t>(q) & 0xFFFFFFFFu) != 0) {
    const std::int64_t shifted = static_cast<std::int64_t>(static_cast<std::uint64_t>(q) << 1);
    if (q == 0 || shifted == 0 || (q < 0) != (shifted < 0)) {
      break;
    }
    q = shifted;
    *e -= 1;
  }
  return q;
}

// a * b: the exact product normalised, its high word kept, one unit added when
// a non-negative product dropped a half or more.
inline TwoWordNumber mul(TwoWordNumber a, TwoWordNumber b) {
  std::int64_t e = static_cast<std::int64_t>(a.exponent) + b.exponent;
  const std::int64_t q = normalise_loop(static_cast<std::int64_t>(a.mantissa) * b.mantissa, &e);
  const Big high = floor_pow2(q, 32);
  const Big dropped = q - high * (static_cast<Big>(1) << 32);
  if (high == 0) {
    return TwoWordNumber{0, 0};
  }
  if (high > 0 && dropped >= (static_cast<Big>(1) << 31)) {
    return odd_words(high + 1, e + 32);
  }
  return TwoWordNumber{narrow(high), narrow(e + 32)};
}

// a / b: top-form dividend (-2^31 taken as -2^30 * 2) times 2^32 over the odd
// divisor, truncated toward zero, normalised, high word kept.
inline TwoWordNumber div(TwoWordNumber a, TwoWordNumber b) {
  Top t{0, 0};
  if (a.mantissa != 0) {
    t = top_of(a);
  }
  if (t.m == INT32_MIN) {
    t.m = -0x40000000LL;
    t.e += 1;
  }
  TwoWordNumber odd_b = b;
  if (b.mantissa != 0) {
    odd_b = odd_words(b.mantissa, b.exponent);
  }
  std::int64_t e = t.e - odd_b.exponent;
  std::int64_t q = 0;
  if (odd_b.mantissa != 0) {
    q = static_cast<std::int64_t>((static_cast<Big>(t.m) * (static_cast<Big>(1) << 32)) / odd_b.mantissa);
  }
  q = normalise_loop(q, &e);
  return TwoWordNumber{narrow(floor_pow2(q, 32)), narrow(e)};
}

inline TwoWordNumber negate(TwoWordNumber x) {
  if (x.mantissa == 0) {
    return x;
  }
  if (x.mantissa == INT32_MIN) {
    return TwoWordNumber{0x40000000, narrow(static_cast<std::int64_t>(x.exponent) + 1)};
  }
  return TwoWordNumber{-x.mantissa, x.exponent};
}

// x scaled by 2^16: wrapped to 32 bits when the scale is 1 to 31, floored
// when it divides, with a positive non-zero floor rounded half up; scales of
// 2^32 or more, or 2^-32 or less, give 0.
inline std::int32_t glfixed(TwoWordNumber x) {
  const std::int32_t s = static_cast<std::int32_t>(static_cast<std::uint32_t>(x.exponent) + 16u);
  if (s >= 32 || s <= -32) {
    return 0;
  }
  if (s >= 0) {
    const Big wrapped = (static_cast<Big>(x.mantissa) * (static_cast<Big>(1) << s)) & 0xFFFFFFFF;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wrapped));
  }
  const Big p = static_cast<Big>(1) << -s;
  Big r = floor_pow2(x.mantissa, -s);
  const Big fraction = x.mantissa - r * p;
  if (r > 0 && 2 * fraction >= p) {
    r += 1;
  }
  return narrow(r);
}

inline std::int32_t fixed_div(std::int32_t a, std::int32_t b) {
  return glfixed(div(TwoWordNumber{a, -16}, TwoWordNumber{b, -16}));
}

// The byte rules of the decimal parser, computed with the model's arithmetic.
inline TwoWordNumber parse(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const bool negative = p[0] == '-';
  if (p[0] == '-' || p[0] == '+') {
    ++p;
  }
  TwoWordNumber acc{0, 0};
  TwoWordNumber scale{1, 0};
  bool fraction = false;
  for (; *p != 0; ++p) {
    if (*p >= '0' && *p <= '9') {
      const TwoWordNumber digit{*p - '0', 0};
      if (!fraction) {
        acc = add(mul(acc, TwoWordNumber{10, 0}), digit);
      } else {
        scale = mul(scale, TwoWordNumber{10, 0});
        acc = add(acc, div(digit, scale));
      }
    } else if (*p == '.') {
      if (fraction) {
        break;
      }
      fraction = true;
      scale = TwoWordNumber{1, 0};
    }
  }
  return negative ? negate(acc) : acc;
}

}  // namespace model

#endif
