#include "fixedmath/wide_int.h"

// Any x, y: high words signed, then low words unsigned.
std::int32_t compare_wide(WideInt x, WideInt y) {
  if (x.high != y.high) {
    return compare_int(x.high, y.high);
  }
  if (x.low < y.low) {
    return -1;
  }
  if (x.low > y.low) {
    return 1;
  }
  return 0;
}
