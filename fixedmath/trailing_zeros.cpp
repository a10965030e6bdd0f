#include "fixedmath/word.h"

// w != 0: halving tests on 16, 8, 4, 2 and 1 bits from the bottom.
std::int32_t trailing_zeros(std::uint32_t w) {
  std::int32_t n = 0;
  if ((w & 0xFFFFu) == 0) {
    w >>= 16;
    n += 16;
  }
  if ((w & 0xFFu) == 0) {
    w >>= 8;
    n += 8;
  }
  if ((w & 0xFu) == 0) {
    w >>= 4;
    n += 4;
  }
  if ((w & 0x3u) == 0) {
    w >>= 2;
    n += 2;
  }
  if ((w & 0x1u) == 0) {
    n += 1;
  }
  return n;
}
