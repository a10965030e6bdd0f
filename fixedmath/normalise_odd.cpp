#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// x.mantissa != 0: all trailing zero bits move into the exponent at once,
// as many as one-bit arithmetic shifts would take.
TwoWordNumber normalise_odd(TwoWordNumber x) {
  const std::int32_t k = trailing_zeros(static_cast<std::uint32_t>(x.mantissa));
  return TwoWordNumber{shift_by(x.mantissa, -k), wrap_add(x.exponent, k)};
}
