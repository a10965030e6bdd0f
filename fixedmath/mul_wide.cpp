#include "fixedmath/wide_int.h"

// A signed word as a WideInt (its sign copied into the high word).
static WideInt widen(std::int32_t v) {
  return WideInt{v < 0 ? -1 : 0, static_cast<std::uint32_t>(v)};
}

// Any a, b: with a = ah * 2^16 + al (ah signed, al unsigned 16 bits) and b
// likewise, a * b = (al * bh + ah * bl) * 2^16 + ah * bh * 2^32 + al * bl.
// Every product is 16 x 16 bits and fits a 32-bit word of its signedness.
WideInt mul_wide(std::int32_t a, std::int32_t b) {
  const std::int32_t ah = shift_by(a, -16);
  const std::int32_t al = static_cast<std::int32_t>(static_cast<std::uint32_t>(a) & 0xFFFFu);
  const std::int32_t bh = shift_by(b, -16);
  const std::int32_t bl = static_cast<std::int32_t>(static_cast<std::uint32_t>(b) & 0xFFFFu);

  // 0..65535 times -32768..32767: within the signed 32-bit range.
  WideInt cross = add_wide(widen(al * bh), widen(ah * bl));
  cross = shift_wide(cross, 16);

  WideInt product = add_wide(cross, WideInt{ah * bh, 0u});
  const std::uint32_t low_product = static_cast<std::uint32_t>(al) * static_cast<std::uint32_t>(bl);
  return add_wide(product, WideInt{0, low_product});
}
