#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any a, b: the exact 64-bit product is normalised and its high word kept;
// a non-negative product gains one unit in the last place when bit 31 of the
// dropped low word is set, a negative one is left floored.
TwoWordNumber num_mul(TwoWordNumber a, TwoWordNumber b) {
  std::int32_t exponent = wrap_add(a.exponent, b.exponent);
  const WideInt q = normalise_wide(mul_wide(a.mantissa, b.mantissa), &exponent);
  TwoWordNumber result{q.high, wrap_add(exponent, 32)};
  if (q.high >= 0 && (q.low & 0x80000000u) != 0) {
    result = num_add(result, TwoWordNumber{1, result.exponent});
  }
  if (result.mantissa == 0) {
    result.exponent = 0;
  }
  return result;
}
