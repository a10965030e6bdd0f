#include <cstdint>

#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any x: -(-2^31) does not fit a word, so 2^31 becomes 2^30 with one more in the exponent.
TwoWordNumber num_negate(TwoWordNumber x) {
  if (x.mantissa == 0) {
    return x;
  }
  if (x.mantissa == INT32_MIN) {
    return TwoWordNumber{0x40000000, wrap_add(x.exponent, 1)};
  }
  return TwoWordNumber{-x.mantissa, x.exponent};
}
