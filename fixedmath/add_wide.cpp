#include "fixedmath/wide_int.h"
#include "fixedmath/word.h"

// Any x, y: the carry out of the low words goes into the high words.
WideInt add_wide(WideInt x, WideInt y) {
  const std::uint32_t low = x.low + y.low;
  const std::uint32_t carry = carry_bits(x.low, y.low) >> 31;
  const std::uint32_t high = static_cast<std::uint32_t>(x.high) + static_cast<std::uint32_t>(y.high) + carry;
  return WideInt{word_to_signed(high), low};
}
