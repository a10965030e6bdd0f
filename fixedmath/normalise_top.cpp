#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any x: shifts left by the number of copies of the sign bit below bit 31, so
// that bit 30 differs from bit 31; -1 takes 31 shifts.
TwoWordNumber normalise_top(TwoWordNumber x) {
  if (x.mantissa == 0) {
    return TwoWordNumber{0, 0};
  }
  const std::uint32_t u = static_cast<std::uint32_t>(x.mantissa);
  const std::uint32_t below_sign_run = x.mantissa < 0 ? ~u : u;
  const std::int32_t k = 31 - bit_length(below_sign_run);
  return TwoWordNumber{word_to_signed(u << static_cast<std::uint32_t>(k)), wrap_sub(x.exponent, k)};
}
