#include "fixedmath/fixedmath.h"
#include "fixedmath/two_word.h"

// Any a, b: both read as (g, -16); the quotient keeps 31 significant bits and
// to_glfixed does the only rounding. b = 0 gives 0.
GLfixed fixed_div(GLfixed a, GLfixed b) {
  return to_glfixed(num_div(TwoWordNumber{a, -16}, TwoWordNumber{b, -16}));
}
