// SPDX-License-Identifier: MIT
// Recording native hooks, linked into brindle_hooks in place of the program's
// null hooks: each creating hook gives a new non-null handle (native1,
// native2... in the order made), and every hook call is noted in the fake's
// call record between the EGL calls around it. The native types are pointers
// or integers, as the platform's EGL header has them.
#include <cstdint>
#include <string>

#include "eglsweep/native.h"
#include "fakegl.h"

namespace {

std::uintptr_t made = 0;  // handles made so far

// Notes "CALL = nativeN" for a new handle N and returns it.
template <typename Handle>
Handle make_handle(const std::string& call) {
  fake_record(call + " = native" + std::to_string(++made));
  return (Handle)made;
}

template <typename Handle>
void note(const char* hook, Handle handle) {
  const std::uintptr_t number = (std::uintptr_t)handle;
  fake_record(std::string(hook) + "(" + (number == 0 ? "0" : "native" + std::to_string(number)) + ")");
}

std::string size_and_visual(std::int32_t width, std::int32_t height, EGLint visual) {
  return std::to_string(width) + ", " + std::to_string(height) + ", " + std::to_string(visual) + ")";
}

}  // namespace

EGLNativeDisplayType native_open_display() {
  return make_handle<EGLNativeDisplayType>("native_open_display()");
}

void native_close_display(EGLNativeDisplayType display) {
  note("native_close_display", display);
}

EGLNativeWindowType native_create_window(const char* name, std::int32_t width, std::int32_t height,
                                         EGLint visual) {
  return make_handle<EGLNativeWindowType>("native_create_window(\"" + std::string(name) + "\", " +
                                          size_and_visual(width, height, visual));
}

void native_destroy_window(EGLNativeWindowType window) {
  note("native_destroy_window", window);
}

EGLNativePixmapType native_create_pixmap(std::int32_t width, std::int32_t height, EGLint visual) {
  return make_handle<EGLNativePixmapType>("native_create_pixmap(" + size_and_visual(width, height, visual));
}

void native_destroy_pixmap(EGLNativePixmapType pixmap) {
  note("native_destroy_pixmap", pixmap);
}
