#include <cstdint>

#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any a, b: the top-form dividend times 2^32 divided by the odd-form divisor,
// truncated toward zero, normalised, and its high word kept without rounding.
TwoWordNumber num_div(TwoWordNumber a, TwoWordNumber b) {
  a = normalise_top(a);
  if (b.mantissa != 0) {
    b = normalise_odd(b);
  }
  if (a.mantissa == INT32_MIN) {
    // -2^31 as -2^30 with one more in the exponent.
    a.mantissa = -0x40000000;
    a.exponent = wrap_add(a.exponent, 1);
  }
  std::int32_t exponent = wrap_sub(a.exponent, b.exponent);
  // b is odd or zero, never -2^31.
  const WideInt q = normalise_wide(div_wide(WideInt{a.mantissa, 0u}, b.mantissa), &exponent);
  return TwoWordNumber{q.high, exponent};
}
