#include "fixedmath/wide_int.h"
#include "fixedmath/word.h"

// Any x, n: shifts of 32 or more move a whole word first, then shift the rest.
WideInt shift_wide(WideInt x, std::int32_t n) {
  if (n == 0) {
    return x;
  }
  if (n >= 64 || n <= -64) {
    return WideInt{0, 0};  // also for negative x
  }
  if (n >= 32) {
    return shift_wide(WideInt{word_to_signed(x.low), 0u}, n - 32);
  }
  if (n <= -32) {
    const std::int32_t sign_word = x.high < 0 ? -1 : 0;
    return shift_wide(WideInt{sign_word, static_cast<std::uint32_t>(x.high)}, n + 32);
  }
  const std::uint32_t high = static_cast<std::uint32_t>(x.high);
  WideInt r;
  if (n > 0) {
    const std::uint32_t k = static_cast<std::uint32_t>(n);
    r.high = word_to_signed((high << k) | (x.low >> (32u - k)));
    r.low = x.low << k;
  } else {
    const std::uint32_t k = static_cast<std::uint32_t>(-n);
    // k is 1 to 31 here (n from -31 to -1), so 32 - k is too.
    // cppcheck-suppress shiftTooManyBits
    r.low = (x.low >> k) | (high << (32u - k));
    r.high = shift_by(x.high, n);
  }
  return r;
}
