#include "fixedmath/word.h"

// Any w: halving tests on 16, 8, 4 and 2 bits, then the last two bits.
std::int32_t bit_length(std::uint32_t w) {
  std::int32_t n = 0;
  if (w >= 0x10000u) {
    w >>= 16;
    n += 16;
  }
  if (w >= 0x100u) {
    w >>= 8;
    n += 8;
  }
  if (w >= 0x10u) {
    w >>= 4;
    n += 4;
  }
  if (w >= 0x4u) {
    w >>= 2;
    n += 2;
  }
  // w is now 0 to 3, whose bit lengths are 0, 1, 2, 2.
  if (w >= 2u) {
    return n + 2;
  }
  return n + static_cast<std::int32_t>(w);
}
