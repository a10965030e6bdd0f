#include "fixedmath/two_word.h"
#include "fixedmath/word.h"

// Any x: shifted to 16 fractional bits; a positive truncated result gets one
// more when the highest discarded bit is set. Out-of-range values wrap or give 0.
GLfixed to_glfixed(TwoWordNumber x) {
  const std::int32_t s = wrap_add(x.exponent, 16);
  std::int32_t r = shift_by(x.mantissa, s);
  if (s < 0 && r > 0) {
    // r > 0 after a right shift implies -31 <= s <= -1 (0 otherwise).
    const std::uint32_t highest_out =
        (static_cast<std::uint32_t>(x.mantissa) >> static_cast<std::uint32_t>(-s - 1)) & 1u;
    r += static_cast<std::int32_t>(highest_out);
  }
  return r;
}
