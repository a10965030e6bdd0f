// SPDX-License-Identifier: MIT
// The three primitives drawn in every frame.
#ifndef PRIMITIVES_DRAW_H
#define PRIMITIVES_DRAW_H

// Draws a point, a line and a triangle from GLfixed client arrays; no error
// check of its own (the dispatcher's next check finds any pending error).
void draw_primitives();

#endif
