// SPDX-License-Identifier: MIT
// Rendering context of quillet_cl: an off-screen EGL pbuffer with a current
// OpenGL ES 1.x context.
#ifndef PRIMITIVES_CONTEXT_H
#define PRIMITIVES_CONTEXT_H

#include <EGL/egl.h>
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cstdint>

enum { REQUEST_TITLE_SIZE = 100, CONFIG_FLAG_STENCIL = 8, CONFIG_FLAG_DEPTH = 16 };

// What main asks setup_context for; kind and flags are updated on success.
struct RenderTargetRequest {
  char title[REQUEST_TITLE_SIZE];
  std::int32_t placement_x;
  std::int32_t placement_y;
  std::int32_t width;
  std::int32_t height;
  std::int32_t config_kind;   // 0: choose by attributes; else by configuration id
  std::int32_t config_flags;  // stencil wanted (8) on input; has stencil (8) / depth (16) on output
};

// Gets and initialises the default display; 1 on success, 0 after its message.
std::int32_t open_display();

// Makes a context current on a pbuffer of the requested size; 1 or 0.
std::int32_t setup_context(RenderTargetRequest* request);

// 1 when the current context's extension string holds name as a whole word.
std::int32_t has_gl_extension(const char* name);

// Terminates the display and exits with status 0: the single exit of quillet_cl.
[[noreturn]] void end_run();

#endif
