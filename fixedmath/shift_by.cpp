#include "fixedmath/wide_int.h"
#include "fixedmath/word.h"

// Any a, n: the shifts are done on the unsigned word so that no count or sign
// reaches undefined or implementation-defined behaviour.
std::int32_t shift_by(std::int32_t a, std::int32_t n) {
  if (n == 0) {
    return a;
  }
  if (n >= 32 || n <= -32) {
    return 0;  // also for negative a
  }
  const std::uint32_t u = static_cast<std::uint32_t>(a);
  if (n > 0) {
    return word_to_signed(u << n);
  }
  const std::uint32_t k = static_cast<std::uint32_t>(-n);
  if (a >= 0) {
    return word_to_signed(u >> k);
  }
  // Floor for negative a: the complement shifted logically is the complement
  // of the arithmetic shift.
  return word_to_signed(~(~u >> k));
}
