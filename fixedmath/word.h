// Helpers on 32-bit words shared by the library's sources: conversions and
// wrapping exponent arithmetic without signed overflow or implementation-
// defined conversions. Internal to fixedmath.
#ifndef FIXEDMATH_WORD_H
#define FIXEDMATH_WORD_H

#include <cstdint>

// Two's-complement reading of a word as a signed 32-bit value.
inline std::int32_t word_to_signed(std::uint32_t w) {
  if (w <= 0x7FFFFFFFu) {
    return static_cast<std::int32_t>(w);
  }
  return -static_cast<std::int32_t>(~w) - 1;
}

// a + b modulo 2^32, read as signed (exponents wrap silently).
inline std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
  return word_to_signed(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// a - b modulo 2^32, read as signed.
inline std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
  return word_to_signed(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Number of bits needed for w (0 for 0, 32 when bit 31 is set), by halving tests.
std::int32_t bit_length(std::uint32_t w);

// Number of zero bits below the lowest set bit of w; w must not be 0.
std::int32_t trailing_zeros(std::uint32_t w);

#endif
