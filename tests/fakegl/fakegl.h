// A scriptable, recording stand-in for EGL 1.x and OpenGL ES 1.x, linked into
// test builds instead of the platform's libraries.
//
// A scenario says which configurations exist and which calls fail; every
// call is recorded with its arguments, handles shown as placeholders
// (dpy, cfg<id>, surf<n>, ctx<n>), so tests compare call sequences as text.
// Faults follow one rule: "the Nth call of F fails with E". A failing EGL call
// returns its failure value and sets error E; a failing GL call is recorded
// and leaves GL error E pending; a failing eglGetError returns E.
//
// Programs built against the fake read the scenario from the environment
// variable FAKEGL_SCENARIO, a ';'-separated list of:
//   configs=CFG,CFG...    configurations (default: one "p:d24:s8")
//                         CFG = surface kinds w (window) p (pbuffer) x (pixmap),
//                         then ":d<bits>" depth, ":s<bits>" stencil, ":r<bits>" red;
//                         "configs=" with nothing after it: no configuration
//   fail=NAME:N:CODE      the Nth call of NAME fails with CODE (hex or decimal)
//   native=accept         null native windows and pixmaps are accepted
//   nodisplay             eglGetDisplay returns EGL_NO_DISPLAY
//   ext=NAME NAME ...     the GL extension string ('+' stands for a space)
//   log=PATH              write the call record to PATH at exit
#ifndef TESTS_FAKEGL_FAKEGL_H
#define TESTS_FAKEGL_FAKEGL_H

#include <string>
#include <vector>

struct FakeConfig {
  int surface_type;  // EGL_WINDOW_BIT | EGL_PBUFFER_BIT | EGL_PIXMAP_BIT
  int red_size;
  int depth_size;
  int stencil_size;
};

struct FakeScenario {
  std::vector<FakeConfig> configs;
  bool accept_null_native;
  bool no_display;
  bool record_gl;  // record GL calls (on by default)
  std::string gl_extensions;
  std::string log_path;  // where to write the record at exit, if set
};

// Back to the default scenario with an empty record and no faults.
void fake_reset();
// The scenario in force; tests change it after fake_reset().
FakeScenario& fake_scenario();
// Parses a FAKEGL_SCENARIO text into the scenario (after a reset); false on a bad text.
bool fake_load_scenario(const std::string& text);
// The Nth call (1-based) of the named function fails with the given code.
void fake_fail(const std::string& function, int nth, int code);
// The recorded calls, one line each, in order.
const std::vector<std::string>& fake_calls();
// Recorded calls whose text begins with the prefix.
std::vector<std::string> fake_calls_starting(const std::string& prefix);
// Number of recorded calls of the named function.
int fake_call_count(const std::string& function);
// Pending EGL error (not cleared by this query).
int fake_pending_egl_error();
// Appends one line to the record: test doubles of other interfaces (native
// window system hooks) note their calls here, in order with the EGL and GL calls.
void fake_record(const std::string& line);

#endif
