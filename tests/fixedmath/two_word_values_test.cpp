// Exact words produced by the normal forms and the arithmetic of the
// two-word number on the documented edge cases.
#include <gtest/gtest.h>

#include <cstdint>

#include "fixedmath/two_word.h"
#include "fixedmath_test_util.h"

namespace {

const std::int32_t kMin = INT32_MIN;

TwoWordNumber tw(std::uint32_t mantissa, std::int32_t exponent) {
  return TwoWordNumber{static_cast<std::int32_t>(mantissa), exponent};
}

struct UnaryCase {
  TwoWordNumber x;
  TwoWordNumber expected;
};

struct BinaryCase {
  TwoWordNumber a;
  TwoWordNumber b;
  TwoWordNumber expected;
};

TEST(FixedmathTwoWordValues, NormaliseOdd) {
  const UnaryCase cases[] = {
      {tw(0x80000000u, 0), tw(0xFFFFFFFFu, 31)},
      {tw(12, 0), tw(3, 2)},
      {tw(7, -4), tw(7, -4)},
      {tw(0xFFFFFFF8u, 5), tw(0xFFFFFFFFu, 8)},
      {tw(0x40000000u, 0x7FFFFFF0), tw(1, kMin + 14)},  // the exponent wraps
  };
  for (const UnaryCase& c : cases) {
    EXPECT_EQ(normalise_odd(c.x), c.expected) << "normalise_odd" << c.x;
  }
}

TEST(FixedmathTwoWordValues, NormaliseTop) {
  const UnaryCase cases[] = {
      {tw(3, 0), tw(0x60000000u, -29)},
      {tw(0xC0000000u, 2), tw(0x80000000u, 1)},
      {tw(0, 9), tw(0, 0)},
      {tw(0xFFFFFFFFu, 7), tw(0x80000000u, 7 - 31)},
      {tw(1, 7), tw(0x40000000u, 7 - 30)},
      {tw(0x7FFFFFFFu, 7), tw(0x7FFFFFFFu, 7)},
      {tw(0xBFFFFFFFu, 7), tw(0xBFFFFFFFu, 7)},
  };
  for (const UnaryCase& c : cases) {
    EXPECT_EQ(normalise_top(c.x), c.expected) << "normalise_top" << c.x;
  }
}

TEST(FixedmathTwoWordValues, NumFromIntAndNegate) {
  EXPECT_EQ(num_from_int(-7), tw(0xFFFFFFF9u, 0));
  EXPECT_EQ(num_from_int(kMin), tw(0x80000000u, 0));
  const UnaryCase cases[] = {
      {tw(0, 5), tw(0, 5)},
      {tw(0x80000000u, 3), tw(0x40000000u, 4)},
      {tw(0x7FFFFFFFu, -1), tw(0x80000001u, -1)},
      {tw(0xFFFFFFFFu, 9), tw(1, 9)},
  };
  for (const UnaryCase& c : cases) {
    EXPECT_EQ(num_negate(c.x), c.expected) << "num_negate" << c.x;
  }
}

TEST(FixedmathTwoWordValues, NumAdd) {
  const BinaryCase cases[] = {
      {tw(0x40000000u, 0), tw(0x40000000u, 0), tw(1, 31)},            // positive overflow
      {tw(0x80000000u, 0), tw(0x80000000u, 0), tw(0xFFFFFFFFu, 32)},  // negative overflow
      {tw(1, 0), tw(0xFFFFFFFFu, 0), tw(0, 0)},
      {tw(0, 5), tw(0, 7), tw(0, 0)},
      {tw(0, 5), tw(12, 3), tw(3, 5)},
      {tw(12, 3), tw(0, 5), tw(3, 5)},
      {tw(0x33333333u, -32), tw(0x66666666u, -35), tw(1, -2)},  // 0.2 + 0.05
      {tw(1, 0), tw(1, -40), tw(1, 0)},
      {tw(3, 0), tw(1, -32), tw(3, 0)},
      {tw(1, -32), tw(3, 0), tw(3, 0)},
      {tw(3, 0), tw(0xFFFFFFFFu, -32), tw(3, 0)},              // 32 bits down: 0, not -1
      {tw(1, 0), tw(0xFFFFFFFFu, -31), tw(1, 0)},              // -1 in top form lies 32 bits down
      {tw(1, 0), tw(0xFFFFFFFDu, -32), tw(0x3FFFFFFFu, -30)},  // 1 - 3 * 2^-32, floored
      {tw(1, 0), tw(1, -31), tw(0x40000001u, -30)},            // 1 + 2^-31: the half rounds up
  };
  for (const BinaryCase& c : cases) {
    EXPECT_EQ(num_add(c.a, c.b), c.expected) << "num_add(" << c.a << ", " << c.b << ")";
  }
}

TEST(FixedmathTwoWordValues, NumMul) {
  const BinaryCase cases[] = {
      {tw(10, 0), tw(10, 0), tw(25, 2)},
      {tw(0xFFFFFFFDu, 0), tw(5, 1), tw(0xFFFFFFF1u, 1)},
      {tw(0, 4), tw(5, 1), tw(0, 0)},
      {tw(0x80000000u, 0), tw(0x80000000u, 0), tw(0x40000000u, 32)},
      {tw(0x7FFFFFFFu, 0), tw(3, 0), tw(0x5FFFFFFFu, 2)},
      {tw(0x80000001u, 0), tw(3, 0), tw(0xA0000000u, 2)},
      {tw(0x7FFFFFFFu, 0), tw(0x7FFFFFFFu, 0), tw(0x7FFFFFFEu, 31)},
      {tw(0x7FFFFFFFu, 0), tw(5, 0), tw(0x4FFFFFFFu, 3)},  // 0x27FFFFFFB: below the half, truncated
      {tw(0x55555555u, 0), tw(3, 0), tw(1, 32)},           // 0xFFFFFFFF rounds up to 2^32
      {tw(0x40000001u, 0), tw(3, 0), tw(0x30000001u, 2)},  // 0xC0000003 rounds up, odd form
      {tw(0x80000001u, 0), tw(5, 0), tw(0xB0000000u, 3)},  // -0x27FFFFFFB floored
  };
  for (const BinaryCase& c : cases) {
    EXPECT_EQ(num_mul(c.a, c.b), c.expected) << "num_mul(" << c.a << ", " << c.b << ")";
  }
}

TEST(FixedmathTwoWordValues, NumDiv) {
  const BinaryCase cases[] = {
      {tw(1, 0), tw(3, 0), tw(0x55555555u, -32)},
      {tw(0xFFFFFFFFu, 0), tw(3, 0), tw(0xAAAAAAAAu, -32)},
      {tw(1, 0), tw(0xFFFFFFFDu, 0), tw(0xAAAAAAAAu, -32)},
      {tw(2, 0), tw(5, 1), tw(0x66666666u, -33)},
      {tw(5, 0), tw(25, 2), tw(0x66666666u, -35)},
      {tw(6, 0), tw(4, 0), tw(0x60000000u, -30)},
      {tw(0x80000000u, 0), tw(1, 0), tw(0xC0000000u, 1)},
      {tw(7, 3), tw(0, 9), tw(0, -34)},  // zero divisor: zero mantissa, exponent -25 - 9
      {tw(0, 3), tw(7, 0), tw(0, 0)},    // zero dividend
  };
  for (const BinaryCase& c : cases) {
    EXPECT_EQ(num_div(c.a, c.b), c.expected) << "num_div(" << c.a << ", " << c.b << ")";
  }
}

}  // namespace
