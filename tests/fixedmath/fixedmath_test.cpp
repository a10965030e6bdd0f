// The number library against its documented values (one table), and its
// integer operations against native 64-bit arithmetic: boundary bit patterns
// in all pairs, then seeded random operands. Mismatches are printed in hex.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"

namespace fixedmath {
namespace {

typedef std::uint32_t u32;
typedef std::int32_t i32;
typedef std::uint64_t u64;
typedef std::int64_t i64;

// clang-format off
#define FIXEDMATH_OPS(X)                                                                                     \
  X(PF, parse_fixed) X(PD, parse_decimal) X(FD, fixed_div) X(TG, to_glfixed) X(ADD, num_add) X(MUL, num_mul) \
  X(DIV, num_div) X(NEG, num_negate) X(ODD, normalise_odd) X(TOP, normalise_top) X(SH, shift_by)             \
  X(SHR, shift_by_rounded) X(OVF, overflow_bit) X(CMPW, compare_wide) X(SHW, shift_wide) X(MULW, mul_wide)   \
  X(DIVW, div_wide)
// clang-format on
#define X(code, name) code,
enum Op { FIXEDMATH_OPS(X) };
#undef X
#define X(code, name) #name,
const char* const kOpNames[] = {FIXEDMATH_OPS(X)};
#undef X

// Operands as words: numbers as (mantissa, exponent), WideInt as (high, low),
// a second operand in in[2], in[3]; shift counts and divisors in in[1] or in[2].
struct Row {
  Op op;
  i64 in[4];
  i64 out[2];
  const char* text = nullptr;  // parse_fixed, parse_decimal
};

// clang-format off
const Row kRows[] = {
    {PF, {}, {0x199A}, "0.1"}, {PF, {}, {0x3333}, "0.2"}, {PF, {}, {0x4000}, "0.25"},
    {PF, {}, {0x47AE}, "0.28"}, {PF, {}, {0x6148}, "0.38"}, {PF, {}, {0x8000}, "0.5"},
    {PF, {}, {0xC000}, "0.75"}, {PF, {}, {0}, ""}, {PF, {}, {0}, "+"}, {PF, {}, {0}, "-"},
    {PF, {}, {0}, "..5"}, {PF, {}, {0xFFFFCCCC}, "-0.2"}, {PF, {}, {0xFFFFE666}, "-0.1"},
    {PF, {}, {0xFFFF4000}, "-0.75"}, {PF, {}, {0xFFFF8000}, "-0.5"}, {PF, {}, {0xFFFF8000}, "-.5"},
    {PF, {}, {0xFFFF0000}, "-1"}, {PF, {}, {0x13333}, "1.2.3"}, {PF, {}, {0x7B0000}, "12x3"},
    {PF, {}, {0xD0000}, "1e3"}, {PF, {}, {0x50000}, " 5"}, {PF, {}, {0x3243F}, "3.14159"},
    {PF, {}, {0x4CCD}, "0.3"}, {PF, {}, {0xB333}, "0.7"}, {PF, {}, {0xE666}, "0.9"},
    {PF, {}, {0x640000}, "100"}, {PF, {}, {0x7FFF8000}, "32767.5"}, {PF, {}, {0x80000000}, "32768"},
    {PF, {}, {0}, "65536"}, {PF, {}, {0}, "0.00001"}, {PF, {}, {0x70000}, "\xB2-7"},
    {PD, {}, {0x33333333, -33}, "0.1"}, {PD, {}, {0x33333333, -32}, "0.2"}, {PD, {}, {1, -2}, "0.25"},
    {PD, {}, {0x23D70A3D, -31}, "0.28"}, {PD, {}, {0x1851EB85, -30}, "0.38"}, {PD, {}, {1, -1}, "0.5"},
    {PD, {}, {0x5FFFFFFF, -31}, "0.75"}, {PD, {}, {25, 2}, "100"}, {PD, {}, {0, 0}, "-"},
    {PD, {}, {0x7FFFFFFF, 0}, "2147483647"}, {PD, {}, {1, 31}, "2147483648"},
    {PD, {}, {0x4FFFFFFF, 4}, "21474836475"}, {PD, {}, {0x4ED02057, -74}, "0.00000000000007"},
    {FD, {0x20000, 0x300000}, {0xAAB}}, {FD, {0, 0x300000}, {0}}, {FD, {0xC4000, 0x300000}, {0x4155}},
    {FD, {0xC8000, 0x300000}, {0x42AB}}, {FD, {0xCC000, 0x300000}, {0x4400}},
    {FD, {0x240000, 0x300000}, {0xC000}}, {FD, {0x248000, 0x300000}, {0xC2AB}},
    {FD, {0x10000, 0x30000}, {0x5555}}, {FD, {-0x20000, 0x300000}, {0xFFFFF555}},
    {FD, {0x20000, -0x300000}, {0xFFFFF555}}, {FD, {0x10000, 0}, {0}}, {FD, {-0x20000, 0}, {0}},
    {FD, {0x7FFFFFFF, 0x10000}, {0x7FFFFFFF}}, {FD, {0x80000000, 0x10000}, {0x80000000}},
    {FD, {0x10000, 0x7FFFFFFF}, {2}}, {FD, {-0x240000, 0x300000}, {0xFFFF4000}},
    {TG, {3, -17}, {2}}, {TG, {-3, -17}, {0xFFFFFFFE}}, {TG, {7, 0x7FFFFFF0}, {0}},
    {ADD, {0x40000000, 0, 0x40000000, 0}, {1, 31}}, {ADD, {0x80000000, 0, 0x80000000, 0}, {-1, 32}},
    {ADD, {1, 0, -1, 0}, {0, 0}}, {ADD, {0, 5, 0, 7}, {0, 0}}, {ADD, {0, 5, 12, 3}, {3, 5}},
    {ADD, {0x33333333, -32, 0x66666666, -35}, {1, -2}}, {ADD, {1, 0, 1, -40}, {1, 0}},
    {ADD, {3, 0, 1, -32}, {3, 0}}, {ADD, {3, 0, -1, -32}, {3, 0}}, {ADD, {1, 0, -3, -32}, {0x3FFFFFFF, -30}},
    {ADD, {1, 0, 1, -31}, {0x40000001, -30}},
    {MUL, {10, 0, 10, 0}, {25, 2}}, {MUL, {-3, 0, 5, 1}, {-15, 1}}, {MUL, {0, 4, 5, 1}, {0, 0}},
    {MUL, {0x80000000, 0, 0x80000000, 0}, {0x40000000, 32}}, {MUL, {0x7FFFFFFF, 0, 3, 0}, {0x5FFFFFFF, 2}},
    {MUL, {-0x7FFFFFFF, 0, 3, 0}, {0xA0000000, 2}}, {MUL, {0x7FFFFFFF, 0, 0x7FFFFFFF, 0}, {0x7FFFFFFE, 31}},
    {MUL, {0x55555555, 0, 3, 0}, {1, 32}}, {MUL, {0x7FFFFFFF, 0, 5, 0}, {0x4FFFFFFF, 3}},
    {DIV, {1, 0, 3, 0}, {0x55555555, -32}}, {DIV, {-1, 0, 3, 0}, {0xAAAAAAAA, -32}},
    {DIV, {1, 0, -3, 0}, {0xAAAAAAAA, -32}}, {DIV, {2, 0, 5, 1}, {0x66666666, -33}},
    {DIV, {5, 0, 25, 2}, {0x66666666, -35}}, {DIV, {6, 0, 4, 0}, {0x60000000, -30}},
    {DIV, {0x80000000, 0, 1, 0}, {0xC0000000, 1}}, {DIV, {7, 3, 0, 9}, {0, -34}},
    {DIV, {-1, 0, 0x10001, 0}, {0x80007FFF, -47}}, {DIV, {-6, 0, 6, 0}, {0xE0000000, -29}},
    {NEG, {0, 5}, {0, 5}},
    {NEG, {0x80000000, 3}, {0x40000000, 4}}, {NEG, {0x7FFFFFFF, -1}, {0x80000001, -1}},
    {ODD, {0x80000000, 0}, {-1, 31}}, {ODD, {12, 0}, {3, 2}},
    {ODD, {0x40000000, 0x7FFFFFF0}, {1, -0x7FFFFFF2}}, {TOP, {3, 0}, {0x60000000, -29}},
    {TOP, {0xC0000000, 2}, {0x80000000, 1}}, {TOP, {0, 9}, {0, 0}},
    {SH, {-5, -1}, {-3}}, {SH, {-1, -31}, {-1}}, {SH, {-1, -32}, {0}}, {SH, {1, 31}, {0x80000000}},
    {SH, {1, 32}, {0}}, {SHR, {6, -2}, {2}}, {SHR, {5, -2}, {1}}, {SHR, {-6, -2}, {-2}},
    {SHR, {0x7FFFFFFF, -32}, {0}}, {OVF, {0x40000000, 0x40000000}, {0x80000000}}, {OVF, {0xFFFFFFFF, 1}, {0}},
    {OVF, {0x80000000, 0x80000000}, {0x80000000}}, {CMPW, {0, 0xFFFFFFFF, 1, 0}, {-1}},
    {CMPW, {-1, 0, 0, 5}, {-1}}, {SHW, {0x80000000, 0, -63}, {-1, 0xFFFFFFFF}},
    {SHW, {0x80000000, 0, -64}, {0, 0}}, {SHW, {0, 1, 63}, {0x80000000, 0}},
    {MULW, {0x7FFFFFFF, 0x7FFFFFFF}, {0x3FFFFFFF, 1}}, {MULW, {0x80000000, 0x80000000}, {0x40000000, 0}},
    {MULW, {-0x7FFFFFFF, 0x7FFFFFFF}, {0xC0000000, 0xFFFFFFFF}}, {MULW, {10, 0x7FFFFFFF}, {4, 0xFFFFFFF6}},
    {DIVW, {0x40000000, 0, 5}, {0x0CCCCCCC, 0xCCCCCCCC}},
    {DIVW, {0xC0000000, 0, 3}, {0xEAAAAAAA, 0xAAAAAAAB}}, {DIVW, {0x40000000, 0, 0}, {0, 0}},
    {DIVW, {-1, 0xFFFFFFFC, 5}, {0, 0}}};
// clang-format on

// The words of a result: a number's (mantissa, exponent), a WideInt's
// (high, low), or one 32-bit word.
struct Words {
  Words(TwoWordNumber x) : w{static_cast<u32>(x.mantissa), static_cast<u32>(x.exponent)} {}
  Words(WideInt x) : w{static_cast<u32>(x.high), x.low} {}
  Words(i32 v) : w{static_cast<u32>(v), 0} {}
  u32 w[2];
};

Words run(const Row& r) {
  const i32 a = static_cast<i32>(r.in[0]), b = static_cast<i32>(r.in[1]), c = static_cast<i32>(r.in[2]);
  const TwoWordNumber x{a, b}, y{c, static_cast<i32>(r.in[3])};
  const WideInt wx{a, static_cast<u32>(b)}, wy{c, static_cast<u32>(r.in[3])};
  switch (r.op) {
    case PF: return parse_fixed(r.text);
    case PD: return parse_decimal(r.text);
    case FD: return fixed_div(a, b);
    case TG: return to_glfixed(x);
    case ADD: return num_add(x, y);
    case MUL: return num_mul(x, y);
    case DIV: return num_div(x, y);
    case NEG: return num_negate(x);
    case ODD: return normalise_odd(x);
    case TOP: return normalise_top(x);
    case SH: return shift_by(a, b);
    case SHR: return shift_by_rounded(a, b);
    case OVF: return static_cast<i32>(overflow_bit(carry_bits(wx.high, wx.low)));
    case CMPW: return compare_wide(wx, wy);
    case SHW: return shift_wide(wx, c);
    case MULW: return mul_wide(a, b);
    case DIVW: return div_wide(wx, c);
  }
  return 0;
}

TEST(Fixedmath, DocumentedValues) {
  for (const Row& r : kRows) {
    const Words got = run(r);
    const u32 want[2] = {static_cast<u32>(r.out[0]), static_cast<u32>(r.out[1])};
    EXPECT_TRUE(got.w[0] == want[0] && got.w[1] == want[1])
        << kOpNames[r.op] << "(" << (r.text != nullptr ? r.text : "") << std::hex << " 0x" << r.in[0]
        << ", 0x" << r.in[1] << ", 0x" << r.in[2] << ", 0x" << r.in[3] << ") gave 0x" << got.w[0] << " 0x"
        << got.w[1] << ", want 0x" << want[0] << " 0x" << want[1];
  }
}

// Every divisor the reciprocal serves; its first guesses are a table.
TEST(Fixedmath, ReciprocalOfEverySixteenBitDivisor) {
  for (u32 b = 0x8000; b <= 0xFFFF; ++b) {
    ASSERT_EQ(reciprocal_16(b), 0x7FFFFFFFu / b) << std::hex << "b = 0x" << b;
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

bool same(const char* op, u64 x, u64 y, u64 got, u64 want) {
  if (got == want) return true;
  ADD_FAILURE() << op << std::hex << "(0x" << x << ", 0x" << y << ") gave 0x" << got << ", want 0x" << want;
  return false;
}

// x and y are 64-bit patterns; their low words are the 32-bit operands. The
// divisor -2^31 lies outside div_wide's contract.
bool check_pair(u64 x, u64 y) {
  const u32 a = static_cast<u32>(x), b = static_cast<u32>(y);
  const i32 sa = static_cast<i32>(a), sb = static_cast<i32>(b);
  const i64 sx = static_cast<i64>(x), sy = static_cast<i64>(y), sum = i64{sa} + sb;
  const WideInt wx{static_cast<i32>(x >> 32), a}, wy{static_cast<i32>(y >> 32), b};
  const u64 quotient = sb == 0 ? 0 : sb == -1 ? 0 - x : static_cast<u64>(sx / sb);
  return same("carry_bits", a, b, carry_bits(a, b), static_cast<u32>(((u64{a} + b) ^ a ^ b) >> 1)) &&
         same("overflow_bit", a, b, overflow_bit(carry_bits(a, b)),
              sum != static_cast<i32>(sum) ? 1u << 31 : 0) &&
         same("compare_int", a, b, compare_int(sa, sb), (sa > sb) - (sa < sb)) &&
         same("compare_wide", x, y, compare_wide(wx, wy), (sx > sy) - (sx < sy)) &&
         same("add_wide", x, y, bits(add_wide(wx, wy)), x + y) &&
         same("mul_wide", a, b, bits(mul_wide(sa, sb)), static_cast<u64>(i64{sa} * sb)) &&
         (sb == INT32_MIN || same("div_wide", x, b, bits(div_wide(wx, sb)), quotient));
}

bool check_shifts(u64 x, i32 n) {
  const i32 a = static_cast<i32>(x);
  const WideInt wx{static_cast<i32>(x >> 32), static_cast<u32>(x)};
  return same("shift_by", x, n, shift_by(a, n), ref_shift_by(a, n, false)) &&
         same("shift_by_rounded", x, n, shift_by_rounded(a, n), ref_shift_by(a, n, true)) &&
         same("shift_wide", x, n, bits(shift_wide(wx, n)), ref_shift_wide(static_cast<i64>(x), n));
}

u64 next(u64& state) {  // splitmix64
  u64 z = (state += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

TEST(Fixedmath, IntegerOperationsMatchNative64) {
  std::vector<u64> edges;  // 0, +-2^k and their neighbours
  for (int k = 0; k < 64; ++k) {
    for (const u64 p : {u64{1} << k, (u64{1} << k) - 1, (u64{1} << k) + 1}) {
      edges.insert(edges.end(), {p, 0 - p});
    }
  }
  std::vector<i32> counts{INT32_MIN, INT32_MAX, -1000, 1000};
  for (i32 n = -70; n <= 70; ++n) counts.push_back(n);
  for (const u64 x : edges) {
    for (const u64 y : edges) ASSERT_TRUE(check_pair(x, y));
    for (const i32 n : counts) ASSERT_TRUE(check_shifts(x, n));
  }
  const char* seed_text = std::getenv("FIXEDMATH_TEST_SEED");
  u64 state = seed_text != nullptr ? std::strtoull(seed_text, nullptr, 0) : 0x5EED0F1C5EDu;
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

}  // namespace
}  // namespace fixedmath
