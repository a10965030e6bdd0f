#include "native_recording.h"

#include <cstdint>
#include <string>
#include <type_traits>

#include "eglsweep/native.h"
#include "fakegl.h"

namespace {

bool make_objects = false;
std::uintptr_t last_handle = 0;

// The next handle: 0 for null handles, else a new number.
std::uintptr_t next_handle() {
  return make_objects ? ++last_handle : 0;
}

template <typename Handle>
Handle to_native(std::uintptr_t number) {
  if constexpr (std::is_pointer<Handle>::value) {
    return reinterpret_cast<Handle>(number);
  } else {
    return static_cast<Handle>(number);
  }
}

template <typename Handle>
std::string handle_name(Handle handle) {
  std::uintptr_t number = 0;
  if constexpr (std::is_pointer<Handle>::value) {
    number = reinterpret_cast<std::uintptr_t>(handle);
  } else {
    number = static_cast<std::uintptr_t>(handle);
  }
  return number == 0 ? "0" : "native" + std::to_string(number);
}

}  // namespace

void native_recording_reset(bool objects) {
  make_objects = objects;
  last_handle = 0;
}

EGLNativeDisplayType native_open_display() {
  const EGLNativeDisplayType display = to_native<EGLNativeDisplayType>(next_handle());
  fake_record("native_open_display() = " + handle_name(display));
  return display;
}

void native_close_display(EGLNativeDisplayType display) {
  fake_record("native_close_display(" + handle_name(display) + ")");
}

EGLNativeWindowType native_create_window(const char* name, std::int32_t width, std::int32_t height,
                                         EGLint visual) {
  const EGLNativeWindowType window = to_native<EGLNativeWindowType>(next_handle());
  fake_record("native_create_window(\"" + std::string(name) + "\", " + std::to_string(width) + ", " +
              std::to_string(height) + ", " + std::to_string(visual) + ") = " + handle_name(window));
  return window;
}

void native_destroy_window(EGLNativeWindowType window) {
  fake_record("native_destroy_window(" + handle_name(window) + ")");
}

EGLNativePixmapType native_create_pixmap(std::int32_t width, std::int32_t height, EGLint visual) {
  const EGLNativePixmapType pixmap = to_native<EGLNativePixmapType>(next_handle());
  fake_record("native_create_pixmap(" + std::to_string(width) + ", " + std::to_string(height) + ", " +
              std::to_string(visual) + ") = " + handle_name(pixmap));
  return pixmap;
}

void native_destroy_pixmap(EGLNativePixmapType pixmap) {
  fake_record("native_destroy_pixmap(" + handle_name(pixmap) + ")");
}
