// libFuzzer target for the decimal parser: any bytes, read as a C string,
// must parse without a fault to exactly what the reference model computes,
// and the byte rules must hold (stray bytes skipped, a second point ends the
// number, a leading '-' negates what '+' would give).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"
#include "two_word_model.h"

namespace {

void fail(const char* what, const std::string& text, TwoWordNumber got, TwoWordNumber want) {
  std::fprintf(stderr, "%s mismatch for \"%s\": got (0x%08X, %d), want (0x%08X, %d)\n", what, text.c_str(),
               static_cast<unsigned>(got.mantissa), got.exponent, static_cast<unsigned>(want.mantissa),
               want.exponent);
  std::abort();
}

void expect_same(const char* what, const std::string& text, TwoWordNumber got, TwoWordNumber want) {
  if (got.mantissa != want.mantissa || got.exponent != want.exponent) {
    fail(what, text, got, want);
  }
}

bool is_digit_or_point(char c) {
  return (c >= '0' && c <= '9') || c == '.';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The parser reads up to the first NUL, like every C string.
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();

  const TwoWordNumber parsed = parse_decimal(text.c_str());
  expect_same("model", text, parsed, model::parse(text.c_str()));

  const GLfixed fixed = parse_fixed(text.c_str());
  if (fixed != to_glfixed(parsed) || fixed != model::glfixed(parsed)) {
    fail("parse_fixed", text, TwoWordNumber{fixed, -16}, TwoWordNumber{model::glfixed(parsed), -16});
  }

  if (text.empty()) {
    return 0;
  }
  // Stray bytes after the first one have no effect.
  std::string kept(1, text[0]);
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (is_digit_or_point(text[i])) {
      kept.push_back(text[i]);
    }
  }
  expect_same("stray bytes", text, parse_decimal(kept.c_str()), parsed);

  // Everything from a second point on is ignored.
  const std::size_t start = (text[0] == '+' || text[0] == '-') ? 1 : 0;
  const std::size_t first_point = text.find('.', start);
  if (first_point != std::string::npos) {
    const std::size_t second_point = text.find('.', first_point + 1);
    if (second_point != std::string::npos) {
      expect_same("second point", text, parse_decimal(text.substr(0, second_point).c_str()), parsed);
    }
  }

  // A leading '-' negates the value read with '+'.
  if (text[0] == '-') {
    const std::string plus = "+" + text.substr(1);
    expect_same("sign", text, num_negate(parse_decimal(plus.c_str())), parsed);
  }
  return 0;
}
