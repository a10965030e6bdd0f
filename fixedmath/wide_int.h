// SPDX-License-Identifier: MIT
// 32-bit word operations and the two-word signed 64-bit integer (WideInt):
// bit lengths, shifts by a signed count, carry and overflow of an addition,
// and 64-bit shift, add, 32x32 multiply and 64/32 divide built from 32-bit
// operations and 16x16-bit multiplications only. Internal to fixedmath: the
// definitions are inline so that the library's few callers compile them
// together, and every name lives in namespace fixedmath.
#ifndef FIXEDMATH_WIDE_INT_H
#define FIXEDMATH_WIDE_INT_H

#include <cstdint>
#include <cstring>

// The operations are small and run in tight sequences, so compilers that can
// are told to inline them into the library's entry points.
#if defined(__GNUC__)
#define FIXEDMATH_INLINE inline __attribute__((always_inline))
#else
#define FIXEDMATH_INLINE inline
#endif

namespace fixedmath {

// Signed 64-bit integer high * 2^32 + low.
struct WideInt {
  std::int32_t high;  // bits 63 to 32, two's complement
  std::uint32_t low;  // bits 31 to 0
};

// Two's-complement reading of a word as a signed 32-bit value (the same
// bits; a copy is well defined where a conversion is implementation-defined).
FIXEDMATH_INLINE std::int32_t word_to_signed(std::uint32_t w) {
  std::int32_t v;
  std::memcpy(&v, &w, sizeof v);
  return v;
}

// a + b modulo 2^32, read as signed (exponents wrap silently).
FIXEDMATH_INLINE std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
  return word_to_signed(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// a - b modulo 2^32, read as signed.
FIXEDMATH_INLINE std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
  return word_to_signed(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Any w: number of bits needed for w (0 for 0, 32 when bit 31 is set), by
// halving tests on 16, 8, 4 and 2 bits: bit_length for targets without a
// count-leading-zeros instruction.
FIXEDMATH_INLINE std::int32_t bit_length_halving(std::uint32_t w) {
  std::int32_t n = 0;
  for (std::int32_t half = 16; half >= 2; half /= 2) {
    if (w >= (1u << half)) {
      w >>= half;
      n += half;
    }
  }
  return n + (w >= 2u ? 2 : static_cast<std::int32_t>(w));  // w is 0 to 3 here
}

// Any w: number of bits needed for w, through the compiler's
// count-leading-zeros where the target has the instruction (x86, arm64, ARM
// from v5T), else the halving tests. The builtin's result for 0 is undefined,
// so 0 is answered here.
FIXEDMATH_INLINE std::int32_t bit_length(std::uint32_t w) {
#if defined(__GNUC__) && \
    (defined(__x86_64__) || defined(__i386__) || defined(__aarch64__) || defined(__ARM_FEATURE_CLZ))
  return w == 0 ? 0 : 32 - __builtin_clz(w);
#else
  return bit_length_halving(w);
#endif
}

// w != 0: number of zero bits below the lowest set bit of w, which is the
// only bit of w AND -w.
FIXEDMATH_INLINE std::int32_t trailing_zeros(std::uint32_t w) {
  return bit_length(w & (0u - w)) - 1;
}

// 0 <= k <= 31: a shifted right by k with the sign copied in, the floor of
// a / 2^k. Shifting the word XORed with its sign mask logically and
// XORing back gives that without a signed shift (implementation-defined).
FIXEDMATH_INLINE std::int32_t shift_right_signed(std::int32_t a, std::int32_t k) {
  const std::uint32_t u = static_cast<std::uint32_t>(a);
  const std::uint32_t sign_mask = 0u - (u >> 31);
  return word_to_signed(((u ^ sign_mask) >> static_cast<std::uint32_t>(k)) ^ sign_mask);
}

// a * 2^n: left shifts keep the low 32 bits, right shifts floor; |n| >= 32
// gives 0. Left shifts are done on the unsigned word, so that no count or
// sign reaches undefined behaviour.
FIXEDMATH_INLINE std::int32_t shift_by(std::int32_t a, std::int32_t n) {
  if (n >= 32 || n <= -32) {
    return 0;  // also for negative a
  }
  if (n >= 0) {
    return word_to_signed(static_cast<std::uint32_t>(a) << static_cast<std::uint32_t>(n));
  }
  return shift_right_signed(a, -n);
}

// shift_by, plus 1 when a > 0, -31 <= n <= -1 and the highest bit shifted
// out is 1: positive values round half up.
FIXEDMATH_INLINE std::int32_t shift_by_rounded(std::int32_t a, std::int32_t n) {
  std::int32_t r = shift_by(a, n);
  if (a > 0 && n <= -1 && n >= -31) {
    const std::uint32_t highest_out =
        (static_cast<std::uint32_t>(a) >> static_cast<std::uint32_t>(-n - 1)) & 1u;
    r += static_cast<std::int32_t>(highest_out);  // r <= a / 2: cannot overflow
  }
  return r;
}

// Any words a, b: bit i of the result is the carry out of bit i of a + b.
// The carry out of bit i is set where both inputs are set, or where exactly
// one is and the sum bit came out 0 (a carry came in): all 32 at once, the
// same bits as the bit-serial ripple.
FIXEDMATH_INLINE std::uint32_t carry_bits(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t sum = a + b;
  return (a & b) | ((a | b) & ~sum);
}

// c from carry_bits: 0x80000000 when the signed addition overflowed (the
// carry out of bit 31 differs from the carry into it), else 0.
FIXEDMATH_INLINE std::uint32_t overflow_bit(std::uint32_t c) {
  return (c ^ (c << 1)) & 0x80000000u;
}

// x * 2^n: left shifts modulo 2^64, right shifts arithmetic; |n| >= 64 gives
// 0. A shift of 32 or more first moves a whole word.
FIXEDMATH_INLINE WideInt shift_wide(WideInt x, std::int32_t n) {
  if (n >= 64 || n <= -64) {
    return WideInt{0, 0};  // also for negative x
  }
  std::int32_t high = x.high;
  std::uint32_t low = x.low;
  if (n >= 32) {
    high = word_to_signed(low);
    low = 0;
    n -= 32;
  } else if (n <= -32) {
    low = static_cast<std::uint32_t>(high);
    high = high < 0 ? -1 : 0;
    n += 32;
  }
  const std::uint32_t h = static_cast<std::uint32_t>(high);
  if (n > 0) {
    const std::uint32_t k = static_cast<std::uint32_t>(n);
    return WideInt{word_to_signed((h << k) | (low >> (32u - k))), low << k};
  }
  if (n < 0) {
    const std::uint32_t k = static_cast<std::uint32_t>(-n);
    // k is 1 to 31 here, so 32 - k is too.
    // cppcheck-suppress shiftTooManyBits
    return WideInt{shift_right_signed(high, -n), (low >> k) | (h << (32u - k))};
  }
  return WideInt{high, low};
}

// x + y modulo 2^64: the carry out of the low words, which is set exactly
// when their sum wraps below an addend, goes into the high words.
FIXEDMATH_INLINE WideInt add_wide(WideInt x, WideInt y) {
  const std::uint32_t low = x.low + y.low;
  const std::uint32_t carry = low < x.low ? 1u : 0u;
  const std::uint32_t high = static_cast<std::uint32_t>(x.high) + static_cast<std::uint32_t>(y.high) + carry;
  return WideInt{word_to_signed(high), low};
}

// Any signed a, b: the exact signed 64-bit product. With a = ah * 2^16 + al
// (ah signed, al unsigned 16 bits) and b likewise,
// a * b = (al * bh + ah * bl) * 2^16 + ah * bh * 2^32 + al * bl; every
// product is 16 x 16 bits and fits a 32-bit word of its signedness.
FIXEDMATH_INLINE WideInt mul_wide(std::int32_t a, std::int32_t b) {
  const std::int32_t ah = shift_by(a, -16);
  const std::int32_t al = static_cast<std::int32_t>(static_cast<std::uint32_t>(a) & 0xFFFFu);
  const std::int32_t bh = shift_by(b, -16);
  const std::int32_t bl = static_cast<std::int32_t>(static_cast<std::uint32_t>(b) & 0xFFFFu);
  // 0..65535 times -32768..32767: within the signed 32-bit range.
  const std::int32_t c1 = al * bh;
  const std::int32_t c2 = ah * bl;
  const WideInt cross = add_wide(WideInt{c1 < 0 ? -1 : 0, static_cast<std::uint32_t>(c1)},
                                 WideInt{c2 < 0 ? -1 : 0, static_cast<std::uint32_t>(c2)});
  const WideInt product = add_wide(shift_wide(cross, 16), WideInt{ah * bh, 0u});
  return add_wide(product, WideInt{0, static_cast<std::uint32_t>(al) * static_cast<std::uint32_t>(bl)});
}

// First guesses of reciprocal_16, one per run of 128 divisors from 2^15:
// entry i is floor((2^31 - 1) / b) for the run's largest b, 2^15 + 128 i + 127.
// Computed by the compiler; the library holds the 256 numbers only.
struct ReciprocalSeeds {
  std::uint16_t guess[256];
  constexpr ReciprocalSeeds() : guess{} {
    for (std::uint32_t i = 0; i < 256; ++i) {
      guess[i] = static_cast<std::uint16_t>(0x7FFFFFFFu / (0x8000u + 128u * i + 127u));
    }
  }
};
constexpr ReciprocalSeeds kReciprocalSeeds{};
static_assert(sizeof kReciprocalSeeds.guess / sizeof kReciprocalSeeds.guess[0] == 0x8000 / 128,
              "one guess per run");

// b in [2^15, 2^16): floor((2^31 - 1) / b). The first guess of b's run is
// below 2^31 / b and within 1/258 of it; one Newton step
// v + v * (2^31 - b * v) / 2^31, whose error term is cut to 16 bits, ends at
// most two units short and never over (both checked for every b), and two
// tests add the missing units.
FIXEDMATH_INLINE std::uint32_t reciprocal_16(std::uint32_t b) {
  std::uint32_t v = kReciprocalSeeds.guess[(b >> 7) & 0xFFu];
  v += (v * ((0x80000000u - b * v) >> 15)) >> 16;
  const std::uint32_t next = b * v + b;
  return v + (next <= 0x7FFFFFFFu ? 1u : 0u) + (next + b <= 0x7FFFFFFFu ? 1u : 0u);
}

// 1 <= m < 2^16, v = reciprocal_16(m shifted up to 16 bits), k = bit_length(m),
// n < m * 2^16: floor(n / m), the remainder left in *rest. With
// v = 2^31 / (m * 2^(16 - k)) - e, 0 < e <= 1, the estimate below is over
// n / m - (n * e / 2^16 + 1) / 2^(k - 1) > n / m - 2 (as n / 2^16 < m < 2^k),
// and never over n / m.
FIXEDMATH_INLINE std::uint32_t divide_short(std::uint32_t n, std::uint32_t m, std::uint32_t v, std::int32_t k,
                                            std::uint32_t* rest) {
  std::uint32_t q = ((n >> 16) * v + (((n & 0xFFFFu) * v) >> 16)) >> (k - 1);
  std::uint32_t r = n - q * m;
  for (int step = 0; step < 2 && r >= m; ++step) {  // at most 2 short
    ++q;
    r -= m;
  }
  *rest = r;
  return q;
}

// 2^31 <= d, u < d, v = reciprocal_16(d >> 16): floor((u * 2^16 + digit) / d)
// for a 16-bit digit, with u replaced by the remainder: the digit is estimated
// from u and the divisor's high half, then corrected with its low half as in
// long division by digits. The estimate is over min(u / dh, 2^16) - 2 - 2^-15
// (the bound of divide_short, with u / 2^16 < 2^16), so at most two steps up
// reach min(floor(u / dh), 2^16 - 1); from there, with dh >= 2^15, at most two
// steps down reach the digit, as in Knuth's long division.
FIXEDMATH_INLINE std::uint32_t divide_long_digit(std::uint32_t* u, std::uint32_t digit, std::uint32_t d,
                                                 std::uint32_t v) {
  const std::uint32_t dh = d >> 16;
  const std::uint32_t dl = d & 0xFFFFu;
  std::uint32_t q = ((*u >> 16) * v + (((*u & 0xFFFFu) * v) >> 16)) >> 15;
  if (q > 0xFFFFu) {
    q = 0xFFFFu;
  }
  std::uint32_t rhat = *u - q * dh;
  for (int step = 0; step < 2 && rhat >= dh && q < 0xFFFFu; ++step) {  // at most 2 up
    ++q;
    rhat -= dh;
  }
  // At most 2 down.
  for (int step = 0; step < 2 && rhat <= 0xFFFFu && q * dl > ((rhat << 16) | digit); ++step) {
    --q;
    rhat += dh;
  }
  *u = ((*u << 16) | digit) - ((q * dh) << 16) - q * dl;
  return q;
}

// d != -2^31: x / d truncated toward zero; d = 0 gives 0. The magnitudes are
// divided by 16-bit quotient digits: by a divisor below 2^16 one step per
// digit, by a larger one through the divisor lined up to bit 31.
FIXEDMATH_INLINE WideInt div_wide(WideInt x, std::int32_t d) {
  if (d == 0) {
    return WideInt{0, 0u};
  }
  std::uint32_t high = static_cast<std::uint32_t>(x.high);
  std::uint32_t low = x.low;
  if (x.high < 0) {
    low = 0u - low;
    high = ~high + (low == 0 ? 1u : 0u);
  }
  const std::uint32_t m = d < 0 ? 0u - static_cast<std::uint32_t>(d) : static_cast<std::uint32_t>(d);
  const std::int32_t length = bit_length(m);
  std::uint32_t qh;
  std::uint32_t ql;
  if (length <= 16) {
    const std::uint32_t v = reciprocal_16(m << (16 - length));
    std::uint32_t r;
    qh = divide_short(high >> 16, m, v, length, &r) << 16;
    qh |= divide_short((r << 16) | (high & 0xFFFFu), m, v, length, &r);
    ql = divide_short((r << 16) | (low >> 16), m, v, length, &r) << 16;
    ql |= divide_short((r << 16) | (low & 0xFFFFu), m, v, length, &r);
  } else {
    // The dividend shifted with the divisor spans three words: n2, n1, n0.
    const std::uint32_t s = static_cast<std::uint32_t>(32 - length);
    const std::uint32_t dn = m << s;
    const std::uint32_t v = reciprocal_16(dn >> 16);
    std::uint32_t u = s == 0 ? 0u : high >> (32u - s);
    const std::uint32_t n1 = s == 0 ? high : (high << s) | (low >> (32u - s));
    const std::uint32_t n0 = low << s;
    qh = divide_long_digit(&u, n1 >> 16, dn, v) << 16;
    qh |= divide_long_digit(&u, n1 & 0xFFFFu, dn, v);
    ql = divide_long_digit(&u, n0 >> 16, dn, v) << 16;
    ql |= divide_long_digit(&u, n0 & 0xFFFFu, dn, v);
  }
  if (((static_cast<std::uint32_t>(x.high) ^ static_cast<std::uint32_t>(d)) & 0x80000000u) != 0) {
    ql = 0u - ql;
    qh = ~qh + (ql == 0 ? 1u : 0u);
  }
  return WideInt{word_to_signed(qh), ql};
}

}  // namespace fixedmath

#endif
