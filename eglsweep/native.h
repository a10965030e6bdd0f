// SPDX-License-Identifier: MIT
// Native platform hooks of brindle: the only way the sweep reaches the
// platform's window system for a display, a window or a pixmap. The sweep
// stores the handles and passes them on without testing them, so a platform
// replaces the file that defines these six functions and nothing else.
#ifndef EGLSWEEP_NATIVE_H
#define EGLSWEEP_NATIVE_H

#include <EGL/egl.h>

#include <cstdint>

// Opens the native display that eglGetDisplay receives (0: the default display).
EGLNativeDisplayType native_open_display();

// Closes the display from native_open_display.
void native_close_display(EGLNativeDisplayType display);

// Makes a window of the given size for the native visual id of a window
// configuration (0: no window).
EGLNativeWindowType native_create_window(const char* name, std::int32_t width, std::int32_t height,
                                         EGLint visual);

// Releases a window from native_create_window.
void native_destroy_window(EGLNativeWindowType window);

// Makes a pixmap of the given size for the native visual id of a pixmap
// configuration (0: no pixmap).
EGLNativePixmapType native_create_pixmap(std::int32_t width, std::int32_t height, EGLint visual);

// Releases a pixmap from native_create_pixmap.
void native_destroy_pixmap(EGLNativePixmapType pixmap);

#endif
