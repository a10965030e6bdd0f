// SPDX-License-Identifier: MIT
// Native hooks of a platform without a native window system: every creating
// hook gives the null handle and there is nothing to release. eglGetDisplay
// therefore receives EGL_DEFAULT_DISPLAY, and window and pixmap surfaces are
// attempted on null native handles.
#include "eglsweep/native.h"

EGLNativeDisplayType native_open_display() {
  return 0;
}

void native_close_display(EGLNativeDisplayType /*display*/) {}

EGLNativeWindowType native_create_window(const char* /*name*/, std::int32_t /*width*/,
                                         std::int32_t /*height*/, EGLint /*visual*/) {
  return 0;
}

void native_destroy_window(EGLNativeWindowType /*window*/) {}

EGLNativePixmapType native_create_pixmap(std::int32_t /*width*/, std::int32_t /*height*/, EGLint /*visual*/) {
  return 0;
}

void native_destroy_pixmap(EGLNativePixmapType /*pixmap*/) {}
