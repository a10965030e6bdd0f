// SPDX-License-Identifier: MIT
// The number library against its documented values (one table), and against
// deliberately simple references on boundary and seeded random inputs: its
// integer operations against native 64-bit arithmetic, num_div and fixed_div
// against their definition in native 64-bit integers, the parser against the
// digit-by-digit definition. Mismatches are printed in hex with the input.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"

namespace fixedmath {
namespace {

typedef std::uint32_t u32;
typedef std::int32_t i32;
typedef std::uint64_t u64;
typedef std::int64_t i64;

enum Op { PF, PD, FD, NEG, ODD, TOP };
const char* const kOpNames[] = {"parse_fixed", "parse_decimal", "fixed_div",
                                "num_negate",  "normalise_odd", "normalise_top"};

// Operands as words: a number as (mantissa, exponent), fixed_div's two
// operands.
struct Row {
  Op op;
  i64 in[2];
  i64 out[2];
  const char* text = nullptr;  // parse_fixed, parse_decimal
};

// clang-format off
const Row kRows[] = {
    {PF, {}, {0x199A}, "0.1"}, {PF, {}, {0x3333}, "0.2"}, {PF, {}, {0x4000}, "0.25"},
    {PF, {}, {0x47AE}, "0.28"}, {PF, {}, {0x6148}, "0.38"}, {PF, {}, {0x8000}, "0.5"},
    {PF, {}, {0xC000}, "0.75"}, {PF, {}, {0}, ""}, {PF, {}, {0}, "+"}, {PF, {}, {0}, "-"},
    {PF, {}, {0xFFFFCCCC}, "-0.2"}, {PF, {}, {0xFFFFE666}, "-0.1"}, {PF, {}, {0xFFFF4000}, "-0.75"},
    {PF, {}, {0xFFFF8000}, "-0.5"}, {PF, {}, {0xFFFF0000}, "-1"}, {PF, {}, {0x3243F}, "3.14159"},
    {PF, {}, {0x4CCD}, "0.3"}, {PF, {}, {0xB333}, "0.7"}, {PF, {}, {0xE666}, "0.9"},
    {PF, {}, {0x640000}, "100"}, {PF, {}, {0x7FFF8000}, "32767.5"}, {PF, {}, {0x80000000}, "32768"},
    {PF, {}, {0}, "65536"}, {PF, {}, {0}, "0.00001"},
    {PD, {}, {0x33333333, -33}, "0.1"}, {PD, {}, {0x33333333, -32}, "0.2"}, {PD, {}, {1, -2}, "0.25"},
    {PD, {}, {0x23D70A3D, -31}, "0.28"}, {PD, {}, {0x1851EB85, -30}, "0.38"}, {PD, {}, {1, -1}, "0.5"},
    {PD, {}, {0x5FFFFFFF, -31}, "0.75"}, {PD, {}, {25, 2}, "100"}, {PD, {}, {0, 0}, "-"},
    {PD, {}, {0x7FFFFFFF, 0}, "2147483647"}, {PD, {}, {1, 31}, "2147483648"},
    {PD, {}, {0x4FFFFFFF, 4}, "21474836475"}, {PD, {}, {0x4ED02057, -74}, "0.00000000000007"},
    {FD, {0x20000, 0x300000}, {0xAAB}}, {FD, {0, 0x300000}, {0}}, {FD, {0xC4000, 0x300000}, {0x4155}},
    {FD, {0xC8000, 0x300000}, {0x42AB}}, {FD, {0xCC000, 0x300000}, {0x4400}},
    {FD, {0x240000, 0x300000}, {0xC000}}, {FD, {0x248000, 0x300000}, {0xC2AB}},
    {FD, {-0x20000, 0x300000}, {0xFFFFF555}}, {FD, {-113042924, 348236395}, {-21274}},
    {NEG, {0, 5}, {0, 5}},
    {NEG, {0x80000000, 3}, {0x40000000, 4}}, {NEG, {0x7FFFFFFF, -1}, {0x80000001, -1}},
    {ODD, {0x80000000, 0}, {-1, 31}}, {ODD, {12, 0}, {3, 2}},
    {ODD, {0x40000000, 0x7FFFFFF0}, {1, -0x7FFFFFF2}}, {TOP, {3, 0}, {0x60000000, -29}},
    {TOP, {0xC0000000, 2}, {0x80000000, 1}}, {TOP, {0, 9}, {0, 0}}};
// clang-format on

// The words of a result: a number's (mantissa, exponent), or one 32-bit word.
struct Words {
  Words(TwoWordNumber x) : w{static_cast<u32>(x.mantissa), static_cast<u32>(x.exponent)} {}
  Words(i32 v) : w{static_cast<u32>(v), 0} {}
  u32 w[2];
};

Words run(const Row& r) {
  const i32 a = static_cast<i32>(r.in[0]), b = static_cast<i32>(r.in[1]);
  const TwoWordNumber x{a, b};
  switch (r.op) {
    case PF: return parse_fixed(r.text);
    case PD: return parse_decimal(r.text);
    case FD: return fixed_div(a, b);
    case NEG: return num_negate(x);
    case ODD: return normalise_odd(x);
    case TOP: return normalise_top(x);
  }
  return 0;
}

TEST(Fixedmath, DocumentedValues) {
  for (const Row& r : kRows) {
    const Words got = run(r);
    const u32 want[2] = {static_cast<u32>(r.out[0]), static_cast<u32>(r.out[1])};
    EXPECT_TRUE(got.w[0] == want[0] && got.w[1] == want[1])
        << kOpNames[r.op] << "(" << (r.text != nullptr ? r.text : "") << std::hex << " 0x" << r.in[0]
        << ", 0x" << r.in[1] << ") gave 0x" << got.w[0] << " 0x" << got.w[1] << ", want 0x" << want[0]
        << " 0x" << want[1];
  }
}

// Every divisor the reciprocal serves; its first guesses are a table.
TEST(Fixedmath, ReciprocalOfEverySixteenBitDivisor) {
  for (u32 b = 0x8000; b <= 0xFFFF; ++b)
    ASSERT_EQ(reciprocal_16(b), 0x7FFFFFFFu / b) << std::hex << "b = 0x" << b;
}

// Inputs whose first estimate is two short, the most that each correction
// loop allows: divide_short (u < 2^16 is n, d is m), then divide_long_digit's
// steps up and its steps down.
struct DigitCase {
  u32 u, digit, d;
};
constexpr DigitCase kTwoStepCases[] = {
    {0xCFFF3, 0, 0xD}, {0xEE0A8809, 0xFFFF, 0xEE0B7095}, {0xA68A246B, 0x3BC5, 0xB9B4E246}};
static_assert(sizeof kTwoStepCases / sizeof kTwoStepCases[0] == 3, "one per loop");

TEST(Fixedmath, CorrectionLoopsReachTheirBound) {
  const DigitCase s = kTwoStepCases[0];
  const i32 k = bit_length(s.d);
  u32 r, q = divide_short(s.u, s.d, reciprocal_16(s.d << (16 - k)), k, &r);
  EXPECT_TRUE(q == s.u / s.d && r == s.u % s.d)
      << std::hex << "0x" << s.u << " / 0x" << s.d << " gave 0x" << q;
  for (const DigitCase& c : {kTwoStepCases[1], kTwoStepCases[2]}) {
    const u64 n = (u64{c.u} << 16) | c.digit;
    u32 rest = c.u, q = divide_long_digit(&rest, c.digit, c.d, reciprocal_16(c.d >> 16));
    EXPECT_TRUE(q == n / c.d && rest == n % c.d)
        << std::hex << "0x" << n << " / 0x" << c.d << " gave 0x" << q;
  }
}

// The references: plain native 64-bit arithmetic, written from the operations'
// definitions (floor division by powers of two, half-up rounding, a 64-bit
// sum for the carries), sharing nothing with the library.
i64 floor_shift(i64 v, int k) {  // 0 <= k <= 62
  return v >= 0 ? v / (i64{1} << k) : ~(~v / (i64{1} << k));
}
i64 ref_shift_by(i32 a, i32 n, bool rounded) {
  if (n >= 32 || n <= -32) return 0;
  if (n >= 0) return static_cast<i32>(static_cast<u32>(i64{a} * (i64{1} << n)));
  return rounded && a > 0 ? (i64{a} + (i64{1} << (-n - 1))) >> -n : floor_shift(a, -n);
}
u64 ref_shift_wide(i64 x, i32 n) {
  if (n >= 64 || n <= -64) return 0;
  if (n >= 0) return static_cast<u64>(x) << n;
  return static_cast<u64>(n == -63 ? (x < 0 ? -1 : 0) : floor_shift(x, -n));
}
u64 bits(WideInt x) {
  return (u64{static_cast<u32>(x.high)} << 32) | x.low;
}
u64 bits(TwoWordNumber x) {
  return bits(WideInt{x.mantissa, static_cast<u32>(x.exponent)});
}

bool same(const char* op, u64 x, u64 y, u64 got, u64 want) {
  if (got == want) return true;
  ADD_FAILURE() << op << std::hex << "(0x" << x << ", 0x" << y << ") gave 0x" << got << ", want 0x" << want;
  return false;
}

i64 wrap(i64 v) {  // modulo 2^32, as the library's exponents
  return static_cast<i32>(static_cast<u32>(v));
}

// (m, e) in odd form: the trailing zero bits of m moved into e; 0 is (0, 0).
TwoWordNumber reference_odd(i64 m, i64 e) {
  for (; m != 0 && m % 2 == 0; ++e) m /= 2;
  return m == 0 ? TwoWordNumber{0, 0} : TwoWordNumber{static_cast<i32>(m), static_cast<i32>(wrap(e))};
}

// num_add by its definition, in native 64-bit integers: both in top form
// (doubled while bit 30 equals bit 31), the one with the smaller exponent
// divided by 2^difference (half up when positive, floored when negative, 0
// from 32 on), the exact sum halved (floored) when it leaves 32 bits, in odd
// form.
TwoWordNumber reference_add(TwoWordNumber x, TwoWordNumber y) {
  i64 m[2] = {x.mantissa, y.mantissa}, e[2] = {x.exponent, y.exponent};
  if (m[0] == 0 || m[1] == 0) return reference_odd(m[0] + m[1], m[0] != 0 ? e[0] : e[1]);
  for (int i = 0; i < 2; ++i)
    for (; m[i] >= -(i64{1} << 30) && m[i] < (i64{1} << 30); e[i] = wrap(e[i] - 1)) m[i] *= 2;
  const int top = e[0] < e[1] ? 1 : 0;
  const i64 b = m[1 - top], d = e[top] - e[1 - top], half = b > 0 && d > 0 && d < 32 ? i64{1} << (d - 1) : 0;
  const i64 sum = m[top] + (d >= 32 ? 0 : floor_shift(b + half, static_cast<int>(d))),
            halve = sum != static_cast<i32>(sum);
  return reference_odd(floor_shift(sum, static_cast<int>(halve)), e[top] + halve);
}

// num_mul by its definition: the exact product, in odd form when it fits a
// word; else doubled while its low word is non-zero and bit 62 equals bit 63,
// and its high word kept, plus one unit (through reference_add) when that
// word is non-negative and bit 31 of the low word is set.
TwoWordNumber reference_mul(TwoWordNumber x, TwoWordNumber y) {
  i64 p = i64{x.mantissa} * y.mantissa, e = i64{x.exponent} + y.exponent;
  if (p == static_cast<i32>(p)) return reference_odd(p, e);
  for (; static_cast<u32>(p) != 0 && p >= -(i64{1} << 62) && p < (i64{1} << 62); --e) p *= 2;
  const TwoWordNumber high{static_cast<i32>(floor_shift(p, 32)), static_cast<i32>(wrap(e + 32))};
  const bool rounds = high.mantissa >= 0 && (static_cast<u64>(p) & 0x80000000u) != 0;
  return rounds ? reference_add(high, {1, high.exponent}) : high;
}

// to_glfixed by its definition: the mantissa shifted to 16 fractional bits,
// one more where that truncated result is positive and rounding half up
// gives more.
i64 reference_to_glfixed(TwoWordNumber x) {
  const i32 s = static_cast<i32>(wrap(i64{x.exponent} + 16));
  const i64 r = ref_shift_by(x.mantissa, s, false);
  return r > 0 && ref_shift_by(x.mantissa, s, true) > r ? r + 1 : r;
}

// x and y are 64-bit patterns; their low words are the 32-bit operands, and
// the mantissas of two numbers whose exponents come from the high words. The
// divisor -2^31 lies outside div_wide's contract.
bool check_pair(u64 x, u64 y) {
  const u32 a = static_cast<u32>(x), b = static_cast<u32>(y);
  const i32 sa = static_cast<i32>(a), sb = static_cast<i32>(b);
  const i64 sx = static_cast<i64>(x), sum = i64{sa} + sb;
  const WideInt wx{static_cast<i32>(x >> 32), a}, wy{static_cast<i32>(y >> 32), b};
  const TwoWordNumber nx{sa, wx.high % 48}, ny{sb, wy.high % 48};
  const u64 quotient = sb == 0 ? 0 : sb == -1 ? 0 - x : static_cast<u64>(sx / sb);
  return same("carry_bits", a, b, carry_bits(a, b), static_cast<u32>(((u64{a} + b) ^ a ^ b) >> 1)) &&
         same("overflow_bit", a, b, overflow_bit(carry_bits(a, b)),
              sum != static_cast<i32>(sum) ? 1u << 31 : 0) &&
         same("add_wide", x, y, bits(add_wide(wx, wy)), x + y) &&
         same("mul_wide", a, b, bits(mul_wide(sa, sb)), static_cast<u64>(i64{sa} * sb)) &&
         (sb == INT32_MIN || same("div_wide", x, b, bits(div_wide(wx, sb)), quotient)) &&
         same("num_add", bits(nx), bits(ny), bits(num_add(nx, ny)), bits(reference_add(nx, ny))) &&
         same("num_mul", bits(nx), bits(ny), bits(num_mul(nx, ny)), bits(reference_mul(nx, ny)));
}

// x's low word also as the mantissa of a number whose to_glfixed shifts it by
// n, with which the same mantissa at exponent -16 is added and multiplied.
bool check_shifts(u64 x, i32 n) {
  const i32 a = static_cast<i32>(x);
  const TwoWordNumber shifted{a, static_cast<i32>(wrap(i64{n} - 16))}, unshifted{a, -16};
  const WideInt wx{static_cast<i32>(x >> 32), static_cast<u32>(x)};
  i32 length = 0;
  while (length < 32 && (static_cast<u32>(x) >> length) != 0) ++length;
  return same("bit_length", x, 0, bit_length(static_cast<u32>(x)), length) &&
         same("bit_length_halving", x, 0, bit_length_halving(static_cast<u32>(x)), length) &&
         same("shift_by", x, n, shift_by(a, n), ref_shift_by(a, n, false)) &&
         same("shift_by_rounded", x, n, shift_by_rounded(a, n), ref_shift_by(a, n, true)) &&
         same("shift_wide", x, n, bits(shift_wide(wx, n)), ref_shift_wide(static_cast<i64>(x), n)) &&
         same("to_glfixed", bits(shifted), 0, static_cast<u32>(to_glfixed(shifted)),
              static_cast<u32>(reference_to_glfixed(shifted))) &&
         same("num_add", bits(shifted), bits(unshifted), bits(num_add(shifted, unshifted)),
              bits(reference_add(shifted, unshifted))) &&
         same("num_mul", bits(shifted), bits(unshifted), bits(num_mul(shifted, unshifted)),
              bits(reference_mul(shifted, unshifted)));
}

u64 next(u64& state) {  // splitmix64
  u64 z = (state += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

u64 test_seed() {
  const char* seed_text = std::getenv("FIXEDMATH_TEST_SEED");
  return seed_text != nullptr ? std::strtoull(seed_text, nullptr, 0) : 0x5EED0F1C5EDu;
}

TEST(Fixedmath, WordAndNumberOperationsMatchNative64) {
  std::vector<u64> edges;  // 0, +-2^k and their neighbours
  for (int k = 0; k < 64; ++k) {
    for (const u64 p : {u64{1} << k, (u64{1} << k) - 1, (u64{1} << k) + 1})
      edges.insert(edges.end(), {p, 0 - p});
  }
  std::vector<i32> counts{INT32_MIN, INT32_MAX, -1000, 1000};
  for (i32 n = -70; n <= 70; ++n) counts.push_back(n);
  for (const u64 x : edges) {
    for (const u64 y : edges) ASSERT_TRUE(check_pair(x, y));
    for (const i32 n : counts) ASSERT_TRUE(check_shifts(x, n));
  }
  u64 state = test_seed();
  SCOPED_TRACE(testing::Message() << "FIXEDMATH_TEST_SEED=" << state);
  for (int i = 0; i < 300000; ++i) {
    // Operands of every length and both signs; every fourth dividend is a
    // multiple of the divisor, give or take a few units.
    const u64 r = next(state), x = next(state) >> (r & 63), y = next(state) >> ((r >> 6) & 63);
    const u64 sx = (r & 0x1000) != 0 ? 0 - x : x, sy = (r & 0x2000) != 0 ? 0 - y : y;
    const u64 near_multiple =
        static_cast<u64>(i64{static_cast<i32>(x)} * static_cast<i32>(sy)) + (r >> 61) - 3;
    ASSERT_TRUE(check_pair((i & 3) != 0 ? sx : near_multiple, sy));
    ASSERT_TRUE(check_shifts(sx, static_cast<i32>((r >> 14) % 141) - 70));
  }
}

// num_div by its definition, in native 64-bit integers: the top-form
// dividend times 2^32 over the odd-form divisor, truncated toward zero, then
// shifted left while its low word is non-zero and bit 62 equals bit 63; the
// high word is kept.
TwoWordNumber reference_div(TwoWordNumber a, TwoWordNumber b) {
  i64 m = a.mantissa, d = b.mantissa, q = 0;
  u32 ea = m == 0 ? 0 : static_cast<u32>(a.exponent), eb = static_cast<u32>(b.exponent);
  for (; m != 0 && m >= -(i64{1} << 30) && m < (i64{1} << 30); --ea) m *= 2;
  for (; d != 0 && d % 2 == 0; ++eb) d /= 2;
  if (m == INT32_MIN) m /= 2, ++ea;
  if (d != 0) q = m * (i64{1} << 32) / d;
  for (; static_cast<u32>(q) != 0 && q >= -(i64{1} << 62) && q < (i64{1} << 62); --ea) q *= 2;
  return TwoWordNumber{static_cast<i32>(static_cast<u64>(q) >> 32), static_cast<i32>(ea - eb)};
}

// parse_decimal by its definition, every digit through the native references
// above.
TwoWordNumber reference_parse(const std::string& text) {
  const TwoWordNumber ten{10, 0};
  TwoWordNumber acc{0, 0}, scale{1, 0};
  bool fraction = false;
  for (std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0; i < text.size(); ++i) {
    const TwoWordNumber d{text[i] - '0', 0};
    if (text[i] == '.' && fraction) break;
    fraction = fraction || text[i] == '.';
    if (text[i] < '0' || text[i] > '9') continue;
    if (fraction) scale = reference_mul(scale, ten);
    acc = fraction ? reference_add(acc, reference_div(d, scale)) : reference_add(reference_mul(acc, ten), d);
  }
  return text[0] == '-' ? TwoWordNumber{-acc.mantissa, acc.exponent} : acc;  // acc is never negative
}

bool check_div(TwoWordNumber a, TwoWordNumber b) {
  return same("num_div", bits(a), bits(b), bits(num_div(a, b)), bits(reference_div(a, b))) &&
         same("fixed_div", static_cast<u32>(a.mantissa), static_cast<u32>(b.mantissa),
              static_cast<u32>(fixed_div(a.mantissa, b.mantissa)),
              static_cast<u32>(reference_to_glfixed(reference_div({a.mantissa, -16}, {b.mantissa, -16}))));
}

bool check_parse(const std::string& text) {
  const Words got = parse_decimal(text.c_str()), want = reference_parse(text);
  if (got.w[0] == want.w[0] && got.w[1] == want.w[1]) return true;
  ADD_FAILURE() << "parse_decimal(\"" << text << "\")" << std::hex << " gave 0x" << got.w[0] << " 0x"
                << got.w[1] << ", want 0x" << want.w[0] << " 0x" << want.w[1];
  return false;
}

TEST(Fixedmath, DivisionMatchesItsDefinition) {
  std::vector<i32> edges{0, INT32_MIN};  // odd parts 1, 3, around 2^15 and 2^16, large; every shift and sign
  for (const u32 odd :
       {1u, 3u, 0x7FFFu, 0x8001u, 0xFFFDu, 0xFFFFu, 0x10001u, 0x10003u, 0x55555555u, 0x7FFFFFFFu}) {
    for (u32 v = odd; v <= 0x7FFFFFFFu; v *= 2)
      edges.insert(edges.end(), {static_cast<i32>(v), -static_cast<i32>(v)});
  }
  for (const i32 a : edges) {
    for (const i32 b : edges) ASSERT_TRUE(check_div({a, -16}, {b, -16}));
  }
  u64 state = test_seed();
  SCOPED_TRACE(testing::Message() << "FIXEDMATH_TEST_SEED=" << state);
  for (int i = 0; i < 400000; ++i) {
    // Divisors of every length, odd or shifted; every fourth dividend a
    // multiple of the divisor.
    const u64 r = next(state);
    const u32 b = (static_cast<u32>(next(state) >> (32 + (r & 31))) << ((r >> 5) % 24)) ^ (0u - (r >> 63));
    const u32 a =
        ((i & 3) == 0 ? b * static_cast<u32>(r >> 40) : static_cast<u32>(next(state) >> (r >> 58))) ^
        (0u - ((r >> 62) & 1));
    const i32 e = static_cast<i32>((r >> 10) % 64) - 32;
    ASSERT_TRUE(check_div({static_cast<i32>(a), e - 16}, {static_cast<i32>(b), (r & 0x8000) != 0 ? -16 : e}));
  }
}

// Random texts of the shapes the parser's shortcuts tell apart: integer parts
// around 2^31 / 10 and 2^31 and past them, fractions of 1 to 30 digits with
// zeros inside, signs, stray bytes, second points.
TEST(Fixedmath, ParserMatchesItsDefinition) {
  u64 state = test_seed();
  SCOPED_TRACE(testing::Message() << "FIXEDMATH_TEST_SEED=" << state);
  for (int i = 0; i < 200000; ++i) {
    const u64 r = next(state), s = next(state);
    std::string text((r & 3) < 2 ? 1 : 0, "-+"[r & 1]);
    if ((r & 4) != 0) text += std::to_string(2147483600u + s % 100).substr(0, 9 + (s >> 8) % 2);
    for (u64 n = (r >> 3) % ((r & 4) != 0 ? 3 : 13); n > 0; --n)
      text += static_cast<char>('0' + next(state) % 10);
    if ((r & 0x80) != 0) text += '.';
    for (u64 n = (r & 0x80) != 0 ? 1 + (r >> 8) % 30 : 0; n > 0; --n) {
      const u64 d = next(state);
      text += static_cast<char>((d & 3) == 0 ? '0' : '0' + (d >> 2) % 10);
    }
    if ((r & 0x6000) == 0) text += ".5";
    if ((r & 0x18000) == 0)
      text.insert((s >> 16) % (text.size() + 1), 1, static_cast<char>(1 + (s >> 24) % 255));
    ASSERT_TRUE(check_parse(text));
  }
}

}  // namespace
}  // namespace fixedmath
