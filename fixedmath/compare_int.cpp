#include "fixedmath/wide_int.h"

// Any signed a, b.
std::int32_t compare_int(std::int32_t a, std::int32_t b) {
  if (a < b) {
    return -1;
  }
  if (a > b) {
    return 1;
  }
  return 0;
}
