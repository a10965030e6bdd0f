#include "fixedmath/wide_int.h"

// c from carry_bits: bit 31 is the carry out of bit 31, bit 30 the carry into it.
std::uint32_t overflow_bit(std::uint32_t c) {
  return (c ^ (c << 1)) & 0x80000000u;
}
