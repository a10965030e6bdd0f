// SPDX-License-Identifier: MIT
// EGL set-up of quillet_cl. Set-up failures go straight to standard error,
// never through the logger.
#include "primitives/context.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Process-wide EGL state of quillet_cl.
struct ContextState {
  EGLDisplay display;
  EGLConfig config;
  EGLSurface surface;
  EGLContext context;
  EGLint pbuffer_attribs[5];  // EGL_WIDTH, w, EGL_HEIGHT, h, EGL_NONE
  PFNGLQUERYMATRIXXOESPROC query_matrix;
};

ContextState context_state = {
    EGL_NO_DISPLAY, nullptr, EGL_NO_SURFACE, EGL_NO_CONTEXT, {EGL_WIDTH, 0, EGL_HEIGHT, 0, EGL_NONE},
    nullptr};

}  // namespace

std::int32_t open_display() {
  context_state.display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (context_state.display == EGL_NO_DISPLAY) {
    std::fputs("Can't get display!\n", stderr);
    return 0;
  }
  EGLint major = 0;
  EGLint minor = 0;
  if (eglInitialize(context_state.display, &major, &minor) == EGL_FALSE) {
    std::fputs("Can't initialize EGL display\n", stderr);
    return 0;
  }
  return 1;
}

namespace {

// Chooses exactly one configuration by attributes (kind 0) or by id; 1 or 0.
// The attribute list asks for pbuffer support, since a pbuffer is what gets
// created: without it EGL's default (window) would refuse pbuffer-only
// platforms.
std::int32_t choose_config(const RenderTargetRequest* request) {
  EGLint attribs[13];
  std::int32_t n = 0;
  if (request->config_kind == 0) {
    const EGLint base[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_LEVEL, 0, EGL_RED_SIZE, 1, EGL_DEPTH_SIZE, 12};
    for (EGLint word : base) {
      attribs[n++] = word;
    }
    if ((request->config_flags & CONFIG_FLAG_STENCIL) != 0) {
      attribs[n++] = EGL_STENCIL_SIZE;
      attribs[n++] = 1;
    }
  } else {
    attribs[n++] = EGL_CONFIG_ID;
    attribs[n++] = request->config_flags;
  }
  attribs[n] = EGL_NONE;

  EGLint count = 0;
  EGLConfig config = nullptr;
  if (eglChooseConfig(context_state.display, attribs, &config, 1, &count) == EGL_FALSE || count != 1 ||
      config == nullptr) {
    context_state.config = nullptr;
    return 0;
  }
  context_state.config = config;
  return 1;
}

}  // namespace

std::int32_t setup_context(RenderTargetRequest* request) {
  if (open_display() == 0) {
    return 0;
  }
  if (choose_config(request) == 0) {
    return 0;
  }

  request->config_kind = 0;
  EGLint stencil = 0;
  EGLint depth = 0;
  eglGetConfigAttrib(context_state.display, context_state.config, EGL_STENCIL_SIZE, &stencil);
  eglGetConfigAttrib(context_state.display, context_state.config, EGL_DEPTH_SIZE, &depth);
  request->config_flags = (stencil > 0 ? CONFIG_FLAG_STENCIL : 0) + (depth > 0 ? CONFIG_FLAG_DEPTH : 0);

  context_state.pbuffer_attribs[1] = request->width;
  context_state.pbuffer_attribs[3] = request->height;
  context_state.surface =
      eglCreatePbufferSurface(context_state.display, context_state.config, context_state.pbuffer_attribs);
  if (context_state.surface == EGL_NO_SURFACE) {
    std::fputs("Can't create EGL surface\n", stderr);
    return 0;
  }

  context_state.context =
      eglCreateContext(context_state.display, context_state.config, EGL_NO_CONTEXT, nullptr);
  if (context_state.context == EGL_NO_CONTEXT) {
    std::fputs("Can't create a context!\n", stderr);
    return 0;
  }

  if (eglMakeCurrent(context_state.display, context_state.surface, context_state.surface,
                     context_state.context) == EGL_FALSE) {
    std::fputs("Can't make context current\n", stderr);
    return 0;
  }

  if (has_gl_extension("GL_OES_query_matrix") != 0) {
    context_state.query_matrix =
        reinterpret_cast<PFNGLQUERYMATRIXXOESPROC>(eglGetProcAddress("glQueryMatrixxOES"));
  }
  return 1;
}

std::int32_t has_gl_extension(const char* name) {
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const std::size_t length = std::strlen(name);
  if (extensions == nullptr || length == 0) {
    return 0;
  }
  const char* from = extensions;
  while (const char* found = std::strstr(from, name)) {
    const bool starts_word = found == extensions || found[-1] == ' ';
    const char after = found[length];
    if (starts_word && (after == ' ' || after == '\0')) {
      return 1;
    }
    from = found + 1;
  }
  return 0;
}

void end_run() {
  eglTerminate(context_state.display);
  std::exit(0);
}
