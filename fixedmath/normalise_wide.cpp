#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any q: the number of one-bit left shifts a loop would make while the low
// word is non-zero and bit 62 equals bit 63 is the smaller of the shifts that
// bring the top significant bit to bit 62 and those that clear the low word.
WideInt normalise_wide(WideInt q, std::int32_t* exponent) {
  if (q.low == 0) {
    return q;
  }
  const std::uint32_t sign_word = q.high < 0 ? 0xFFFFFFFFu : 0u;
  const std::uint32_t high_bits = static_cast<std::uint32_t>(q.high) ^ sign_word;
  std::int32_t significant;
  if (high_bits != 0) {
    significant = 32 + bit_length(high_bits);
  } else {
    significant = bit_length(q.low ^ sign_word);
  }
  const std::int32_t to_top = 63 - significant;
  const std::int32_t to_clear_low = 32 - trailing_zeros(q.low);
  const std::int32_t k = to_top < to_clear_low ? to_top : to_clear_low;
  *exponent = wrap_sub(*exponent, k);
  return shift_wide(q, k);
}
