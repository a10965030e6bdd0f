// SPDX-License-Identifier: MIT
// The point, the line and the triangle, in the upper-left, upper-right and
// lower-left quarters of the 48 by 48 viewport (object x and y from -24 to 24).
// Every vertex has a position, a colour, a normal and texture coordinates
// s = (x + 24) / 48, t = (y + 24) / 48. The arrays are built on the stack at
// every call and the non-integer constants go through the number library
// every time: nothing is cached between frames.
#include "primitives/draw.h"

#include <GLES/gl.h>

#include "fixedmath/fixedmath.h"

namespace {

constexpr GLfixed FIXED_12 = 0xC0000;
constexpr GLfixed FIXED_12_5 = 0xC8000;
constexpr GLfixed FIXED_13 = 0xD0000;
constexpr GLfixed FIXED_24 = 0x180000;
constexpr GLfixed FIXED_36 = 0x240000;
constexpr GLfixed FIXED_36_5 = 0x248000;
constexpr GLfixed FIXED_48 = 0x300000;
constexpr GLfixed FIXED_MINUS_11_5 = -0xB8000;
constexpr GLfixed FIXED_MINUS_100 = -0x640000;

// Hands the four arrays to GL in the fixed order of the drawing steps.
void set_arrays(const GLfixed* colours, const GLfixed* positions, const GLfixed* normals,
                const GLfixed* texture_coordinates) {
  glColorPointer(4, GL_FIXED, 0, colours);
  glVertexPointer(4, GL_FIXED, 0, positions);
  glNormalPointer(GL_FIXED, 0, normals);
  glTexCoordPointer(4, GL_FIXED, 0, texture_coordinates);
}

// Red.
void draw_point() {
  const GLfixed positions[4] = {FIXED_MINUS_11_5, FIXED_12_5, 0, FIXED_ONE};
  const GLfixed colours[4] = {FIXED_ONE, 0, 0, FIXED_ONE};
  const GLfixed normals[3] = {0, 0, FIXED_ONE};
  const GLfixed texture_coordinates[4] = {fixed_div(FIXED_12_5, FIXED_48), fixed_div(FIXED_36_5, FIXED_48), 0,
                                          FIXED_ONE};
  set_arrays(colours, positions, normals, texture_coordinates);
  glPointSizex(FIXED_ONE);
  glDrawArrays(GL_POINTS, 0, 1);
}

// Green to yellow.
void draw_line() {
  const GLfixed positions[8] = {FIXED_12, FIXED_12_5, 0, FIXED_ONE,  //
                                FIXED_13, FIXED_12_5, 0, FIXED_ONE};
  const GLfixed colours[8] = {0,         FIXED_ONE, 0, FIXED_ONE,  //
                              FIXED_ONE, FIXED_ONE, 0, FIXED_ONE};
  const GLfixed normals[6] = {0, 0, FIXED_ONE,  //
                              0, 0, FIXED_ONE};
  // Both vertices through fixed_div, the second's too: 37/48 and 36.5/48.
  const GLfixed s0 = fixed_div(FIXED_36, FIXED_48);
  const GLfixed t0 = fixed_div(FIXED_36_5, FIXED_48);
  const GLfixed s1 = fixed_div(FIXED_13 + FIXED_24, FIXED_48);
  const GLfixed t1 = fixed_div(FIXED_12_5 + FIXED_24, FIXED_48);
  const GLfixed texture_coordinates[8] = {s0, t0, 0, FIXED_ONE,  //
                                          s1, t1, 0, FIXED_ONE};
  set_arrays(colours, positions, normals, texture_coordinates);
  glLineWidthx(FIXED_ONE);
  glDrawArrays(GL_LINES, 0, 2);
}

// Blue, magenta and cyan; its normals point away from the viewer.
void draw_triangle() {
  const GLfixed a = parse_fixed("0.75");
  const GLfixed b = parse_fixed("0.25");
  const GLfixed c = parse_fixed("0.5");
  const GLfixed positions[12] = {FIXED_MINUS_11_5, a - FIXED_12, 0, FIXED_ONE,  //
                                 b - FIXED_12,     b - FIXED_12, 0, FIXED_ONE,  //
                                 a - FIXED_12,     b - FIXED_12, 0, FIXED_ONE};
  const GLfixed colours[12] = {0,         0,         FIXED_ONE, FIXED_ONE,  //
                               FIXED_ONE, 0,         FIXED_ONE, FIXED_ONE,  //
                               0,         FIXED_ONE, FIXED_ONE, FIXED_ONE};
  const GLfixed normals[9] = {0, 0, FIXED_MINUS_100,  //
                              0, 0, FIXED_MINUS_100,  //
                              0, 0, FIXED_MINUS_100};
  const GLfixed texture_coordinates[12] = {
      fixed_div(c + FIXED_12, FIXED_48), fixed_div(a + FIXED_12, FIXED_48), 0, FIXED_ONE,
      fixed_div(b + FIXED_12, FIXED_48), fixed_div(b + FIXED_12, FIXED_48), 0, FIXED_ONE,
      fixed_div(a + FIXED_12, FIXED_48), fixed_div(b + FIXED_12, FIXED_48), 0, FIXED_ONE};
  set_arrays(colours, positions, normals, texture_coordinates);
  glDrawArrays(GL_TRIANGLES, 0, 3);
}

constexpr GLenum CLIENT_ARRAYS[] = {GL_COLOR_ARRAY, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY};

}  // namespace

void draw_primitives() {
  for (GLenum array : CLIENT_ARRAYS) {
    glEnableClientState(array);
  }
  draw_point();
  glFlush();
  draw_line();
  glFlush();
  draw_triangle();
  glFlush();
  for (GLenum array : CLIENT_ARRAYS) {
    glDisableClientState(array);
  }
}
