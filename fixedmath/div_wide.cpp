#include "fixedmath/wide_int.h"
#include "fixedmath/word.h"

// An unsigned 64-bit value in two words, for the magnitudes of the division.
struct UnsignedPair {
  std::uint32_t high;
  std::uint32_t low;
};

// Any p: -p modulo 2^64 (the low word negated, the high word complemented,
// plus one when the low word was 0).
static UnsignedPair negate_pair(UnsignedPair p) {
  UnsignedPair r;
  r.low = 0u - p.low;
  r.high = ~p.high;
  if (r.low == 0) {
    r.high += 1u;
  }
  return r;
}

// 0 <= s <= 63: p * 2^s modulo 2^64.
static UnsignedPair pair_shift_left(UnsignedPair p, std::int32_t s) {
  if (s == 0) {
    return p;
  }
  if (s >= 32) {
    return UnsignedPair{p.low << static_cast<std::uint32_t>(s - 32), 0u};
  }
  const std::uint32_t k = static_cast<std::uint32_t>(s);
  return UnsignedPair{(p.high << k) | (p.low >> (32u - k)), p.low << k};
}

// Any p: p shifted right by one bit, logically.
static UnsignedPair pair_halve(UnsignedPair p) {
  return UnsignedPair{p.high >> 1, (p.low >> 1) | (p.high << 31)};
}

// Any p, q: nonzero when p > q, unsigned, high words first.
static bool pair_greater(UnsignedPair p, UnsignedPair q) {
  if (p.high != q.high) {
    return p.high > q.high;
  }
  return p.low > q.low;
}

// q <= p: p - q, the borrow of the low words taken from the high word.
static UnsignedPair pair_subtract(UnsignedPair p, UnsignedPair q) {
  const std::uint32_t borrow = p.low < q.low ? 1u : 0u;
  return UnsignedPair{p.high - q.high - borrow, p.low - q.low};
}

// d != -2^31: restoring division of the magnitudes, the divisor first lined
// up with the dividend's top bit, then the sign of the quotient applied.
WideInt div_wide(WideInt x, std::int32_t d) {
  if (d == 0) {
    return WideInt{0, 0u};
  }
  UnsignedPair remainder{static_cast<std::uint32_t>(x.high), x.low};
  if (x.high < 0) {
    remainder = negate_pair(remainder);
  }
  std::uint32_t magnitude = static_cast<std::uint32_t>(d);
  if (d < 0) {
    magnitude = 0u - magnitude;
  }

  const std::int32_t s = bit_length(remainder.high) + 32 - bit_length(magnitude);
  UnsignedPair divisor = pair_shift_left(UnsignedPair{0u, magnitude}, s);
  UnsignedPair bit = pair_shift_left(UnsignedPair{0u, 1u}, s);
  UnsignedPair quotient{0u, 0u};

  while (remainder.high != 0 || remainder.low >= magnitude) {
    while (pair_greater(divisor, remainder)) {
      divisor = pair_halve(divisor);
      bit = pair_halve(bit);
    }
    remainder = pair_subtract(remainder, divisor);
    quotient.high |= bit.high;
    quotient.low |= bit.low;
  }

  if (((static_cast<std::uint32_t>(x.high) ^ static_cast<std::uint32_t>(d)) & 0x80000000u) != 0) {
    quotient = negate_pair(quotient);
  }
  return WideInt{word_to_signed(quotient.high), quotient.low};
}
