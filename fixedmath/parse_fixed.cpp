#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"

// NUL-terminated text.
GLfixed parse_fixed(const char* text) {
  return to_glfixed(parse_decimal(text));
}
