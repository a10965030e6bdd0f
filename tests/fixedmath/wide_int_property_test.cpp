// The 32-bit and 64-bit integer operations against native 64-bit and 128-bit
// arithmetic: every pair of boundary operands, then seeded random operands.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "fixedmath/wide_int.h"
#include "fixedmath_test_util.h"

namespace {

typedef __int128 Big;

std::int64_t floor_div(std::int64_t v, std::int64_t p) {
  std::int64_t q = v / p;
  if (v % p != 0 && v < 0) {
    q -= 1;
  }
  return q;
}

std::int32_t ref_shift_by(std::int32_t a, std::int32_t n) {
  if (n == 0) {
    return a;
  }
  if (n >= 32 || n <= -32) {
    return 0;
  }
  if (n > 0) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << n));
  }
  return static_cast<std::int32_t>(floor_div(a, std::int64_t{1} << -n));
}

std::int32_t ref_shift_by_rounded(std::int32_t a, std::int32_t n) {
  if (a > 0 && n <= -1 && n >= -31) {
    const std::int64_t p = std::int64_t{1} << -n;
    return static_cast<std::int32_t>((a + p / 2) / p);  // half up
  }
  return ref_shift_by(a, n);
}

std::uint32_t ref_carry_bits(std::uint32_t a, std::uint32_t b) {
  std::uint32_t carries = 0;
  for (int i = 0; i < 32; ++i) {
    const std::uint64_t mask = (std::uint64_t{2} << i) - 1;  // bits 0 to i
    const std::uint64_t partial = (a & mask) + (b & mask);
    carries |= static_cast<std::uint32_t>((partial >> (i + 1)) & 1) << i;
  }
  return carries;
}

std::uint32_t ref_overflow(std::uint32_t a, std::uint32_t b) {
  const std::int64_t sum = std::int64_t{static_cast<std::int32_t>(a)} + static_cast<std::int32_t>(b);
  return (sum > INT32_MAX || sum < INT32_MIN) ? 0x80000000u : 0u;
}

template <typename T>
std::int32_t ref_compare(T x, T y) {
  return x < y ? -1 : (x > y ? 1 : 0);
}

std::int64_t ref_shift_wide(std::int64_t x, std::int32_t n) {
  if (n == 0) {
    return x;
  }
  if (n >= 64 || n <= -64) {
    return 0;
  }
  if (n > 0) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(x) << n);
  }
  const Big p = static_cast<Big>(1) << -n;
  Big q = x / p;
  if (x % p != 0 && x < 0) {
    q -= 1;
  }
  return static_cast<std::int64_t>(q);
}

std::int64_t ref_div_wide(std::int64_t x, std::int32_t d) {
  if (d == 0) {
    return 0;
  }
  // Truncating division; INT64_MIN / -1 wraps like the two-word result.
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<Big>(x) / d));
}

const std::vector<std::int32_t>& words() {
  static const std::vector<std::int32_t> v = boundary_words();
  return v;
}
const std::vector<std::int64_t>& wides() {
  static const std::vector<std::int64_t> v = boundary_i64();
  return v;
}

void check_shift_by(std::int32_t a, std::int32_t n) {
  ASSERT_EQ(Hex32(shift_by(a, n)), Hex32(ref_shift_by(a, n))) << "shift_by(" << Hex32(a) << ", " << n << ")";
  ASSERT_EQ(Hex32(shift_by_rounded(a, n)), Hex32(ref_shift_by_rounded(a, n)))
      << "shift_by_rounded(" << Hex32(a) << ", " << n << ")";
}

TEST(FixedmathWideProperty, ShiftByAndShiftByRounded) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int32_t a : words()) {
    for (std::int32_t n = -70; n <= 70; ++n) {
      check_shift_by(a, n);
    }
    for (std::int32_t n : {INT32_MIN, INT32_MIN + 1, INT32_MAX, -1000, 1000}) {
      check_shift_by(a, n);
    }
    if (HasFatalFailure()) {
      return;
    }
  }
  Rng rng(seed);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    check_shift_by(random_word(rng), static_cast<std::int32_t>(rng.range(-40, 40)));
  }
}

void check_carry(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t c = carry_bits(a, b);
  ASSERT_EQ(Hex32(c), Hex32(ref_carry_bits(a, b))) << "carry_bits(" << Hex32(a) << ", " << Hex32(b) << ")";
  ASSERT_EQ(Hex32(overflow_bit(c)), Hex32(ref_overflow(a, b)))
      << "overflow of " << Hex32(a) << " + " << Hex32(b);
}

TEST(FixedmathWideProperty, CarryBitsAndOverflowBit) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int32_t a : words()) {
    for (std::int32_t b : words()) {
      check_carry(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b));
      if (HasFatalFailure()) {
        return;
      }
    }
  }
  Rng rng(seed + 1);
  for (int i = 0; i < 50000 && !HasFatalFailure(); ++i) {
    check_carry(static_cast<std::uint32_t>(random_word(rng)), static_cast<std::uint32_t>(random_word(rng)));
  }
}

void check_wide_pair(std::int64_t x, std::int64_t y) {
  const WideInt wx = i64_to_wide(x);
  const WideInt wy = i64_to_wide(y);
  ASSERT_EQ(compare_wide(wx, wy), ref_compare(x, y)) << "compare_wide(" << wx << ", " << wy << ")";
  ASSERT_EQ(add_wide(wx, wy), i64_to_wide(static_cast<std::int64_t>(static_cast<std::uint64_t>(x) +
                                                                    static_cast<std::uint64_t>(y))))
      << "add_wide(" << wx << ", " << wy << ")";
}

TEST(FixedmathWideProperty, CompareIntCompareWideAddWide) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int32_t a : words()) {
    for (std::int32_t b : words()) {
      ASSERT_EQ(compare_int(a, b), ref_compare(a, b))
          << "compare_int(" << Hex32(a) << ", " << Hex32(b) << ")";
    }
  }
  for (std::int64_t x : wides()) {
    for (std::int64_t y : wides()) {
      check_wide_pair(x, y);
      if (HasFatalFailure()) {
        return;
      }
    }
  }
  Rng rng(seed + 2);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    const std::int64_t x = random_i64(rng);
    // Equal high words half of the time, so that the low-word comparison is reached.
    std::int64_t y = random_i64(rng);
    if ((i & 1) != 0) {
      y = static_cast<std::int64_t>((static_cast<std::uint64_t>(x) & 0xFFFFFFFF00000000ull) |
                                    (static_cast<std::uint64_t>(y) & 0xFFFFFFFFull));
    }
    check_wide_pair(x, y);
  }
}

void check_shift_wide(std::int64_t x, std::int32_t n) {
  const WideInt wx = i64_to_wide(x);
  ASSERT_EQ(shift_wide(wx, n), i64_to_wide(ref_shift_wide(x, n))) << "shift_wide(" << wx << ", " << n << ")";
}

TEST(FixedmathWideProperty, ShiftWide) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int64_t x : wides()) {
    for (std::int32_t n = -130; n <= 130; ++n) {
      check_shift_wide(x, n);
    }
    for (std::int32_t n : {INT32_MIN, INT32_MAX}) {
      check_shift_wide(x, n);
    }
    if (HasFatalFailure()) {
      return;
    }
  }
  Rng rng(seed + 3);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    check_shift_wide(random_i64(rng), static_cast<std::int32_t>(rng.range(-70, 70)));
  }
}

void check_mul(std::int32_t a, std::int32_t b) {
  ASSERT_EQ(mul_wide(a, b), i64_to_wide(std::int64_t{a} * b))
      << "mul_wide(" << Hex32(a) << ", " << Hex32(b) << ")";
}

TEST(FixedmathWideProperty, MulWide) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int32_t a : words()) {
    for (std::int32_t b : words()) {
      check_mul(a, b);
      if (HasFatalFailure()) {
        return;
      }
    }
  }
  Rng rng(seed + 4);
  for (int i = 0; i < 200000 && !HasFatalFailure(); ++i) {
    check_mul(random_word(rng), random_word(rng));
  }
}

void check_div(std::int64_t x, std::int32_t d) {
  const WideInt wx = i64_to_wide(x);
  ASSERT_EQ(div_wide(wx, d), i64_to_wide(ref_div_wide(x, d))) << "div_wide(" << wx << ", " << Hex32(d) << ")";
}

TEST(FixedmathWideProperty, DivWide) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  // The divisor -2^31 is outside the operation's contract (callers pass odd divisors).
  for (std::int64_t x : wides()) {
    for (std::int32_t d : words()) {
      if (d != INT32_MIN) {
        check_div(x, d);
      }
    }
    if (HasFatalFailure()) {
      return;
    }
  }
  Rng rng(seed + 5);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    std::int32_t d = random_word(rng);
    if (d == INT32_MIN) {
      d = INT32_MIN + 1;
    }
    std::int64_t x = random_i64(rng);
    if ((i & 3) == 0) {
      // A multiple of d plus a small remainder: quotients whose low bits matter.
      x = static_cast<std::int64_t>(static_cast<std::uint64_t>(std::int64_t{random_word(rng)} * d) +
                                    static_cast<std::uint64_t>(rng.range(-3, 3)));
    }
    check_div(x, d);
  }
}

}  // namespace
