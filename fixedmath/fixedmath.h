// SPDX-License-Identifier: MIT
// Public entry points of the fixed-point number library: the only two
// operations the rest of quillet_cl calls. Integer arithmetic only.
#ifndef FIXEDMATH_FIXEDMATH_H
#define FIXEDMATH_FIXEDMATH_H

#include <cstdint>

// 16.16 fixed point, the same 32-bit signed type as OpenGL ES's GLfixed;
// declared here so that the library needs no GL header.
typedef std::int32_t GLfixed;

// 1.0 in 16.16 fixed point.
constexpr GLfixed FIXED_ONE = 0x10000;

// Decimal text (NUL-terminated) to GLfixed; never fails (skips stray bytes).
GLfixed parse_fixed(const char* text);

// a / b of two GLfixed, rounded to nearest for positive results; 0 when b is 0.
GLfixed fixed_div(GLfixed a, GLfixed b);

#endif
