#include "fixedmath/two_word.h"

// Any v.
TwoWordNumber num_from_int(std::int32_t v) {
  return TwoWordNumber{v, 0};
}
