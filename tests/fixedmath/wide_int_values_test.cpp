// Exact results of the 32-bit and 64-bit integer operations on chosen
// operands: the documented edge cases plus cases picked to reach each branch.
#include <gtest/gtest.h>

#include <cstdint>

#include "fixedmath/wide_int.h"
#include "fixedmath_test_util.h"

namespace {

const std::int32_t kMin = INT32_MIN;
const std::int32_t kMax = INT32_MAX;

struct ShiftCase {
  std::int32_t a;
  std::int32_t n;
  std::uint32_t expected;
};

TEST(FixedmathWideValues, ShiftBy) {
  const ShiftCase cases[] = {
      {-5, -1, 0xFFFFFFFDu},  // floor of -2.5
      {-1, -31, 0xFFFFFFFFu},
      {-1, -32, 0u},  // 32 or more gives 0 for negatives too
      {1, 31, 0x80000000u},
      {1, 32, 0u},
      {0x12345678, 0, 0x12345678u},
      {0x12345678, 4, 0x23456780u},  // bits past bit 31 are lost
      {0x40000000, 1, 0x80000000u},  // the sign may change
      {kMin, -31, 0xFFFFFFFFu},
      {kMin, -1, 0xC0000000u},
      {kMax, -30, 1u},
      {kMax, -31, 0u},
      {-7, 64, 0u},
      {-7, kMin, 0u},
      {3, kMax, 0u},
  };
  for (const ShiftCase& c : cases) {
    EXPECT_EQ(Hex32(shift_by(c.a, c.n)), Hex32(c.expected))
        << "shift_by(" << Hex32(c.a) << ", " << c.n << ")";
  }
}

TEST(FixedmathWideValues, ShiftByRounded) {
  const ShiftCase cases[] = {
      {6, -2, 2u},            // 1.5 rounds up
      {5, -2, 1u},            // 1.25 rounds down
      {-6, -2, 0xFFFFFFFEu},  // -1.5 goes toward minus infinity
      {0x7FFFFFFF, -32, 0u},
      {0x7FFFFFFF, -31, 1u},  // 0.99999 rounds up to 1
      {0x40000000, -31, 1u},  // exactly one half rounds up
      {0x3FFFFFFF, -31, 0u},
      {1, -1, 1u},
      {-1, -1, 0xFFFFFFFFu},
      {0, -5, 0u},
      {3, 1, 6u},  // left shifts are never rounded
      {7, 0, 7u},
  };
  for (const ShiftCase& c : cases) {
    EXPECT_EQ(Hex32(shift_by_rounded(c.a, c.n)), Hex32(c.expected))
        << "shift_by_rounded(" << Hex32(c.a) << ", " << c.n << ")";
  }
}

struct CarryCase {
  std::uint32_t a;
  std::uint32_t b;
  std::uint32_t carries;
  std::uint32_t overflow;
};

TEST(FixedmathWideValues, CarryBitsAndOverflowBit) {
  const CarryCase cases[] = {
      {0x40000000u, 0x40000000u, 0x40000000u, 0x80000000u},
      {0xFFFFFFFFu, 1u, 0xFFFFFFFFu, 0u},  // unsigned carry, no signed overflow
      {0x80000000u, 0x80000000u, 0x80000000u, 0x80000000u},
      {5u, 3u, 7u, 0u},  // ripple through bits 0 to 2
      {0u, 0u, 0u, 0u},
      {0x7FFFFFFFu, 1u, 0x7FFFFFFFu, 0x80000000u},
      {0x80000000u, 0xFFFFFFFFu, 0x80000000u, 0x80000000u},
      {0xAAAAAAAAu, 0x55555555u, 0u, 0u},
  };
  for (const CarryCase& c : cases) {
    EXPECT_EQ(Hex32(carry_bits(c.a, c.b)), Hex32(c.carries))
        << "carry_bits(" << Hex32(c.a) << ", " << Hex32(c.b) << ")";
    EXPECT_EQ(Hex32(overflow_bit(carry_bits(c.a, c.b))), Hex32(c.overflow))
        << "overflow_bit of " << Hex32(c.a) << " + " << Hex32(c.b);
  }
}

struct CompareIntCase {
  std::int32_t a;
  std::int32_t b;
  std::int32_t expected;
};

TEST(FixedmathWideValues, CompareInt) {
  const CompareIntCase cases[] = {
      {kMin, kMax, -1}, {kMax, kMin, 1}, {-1, 0, -1}, {0, -1, 1}, {5, 5, 0}, {kMin, kMin, 0},
  };
  for (const CompareIntCase& c : cases) {
    EXPECT_EQ(compare_int(c.a, c.b), c.expected) << "compare_int(" << Hex32(c.a) << ", " << Hex32(c.b) << ")";
  }
}

struct CompareWideCase {
  WideInt x;
  WideInt y;
  std::int32_t expected;
};

TEST(FixedmathWideValues, CompareWide) {
  const CompareWideCase cases[] = {
      {{0, 0xFFFFFFFFu}, {1, 0u}, -1},
      {{-1, 0u}, {0, 5u}, -1},
      {{1, 0u}, {0, 0xFFFFFFFFu}, 1},
      {{0, 5u}, {-1, 0u}, 1},
      {{7, 0x80000000u}, {7, 0x7FFFFFFFu}, 1},  // low words compare unsigned
      {{-7, 3u}, {-7, 3u}, 0},
  };
  for (const CompareWideCase& c : cases) {
    EXPECT_EQ(compare_wide(c.x, c.y), c.expected) << "compare_wide(" << c.x << ", " << c.y << ")";
  }
}

struct ShiftWideCase {
  WideInt x;
  std::int32_t n;
  WideInt expected;
};

TEST(FixedmathWideValues, ShiftWide) {
  const ShiftWideCase cases[] = {
      {{kMin, 0u}, -63, {-1, 0xFFFFFFFFu}},
      {{kMin, 0u}, -64, {0, 0u}},
      {{0, 1u}, 63, {kMin, 0u}},
      {{0, 1u}, 64, {0, 0u}},
      {{0x12345678, 0x9ABCDEF0u}, 0, {0x12345678, 0x9ABCDEF0u}},
      {{0x12345678, 0x9ABCDEF0u}, 8, {0x3456789A, 0xBCDEF000u}},
      {{0x12345678, 0x9ABCDEF0u}, 32, {static_cast<std::int32_t>(0x9ABCDEF0u), 0u}},
      {{0x12345678, 0x9ABCDEF0u}, 36, {static_cast<std::int32_t>(0xABCDEF00u), 0u}},
      {{0x12345678, 0x9ABCDEF0u}, -8, {0x00123456, 0x789ABCDEu}},
      {{static_cast<std::int32_t>(0xF2345678u), 0x9ABCDEF0u},
       -8,
       {static_cast<std::int32_t>(0xFFF23456u), 0x789ABCDEu}},
      {{static_cast<std::int32_t>(0xF2345678u), 0x9ABCDEF0u}, -32, {-1, 0xF2345678u}},
      {{static_cast<std::int32_t>(0xF2345678u), 0x9ABCDEF0u}, -36, {-1, 0xFF234567u}},
      {{0x72345678, 0x9ABCDEF0u}, -36, {0, 0x07234567u}},
  };
  for (const ShiftWideCase& c : cases) {
    EXPECT_EQ(shift_wide(c.x, c.n), c.expected) << "shift_wide(" << c.x << ", " << c.n << ")";
  }
}

struct AddWideCase {
  WideInt x;
  WideInt y;
  WideInt expected;
};

TEST(FixedmathWideValues, AddWide) {
  const AddWideCase cases[] = {
      {{0, 0xFFFFFFFFu}, {0, 1u}, {1, 0u}},        // carry into the high word
      {{-1, 0xFFFFFFFFu}, {0, 1u}, {0, 0u}},       // -1 + 1
      {{kMax, 0xFFFFFFFFu}, {0, 1u}, {kMin, 0u}},  // wraps modulo 2^64
      {{5, 0x80000000u}, {-3, 0x7FFFFFFFu}, {2, 0xFFFFFFFFu}},
  };
  for (const AddWideCase& c : cases) {
    EXPECT_EQ(add_wide(c.x, c.y), c.expected) << "add_wide(" << c.x << ", " << c.y << ")";
  }
}

struct MulWideCase {
  std::int32_t a;
  std::int32_t b;
  WideInt expected;
};

TEST(FixedmathWideValues, MulWide) {
  const MulWideCase cases[] = {
      {0x7FFFFFFF, 0x7FFFFFFF, {0x3FFFFFFF, 0x00000001u}},
      {kMin, kMin, {0x40000000, 0u}},
      {-0x7FFFFFFF, 0x7FFFFFFF, {static_cast<std::int32_t>(0xC0000000u), 0xFFFFFFFFu}},
      {10, 0x7FFFFFFF, {4, 0xFFFFFFF6u}},
      {kMin, kMax, {static_cast<std::int32_t>(0xC0000000u), 0x80000000u}},
      {-1, -1, {0, 1u}},
      {0xFFFF, 0xFFFF, {0, 0xFFFE0001u}},  // low halves only, unsigned
      {0, kMin, {0, 0u}},
  };
  for (const MulWideCase& c : cases) {
    EXPECT_EQ(mul_wide(c.a, c.b), c.expected) << "mul_wide(" << Hex32(c.a) << ", " << Hex32(c.b) << ")";
  }
}

struct DivWideCase {
  WideInt x;
  std::int32_t d;
  WideInt expected;
};

TEST(FixedmathWideValues, DivWide) {
  const DivWideCase cases[] = {
      {{0x40000000, 0u}, 5, {0x0CCCCCCC, 0xCCCCCCCCu}},
      {{static_cast<std::int32_t>(0xC0000000u), 0u},
       3,
       {static_cast<std::int32_t>(0xEAAAAAAAu), 0xAAAAAAABu}},
      {{0x40000000, 0u}, 0, {0, 0u}},
      {{-1, 0xFFFFFFFFu}, 0, {0, 0u}},
      {{0, 4u}, 5, {0, 0u}},            // |x| < |d|
      {{-1, 0xFFFFFFFCu}, 5, {0, 0u}},  // -4 / 5
      {{0, 4u}, -5, {0, 0u}},
      {{0, 10u}, -3, {-1, 0xFFFFFFFDu}},  // -3.33 truncated toward zero
      {{-1, 0xFFFFFFF6u}, -3, {0, 3u}},
      {{kMin, 0u}, 1, {kMin, 0u}},
      {{kMax, 0xFFFFFFFFu}, 0x7FFFFFFF, {1, 0x00000002u}},
  };
  for (const DivWideCase& c : cases) {
    EXPECT_EQ(div_wide(c.x, c.d), c.expected) << "div_wide(" << c.x << ", " << Hex32(c.d) << ")";
  }
}

}  // namespace
