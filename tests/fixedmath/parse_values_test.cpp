// Exact results of the decimal parser, the conversion to 16.16 and the
// quotient of two GLfixed values: the program's own constants and the
// documented asymmetries.
#include <gtest/gtest.h>

#include <cstdint>

#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"
#include "fixedmath_test_util.h"

namespace {

struct ParseCase {
  const char* text;
  std::uint32_t expected;
};

TEST(FixedmathParseValues, ParseFixed) {
  const ParseCase cases[] = {
      {"0.1", 0x199Au},
      {"0.2", 0x3333u},
      {"0.25", 0x4000u},
      {"0.28", 0x47AEu},
      {"0.38", 0x6148u},
      {"0.5", 0x8000u},
      {"0.75", 0xC000u},
      {"", 0u},
      {"+", 0u},
      {"-", 0u},
      {"..5", 0u},
      {"-0.2", 0xFFFFCCCCu},
      {"-0.1", 0xFFFFE666u},
      {"-0.75", 0xFFFF4000u},
      {"-0.5", 0xFFFF8000u},
      {"-.5", 0xFFFF8000u},
      {"-1", 0xFFFF0000u},
      {"1.2.3", 0x13333u},
      {"1.2", 0x13333u},
      {"12x3", 0x7B0000u},
      {"1e3", 0xD0000u},
      {" 5", 0x50000u},
      {"3.14159", 0x3243Fu},
      {"0.3", 0x4CCDu},
      {"0.7", 0xB333u},
      {"0.9", 0xE666u},
      {"100", 0x640000u},
      {"32767.5", 0x7FFF8000u},
      {"32768", 0x80000000u},
      {"65536", 0u},
      {"0.00001", 0u},
      {"+2.5", 0x28000u},
      {"1-2", 0xC0000u},
      {"\xB2"
       "7",
       0x70000u},  // a sign after the first byte and a non-ASCII byte are skipped
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(Hex32(parse_fixed(c.text)), Hex32(c.expected)) << "parse_fixed(\"" << c.text << "\")";
  }
}

struct DecimalCase {
  const char* text;
  TwoWordNumber expected;
};

TEST(FixedmathParseValues, ParseDecimal) {
  const DecimalCase cases[] = {
      {"0.1", {0x33333333, -33}},
      {"0.2", {0x33333333, -32}},
      {"0.25", {1, -2}},
      {"0.28", {0x23D70A3D, -31}},
      {"0.38", {0x1851EB85, -30}},
      {"0.5", {1, -1}},
      {"0.75", {0x5FFFFFFF, -31}},
      {"100", {25, 2}},
      {"-", {0, 0}},
      {"", {0, 0}},
      {"-0.5", {-1, -1}},
  };
  for (const DecimalCase& c : cases) {
    EXPECT_EQ(parse_decimal(c.text), c.expected) << "parse_decimal(\"" << c.text << "\")";
  }
}

struct GlfixedCase {
  TwoWordNumber x;
  std::uint32_t expected;
};

TEST(FixedmathParseValues, ToGlfixed) {
  const GlfixedCase cases[] = {
      {{0x5FFFFFFF, -31}, 0xC000u},  // half up from 0xBFFF.FFFC
      {{3, -18}, 0u},                // 0.75 units: truncated result 0, not rounded
      {{1, -17}, 0u},                // half a unit: truncated result 0, not rounded
      {{3, -17}, 2u},                // 1.5 units round up
      {{-3, -17}, 0xFFFFFFFEu},      // -1.5 units go to -2
      {{-1, -47}, 0xFFFFFFFFu},      // shift of 31: floor gives -1
      {{-1, -48}, 0u},               // shift of 32: 0, negative or not
      {{1, 15}, 0x80000000u},        // 32768.0 wraps
      {{1, 16}, 0u},                 // shift of 32 gives 0
      {{0x1234, -16}, 0x1234u},      // GLfixed g is (g, -16)
      {{7, 0x7FFFFFF0}, 0u},         // exponent + 16 wraps to a large negative shift
  };
  for (const GlfixedCase& c : cases) {
    EXPECT_EQ(Hex32(to_glfixed(c.x)), Hex32(c.expected)) << "to_glfixed" << c.x;
  }
}

struct DivCase {
  std::uint32_t a;
  std::uint32_t b;
  std::uint32_t expected;
};

TEST(FixedmathParseValues, FixedDiv) {
  const DivCase cases[] = {
      {0x20000u, 0x300000u, 0xAAB},  // 2/48
      {0u, 0x300000u, 0u},
      {0xC4000u, 0x300000u, 0x4155u},   // 12.25/48
      {0xC8000u, 0x300000u, 0x42ABu},   // 12.5/48
      {0xCC000u, 0x300000u, 0x4400u},   // 12.75/48
      {0x240000u, 0x300000u, 0xC000u},  // 36/48
      {0x248000u, 0x300000u, 0xC2ABu},  // 36.5/48
      {0x10000u, 0x30000u, 0x5555u},
      {0xFFFE0000u, 0x300000u, 0xFFFFF555u},  // -2/48
      {0x20000u, 0xFFD00000u, 0xFFFFF555u},   // 2/-48
      {0x10000u, 0u, 0u},
      {0xFFFE0000u, 0u, 0u},
      {0x80000000u, 0u, 0u},
      {0x7FFFFFFFu, 0x10000u, 0x7FFFFFFFu},
      {0x80000000u, 0x10000u, 0x80000000u},
      {0x10000u, 0x7FFFFFFFu, 2u},
  };
  for (const DivCase& c : cases) {
    EXPECT_EQ(Hex32(fixed_div(static_cast<GLfixed>(c.a), static_cast<GLfixed>(c.b))), Hex32(c.expected))
        << "fixed_div(" << Hex32(c.a) << ", " << Hex32(c.b) << ")";
  }
}

}  // namespace
