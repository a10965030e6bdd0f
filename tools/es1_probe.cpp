// SPDX-License-Identifier: MIT
// Asks the platform's EGL for what both programs need, an OpenGL ES 1.x
// context, on the default display of whatever platform the environment
// selects. Writes "ok" to FILE when it gets one, else the step that failed
// and its EGL error; exits with 0 either way (it judges nothing itself).
// Prints the EGL version and vendor, once known, for tools/run.sh's headings.
//
//   es1_probe FILE
#include <EGL/egl.h>

#include <cstdio>

namespace {

int write_result(const char* path, const char* step, EGLint error) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) return 1;
  if (step == nullptr) {
    std::fputs("ok\n", file);
  } else {
    std::fprintf(file, "%s: EGL error 0x%04X\n", step, static_cast<unsigned>(error));
  }
  return std::fclose(file) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (display == EGL_NO_DISPLAY) return write_result(argv[1], "eglGetDisplay", eglGetError());
  if (eglInitialize(display, nullptr, nullptr) == EGL_FALSE) {
    return write_result(argv[1], "eglInitialize", eglGetError());
  }
  const char* version = eglQueryString(display, EGL_VERSION);
  const char* vendor = eglQueryString(display, EGL_VENDOR);
  std::printf("EGL %s, %s\n", version != nullptr ? version : "(no version)",
              vendor != nullptr ? vendor : "(no vendor)");
  // Any kind of surface: the default asks for windows, which some platforms lack.
  const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES_BIT, EGL_SURFACE_TYPE, 0, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  const char* step = nullptr;
  if (eglChooseConfig(display, wanted, &config, 1, &count) == EGL_FALSE || count != 1) {
    step = "eglChooseConfig (EGL_OPENGL_ES_BIT)";
  } else {
    const EGLint version[] = {EGL_CONTEXT_CLIENT_VERSION, 1, EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, version);
    if (context == EGL_NO_CONTEXT) {
      step = "eglCreateContext (version 1)";
    } else {
      eglDestroyContext(display, context);
    }
  }
  const EGLint error = eglGetError();
  eglTerminate(display);
  return write_result(argv[1], step, error);
}
