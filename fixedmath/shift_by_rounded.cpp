#include "fixedmath/wide_int.h"

// Any a, n: only a positive a shifted right by 1 to 31 bits is rounded (half up).
std::int32_t shift_by_rounded(std::int32_t a, std::int32_t n) {
  std::int32_t r = shift_by(a, n);
  if (a > 0 && n <= -1 && n >= -31) {
    const std::uint32_t highest_out =
        (static_cast<std::uint32_t>(a) >> static_cast<std::uint32_t>(-n - 1)) & 1u;
    r += static_cast<std::int32_t>(highest_out);  // r <= a / 2: cannot overflow
  }
  return r;
}
