#include "fixedmath/wide_int.h"

// Any a, b: the carry out of bit i is set where both inputs are set, or where
// exactly one is and the sum bit came out 0 (a carry came in). All 32 carries
// at once, the same bits as the bit-serial ripple.
std::uint32_t carry_bits(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t sum = a + b;
  return (a & b) | ((a | b) & ~sum);
}
