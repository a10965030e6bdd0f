#include "fixedmath/two_word.h"

// NUL-terminated text: an optional sign in the first byte, then digits with at
// most one point; any other byte is skipped and a second point ends the
// number. Each fractional digit adds its own truncated quotient d / 10^k.
TwoWordNumber parse_decimal(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned char first = p[0];
  if (first == '+' || first == '-') {
    ++p;
  }
  TwoWordNumber acc{0, 0};
  if (*p == 0) {
    return acc;
  }
  const TwoWordNumber ten = num_from_int(10);
  TwoWordNumber scale = num_from_int(1);
  bool fraction = false;
  for (; *p != 0; ++p) {
    const unsigned char c = *p;
    // In the C locale the decimal digits are exactly '0' to '9'.
    if (c >= '0' && c <= '9') {
      const TwoWordNumber digit = num_from_int(static_cast<std::int32_t>(c - '0'));
      if (!fraction) {
        acc = num_add(num_mul(acc, ten), digit);
      } else {
        scale = num_mul(scale, ten);
        acc = num_add(acc, num_div(digit, scale));
      }
    } else if (c == '.') {
      if (fraction) {
        break;
      }
      fraction = true;
      scale = num_from_int(1);
    }
  }
  if (first == '-') {
    return num_negate(acc);
  }
  return acc;
}
