// SPDX-License-Identifier: MIT
// A scriptable, recording stand-in for EGL 1.x and OpenGL ES 1.x, linked into
// test builds instead of the platform's libraries.
//
// A scenario says which configurations exist and which calls fail; every
// call is recorded with its arguments, one line each, handles shown as
// placeholders (dpy, cfg<id>, surf<n>, ctx<n>), so tests compare call
// sequences as text. Enumerations print by name; masks, and values whose
// names are ambiguous (blend factors and stencil operations share 0 and 1
// with GL_POINTS and GL_LINES), print in hex, as do GLfixed values.
// Faults follow one rule: "the Nth call of F fails with E". A failing EGL call
// returns its failure value and sets error E; a failing GL call is recorded
// and leaves GL error E pending; a failing eglGetError or glGetError returns
// E; in a program linked with -Wl,--wrap=malloc, the mallocs of the
// program's own code are recorded too, and a failing one returns null.
//
// Programs built against the fake read the scenario from the environment
// variable FAKEGL_SCENARIO, a ';'-separated list of:
//   configs=CFG,CFG...    configurations (default: one "p:d24:s8")
//                         CFG = surface kinds w (window) p (pbuffer) x (pixmap),
//                         then ":d<bits>" depth, ":s<bits>" stencil (red, green,
//                         blue and alpha: 8 bits);
//                         "configs=" with nothing after it: no configuration
//   fail=NAME:N:CODE      the Nth call of NAME fails with CODE (hex or decimal)
//   native=accept         null native windows and pixmaps are accepted
//   nodisplay             eglGetDisplay returns EGL_NO_DISPLAY
//   ext=NAME NAME ...     the GL extension string ('+' stands for a space)
//   log=PATH              write the call record to PATH at exit
#ifndef TESTS_FAKEGL_FAKEGL_H
#define TESTS_FAKEGL_FAKEGL_H

#include <string>

// Back to the default scenario with an empty record and no faults, then
// loads a FAKEGL_SCENARIO text; false on a bad text.
bool fake_load_scenario(const std::string& text);
// Appends one line to the record: test doubles of other interfaces (native
// window system hooks) note their calls here, in order with the EGL and GL calls.
void fake_record(const std::string& line);

#endif
