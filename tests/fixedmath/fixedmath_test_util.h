// Test helpers for fixedmath: hexadecimal printing of words and records,
// conversions to native 64-bit integers, a seeded generator and the boundary
// operands that the property tests combine in pairs.
#ifndef TESTS_FIXEDMATH_FIXEDMATH_TEST_UTIL_H
#define TESTS_FIXEDMATH_FIXEDMATH_TEST_UTIL_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "fixedmath/two_word.h"
#include "fixedmath/wide_int.h"

// A 32-bit word compared as is and printed in hexadecimal.
struct Hex32 {
  std::uint32_t bits;
  explicit Hex32(std::uint32_t w) : bits(w) {}
  explicit Hex32(std::int32_t w) : bits(static_cast<std::uint32_t>(w)) {}
  bool operator==(const Hex32& o) const { return bits == o.bits; }
};
inline std::ostream& operator<<(std::ostream& os, const Hex32& h) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(h.bits));
  return os << text;
}

inline bool operator==(const WideInt& x, const WideInt& y) {
  return x.high == y.high && x.low == y.low;
}
inline std::ostream& operator<<(std::ostream& os, const WideInt& x) {
  return os << "(" << Hex32(x.high) << ", " << Hex32(x.low) << ")";
}
inline bool operator==(const TwoWordNumber& x, const TwoWordNumber& y) {
  return x.mantissa == y.mantissa && x.exponent == y.exponent;
}
inline std::ostream& operator<<(std::ostream& os, const TwoWordNumber& x) {
  return os << "(" << Hex32(x.mantissa) << ", " << x.exponent << ")";
}

inline std::int64_t wide_to_i64(WideInt x) {
  const std::uint64_t u = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x.high)) << 32) | x.low;
  return static_cast<std::int64_t>(u);
}
inline WideInt i64_to_wide(std::int64_t v) {
  const std::uint64_t u = static_cast<std::uint64_t>(v);
  return WideInt{static_cast<std::int32_t>(static_cast<std::uint32_t>(u >> 32)),
                 static_cast<std::uint32_t>(u)};
}

// splitmix64: small, seedable, good enough to spread operands over the bits.
struct Rng {
  std::uint64_t state;
  explicit Rng(std::uint64_t seed) : state(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [lo, hi].
  std::int64_t range(std::int64_t lo, std::int64_t hi) {
    return lo + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
};

// The seed of the randomised tests: FIXEDMATH_TEST_SEED when set (decimal or
// 0x hexadecimal), else the fixed default, so that every run is repeatable.
inline std::uint64_t test_seed() {
  const char* text = std::getenv("FIXEDMATH_TEST_SEED");
  if (text != nullptr && *text != 0) {
    return std::strtoull(text, nullptr, 0);
  }
  return 0x5EED0F1C5EDull;
}

inline std::string seed_trace(std::uint64_t seed) {
  char text[64];
  std::snprintf(text, sizeof text, "seed 0x%llX (FIXEDMATH_TEST_SEED)",
                static_cast<unsigned long long>(seed));
  return text;
}

// A word of random bit length and sign half of the time, a uniform one otherwise,
// so that short operands and long runs of equal bits are common.
inline std::int32_t random_word(Rng& rng) {
  const std::uint64_t r = rng.next();
  const std::uint32_t bits = static_cast<std::uint32_t>(r >> 32);
  if ((r & 1) != 0) {
    return static_cast<std::int32_t>(bits);
  }
  const unsigned width = static_cast<unsigned>((r >> 1) % 33);
  std::uint32_t v = width == 32 ? bits : (bits & ((1u << width) - 1));
  if ((r & 0x100) != 0) {
    v = 0u - v;
  }
  return static_cast<std::int32_t>(v);
}

// The same for 64-bit values.
inline std::int64_t random_i64(Rng& rng) {
  const std::uint64_t r = rng.next();
  const std::uint64_t bits = rng.next();
  if ((r & 1) != 0) {
    return static_cast<std::int64_t>(bits);
  }
  const unsigned width = static_cast<unsigned>((r >> 1) % 65);
  std::uint64_t v = width == 64 ? bits : (bits & ((1ull << width) - 1));
  if ((r & 0x100) != 0) {
    v = 0ull - v;
  }
  return static_cast<std::int64_t>(v);
}

// 0, +-1, the extremes, and every power of two with its neighbours, both signs.
inline std::vector<std::int32_t> boundary_words() {
  std::vector<std::int32_t> v{0, 1, -1, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1};
  for (int k = 1; k <= 30; ++k) {
    const std::int32_t p = static_cast<std::int32_t>(1u << k);
    for (std::int32_t w : {p - 1, p, p + 1}) {
      v.push_back(w);
      v.push_back(-w);
    }
  }
  return v;
}

inline std::vector<std::int64_t> boundary_i64() {
  std::vector<std::int64_t> v{0, 1, -1, INT64_MIN, INT64_MAX, INT64_MIN + 1, INT64_MAX - 1};
  for (int k = 1; k <= 62; ++k) {
    const std::int64_t p = static_cast<std::int64_t>(1ull << k);
    for (std::int64_t w : {p - 1, p, p + 1}) {
      v.push_back(w);
      v.push_back(-w);
    }
  }
  return v;
}

#endif
