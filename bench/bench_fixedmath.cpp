// SPDX-License-Identifier: MIT
// Cost of the integer-only conversions on the program's own operands: the
// seven decimal constants through parse_fixed and the six projection and
// texture quotients through fixed_div, each next to a plain native 64-bit
// computation of the same value, so that the price of the two-word number
// shows as a ratio.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "fixedmath/fixedmath.h"

namespace {

const char* const kConstants[] = {"0.1", "0.2", "0.25", "0.28", "0.38", "0.5", "0.75"};

struct Quotient {
  GLfixed a;
  GLfixed b;
  const char* label;
};
const Quotient kQuotients[] = {
    {0x20000, 0x300000, "2/48"},     {0xC8000, 0x300000, "12.5/48"},  {0x240000, 0x300000, "36/48"},
    {0x248000, 0x300000, "36.5/48"}, {0xC4000, 0x300000, "12.25/48"}, {0xCC000, 0x300000, "12.75/48"},
};

// Decimal text to 16.16 with native 64-bit integers: digits as one integer
// over a power of ten, divided once and rounded to nearest.
GLfixed reference_parse(const char* text) {
  bool negative = false;
  if (*text == '-' || *text == '+') {
    negative = *text == '-';
    ++text;
  }
  std::int64_t digits = 0;
  std::int64_t scale = 1;
  bool fraction = false;
  for (; *text != 0; ++text) {
    if (*text >= '0' && *text <= '9') {
      digits = digits * 10 + (*text - '0');
      if (fraction) {
        scale *= 10;
      }
    } else if (*text == '.') {
      fraction = true;
    }
  }
  const std::int64_t value = ((digits << 16) + scale / 2) / scale;
  return static_cast<GLfixed>(negative ? -value : value);
}

// a / b in 16.16 with a native 64-bit division, rounded to nearest.
GLfixed reference_div(GLfixed a, GLfixed b) {
  if (b == 0) {
    return 0;
  }
  const std::int64_t twice = (static_cast<std::int64_t>(a) * 131072) / b;
  return static_cast<GLfixed>((twice + 1) >> 1);
}

// One decimal constant through Parse, the library's or the reference.
template <GLfixed (*Parse)(const char*)>
void BM_parse(benchmark::State& state) {
  const char* text = kConstants[state.range(0)];
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(Parse(text));
  }
  state.SetLabel(text);
}

// One quotient through Divide, the library's or the reference.
template <GLfixed (*Divide)(GLfixed, GLfixed)>
void BM_divide(benchmark::State& state) {
  const Quotient q = kQuotients[state.range(0)];
  GLfixed a = q.a;
  GLfixed b = q.b;
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(Divide(a, b));
  }
  state.SetLabel(q.label);
}

BENCHMARK_TEMPLATE(BM_parse, parse_fixed)->DenseRange(0, 6);
BENCHMARK_TEMPLATE(BM_parse, reference_parse)->DenseRange(0, 6);
BENCHMARK_TEMPLATE(BM_divide, fixed_div)->DenseRange(0, 5);
BENCHMARK_TEMPLATE(BM_divide, reference_div)->DenseRange(0, 5);

}  // namespace

BENCHMARK_MAIN();
