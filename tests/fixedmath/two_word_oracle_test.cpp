// The two-word arithmetic, the conversion to 16.16 and the parser against the
// reference model of two_word_model.h, and against value-level statements of
// the rounding (products rounded half up or floored to 31 significant bits,
// positive quotients floored to 31 significant bits, fixed_div within one
// unit of the nearest 16.16 value).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"
#include "fixedmath_test_util.h"
#include "two_word_model.h"

namespace {

using model::Big;

TwoWordNumber canonical(TwoWordNumber x) {
  return model::odd_words(x.mantissa, x.exponent);
}

// m * 2^e rounded to 31 significant bits: half up when `round_up` and m > 0, else floored.
TwoWordNumber to_31_bits(Big m, std::int64_t e, bool round_up) {
  const int length = model::significant_bits(m);
  if (length <= 31) {
    return model::odd_words(m, e);
  }
  const int t = length - 31;
  Big r = model::floor_pow2(m, t);
  const Big rest = m - r * (static_cast<Big>(1) << t);
  if (round_up && m > 0 && rest >= (static_cast<Big>(1) << (t - 1))) {
    r += 1;
  }
  return model::odd_words(r, e + t);
}

// Boundary mantissas at two exponents, so that pairs meet with equal and with
// distant exponents.
std::vector<TwoWordNumber> boundary_numbers() {
  std::vector<TwoWordNumber> v;
  for (std::int32_t w : boundary_words()) {
    v.push_back(TwoWordNumber{w, 0});
    v.push_back(TwoWordNumber{w, -33});
  }
  return v;
}

TwoWordNumber random_number(Rng& rng) {
  return TwoWordNumber{random_word(rng), static_cast<std::int32_t>(rng.range(-100, 100))};
}

void check_arithmetic(TwoWordNumber a, TwoWordNumber b) {
  const TwoWordNumber sum = num_add(a, b);
  ASSERT_EQ(sum, model::add(a, b)) << "num_add(" << a << ", " << b << ")";

  const TwoWordNumber product = num_mul(a, b);
  ASSERT_EQ(product, model::mul(a, b)) << "num_mul(" << a << ", " << b << ")";
  const Big exact_product = static_cast<Big>(a.mantissa) * b.mantissa;
  ASSERT_EQ(canonical(product), to_31_bits(exact_product, std::int64_t{a.exponent} + b.exponent, true))
      << "value of num_mul(" << a << ", " << b << ")";

  const TwoWordNumber quotient = num_div(a, b);
  ASSERT_EQ(quotient, model::div(a, b)) << "num_div(" << a << ", " << b << ")";
  if (a.mantissa > 0 && b.mantissa > 0) {
    // Positive quotients: the exact quotient floored to 31 significant bits.
    const TwoWordNumber oa = canonical(a);
    const TwoWordNumber ob = canonical(b);
    const Big scaled = (static_cast<Big>(oa.mantissa) << 64) / ob.mantissa;
    ASSERT_EQ(canonical(quotient), to_31_bits(scaled, std::int64_t{oa.exponent} - ob.exponent - 64, false))
        << "value of num_div(" << a << ", " << b << ")";
  }
  if (b.mantissa == 0) {
    ASSERT_EQ(quotient.mantissa, 0) << "num_div(" << a << ", " << b << ")";
  }
}

TEST(FixedmathTwoWordOracle, AddMulDivBoundaryPairs) {
  const std::vector<TwoWordNumber> numbers = boundary_numbers();
  for (const TwoWordNumber& a : numbers) {
    for (const TwoWordNumber& b : numbers) {
      check_arithmetic(a, b);
      if (HasFatalFailure()) {
        return;
      }
    }
  }
}

TEST(FixedmathTwoWordOracle, AddMulDivRandom) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  Rng rng(seed + 10);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    const TwoWordNumber a = random_number(rng);
    TwoWordNumber b = random_number(rng);
    if ((i & 7) == 0) {
      // Nearby exponents: the rounded alignment of num_add matters most there.
      b.exponent = a.exponent + static_cast<std::int32_t>(rng.range(-33, 33));
    }
    check_arithmetic(a, b);
  }
}

void check_unary(TwoWordNumber x) {
  const TwoWordNumber negated = num_negate(x);
  ASSERT_EQ(negated, model::negate(x)) << "num_negate" << x;
  ASSERT_EQ(canonical(negated), model::odd_words(-static_cast<Big>(x.mantissa), x.exponent))
      << "value of num_negate" << x;

  const TwoWordNumber top = normalise_top(x);
  ASSERT_EQ(canonical(top), canonical(x)) << "value of normalise_top" << x;
  if (x.mantissa != 0) {
    const std::uint32_t m = static_cast<std::uint32_t>(top.mantissa);
    ASSERT_NE((m >> 31) & 1, (m >> 30) & 1) << "normalise_top" << x << " gave " << top;
    ASSERT_EQ(normalise_odd(x), canonical(x)) << "normalise_odd" << x;
  } else {
    ASSERT_EQ(top, (TwoWordNumber{0, 0})) << "normalise_top" << x;
  }

  ASSERT_EQ(Hex32(to_glfixed(x)), Hex32(model::glfixed(x))) << "to_glfixed" << x;
}

TEST(FixedmathTwoWordOracle, NegateNormaliseToGlfixed) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int32_t w : boundary_words()) {
    for (std::int32_t e = -80; e <= 40; ++e) {
      check_unary(TwoWordNumber{w, e});
    }
    if (HasFatalFailure()) {
      return;
    }
  }
  Rng rng(seed + 11);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    check_unary(TwoWordNumber{random_word(rng), static_cast<std::int32_t>(rng.range(-70, 30))});
  }
}

void check_fixed_div(std::int32_t a, std::int32_t b) {
  const GLfixed q = fixed_div(a, b);
  ASSERT_EQ(Hex32(q), Hex32(model::fixed_div(a, b))) << "fixed_div(" << Hex32(a) << ", " << Hex32(b) << ")";
  if (b == 0) {
    ASSERT_EQ(q, 0);
    return;
  }
  // A positive quotient within range is the nearest 16.16 value, give or take
  // the one unit that the truncation to 31 bits before rounding may cost.
  const Big num = static_cast<Big>(a) * 65536;
  if ((a > 0 && b > 0) || (a < 0 && b < 0)) {
    const Big n = num < 0 ? -num : num;
    const Big d = b < 0 ? -static_cast<Big>(b) : b;
    const Big nearest = (2 * n + d) / (2 * d);
    if (nearest < INT32_MAX) {
      const Big diff = static_cast<Big>(q) - nearest;
      ASSERT_TRUE(diff >= -1 && diff <= 1)
          << "fixed_div(" << Hex32(a) << ", " << Hex32(b) << ") = " << Hex32(q);
    }
  }
}

TEST(FixedmathTwoWordOracle, FixedDiv) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  for (std::int32_t a : boundary_words()) {
    for (std::int32_t b : boundary_words()) {
      check_fixed_div(a, b);
      if (HasFatalFailure()) {
        return;
      }
    }
  }
  Rng rng(seed + 12);
  for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
    check_fixed_div(random_word(rng), random_word(rng));
  }
}

std::string random_text(Rng& rng) {
  static const char kBytes[] = "0123456789012345678901234567890123456789...+-e x\x80\xFF";
  std::string s;
  const int length = static_cast<int>(rng.range(0, 24));
  for (int i = 0; i < length; ++i) {
    s.push_back(kBytes[rng.range(0, sizeof kBytes - 2)]);
  }
  return s;
}

TEST(FixedmathTwoWordOracle, ParseDecimal) {
  const std::uint64_t seed = test_seed();
  SCOPED_TRACE(seed_trace(seed));
  Rng rng(seed + 13);
  for (int i = 0; i < 20000; ++i) {
    const std::string text = random_text(rng);
    ASSERT_EQ(parse_decimal(text.c_str()), model::parse(text.c_str())) << "parse_decimal(\"" << text << "\")";
    ASSERT_EQ(Hex32(parse_fixed(text.c_str())), Hex32(model::glfixed(model::parse(text.c_str()))))
        << "parse_fixed(\"" << text << "\")";
  }
}

}  // namespace
