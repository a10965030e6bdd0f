// SPDX-License-Identifier: MIT
// Native hooks on X11, through Xlib: a real display, windows on the visual
// that EGL names for a configuration, and pixmaps of that visual's depth.
// Without a reachable display every hook gives the null handle, and the run
// goes as with the hooks of a platform without a window system; standard
// error then says which display and why.
#include "eglsweep/native.h"
#include "eglsweep/native_fallback.h"
#include "eglsweep/native_handle.h"
#include "harness/harness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <cstring>

using native_handle::handle_cast;

namespace {

// The display of the run; the creating hooks make their objects on it.
Display* x_display = nullptr;

// Xlib's default handler ends the process on any protocol error, before the
// verdict is printed (a copy from a window into a pixmap of another depth
// draws a BadMatch, for one). The error is logged and the run goes on: the
// sweep judges EGL by its own error codes.
//
// Xlib reads errors whenever it happens to find them on the connection, so
// each hook that sends requests ends with XSync: an error, of the hook's own
// requests or of the EGL calls before it, is then always logged in the
// first hook after the request that caused it, at the same place of the
// trace from run to run.
int log_x_error(Display* display, XErrorEvent* event) {
  char text[160];
  XGetErrorText(display, event->error_code, text, sizeof text);
  log_message(1, "X error: %s (request %d.%d)\n", text, event->request_code, event->minor_code);
  return 0;
}

// The visual of the given id, when the display has one.
bool find_visual(EGLint visual, XVisualInfo* info) {
  if (x_display == nullptr) {
    return false;
  }
  XVisualInfo pattern = {};
  pattern.visualid = static_cast<VisualID>(visual);
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(x_display, VisualIDMask, &pattern, &count);
  if (found == nullptr) {
    return false;
  }
  *info = found[0];
  XFree(found);
  return true;
}

}  // namespace

EGLNativeDisplayType native_open_display() {
  errno = 0;
  x_display = XOpenDisplay(nullptr);
  if (x_display != nullptr) {
    XSetErrorHandler(log_x_error);
  } else if (XDisplayName(nullptr)[0] == '\0') {
    native_say_fallback("x11 unnamed", "", "");
  } else {
    // A name that does not parse or whose host is unknown leaves errno at 0.
    native_say_fallback(errno != 0 ? "x11" : "x11 no errno", XDisplayName(nullptr), std::strerror(errno));
  }
  return handle_cast<EGLNativeDisplayType>(x_display);
}

void native_close_display(EGLNativeDisplayType display) {
  Display* const opened = handle_cast<Display*>(display);
  if (opened != nullptr) {
    XCloseDisplay(opened);
  }
  x_display = nullptr;
}

EGLNativeWindowType native_create_window(const char* name, std::int32_t width, std::int32_t height,
                                         EGLint visual) {
  XVisualInfo info;
  if (!find_visual(visual, &info)) {
    return {};
  }
  // A window on a visual other than its parent's needs a colormap and a
  // border pixel of its own.
  const Window root = RootWindow(x_display, info.screen);
  XSetWindowAttributes attributes = {};
  attributes.colormap = XCreateColormap(x_display, root, info.visual, AllocNone);
  attributes.border_pixel = 0;
  const Window window =
      XCreateWindow(x_display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                    info.depth, InputOutput, info.visual, CWColormap | CWBorderPixel, &attributes);
  XStoreName(x_display, window, name);
  XMapWindow(x_display, window);
  XSync(x_display, False);
  return handle_cast<EGLNativeWindowType>(window);
}

void native_destroy_window(EGLNativeWindowType window) {
  const Window made = handle_cast<Window>(window);
  if (x_display == nullptr || made == None) {
    return;
  }
  XWindowAttributes attributes;
  const Status known = XGetWindowAttributes(x_display, made, &attributes);
  XDestroyWindow(x_display, made);
  if (known != 0) {
    XFreeColormap(x_display, attributes.colormap);
  }
  XSync(x_display, False);
}

EGLNativePixmapType native_create_pixmap(std::int32_t width, std::int32_t height, EGLint visual) {
  XVisualInfo info;
  if (!find_visual(visual, &info)) {
    return {};
  }
  const Pixmap pixmap =
      XCreatePixmap(x_display, RootWindow(x_display, info.screen), static_cast<unsigned>(width),
                    static_cast<unsigned>(height), static_cast<unsigned>(info.depth));
  XSync(x_display, False);
  return handle_cast<EGLNativePixmapType>(pixmap);
}

void native_destroy_pixmap(EGLNativePixmapType pixmap) {
  const Pixmap made = handle_cast<Pixmap>(pixmap);
  if (x_display != nullptr && made != None) {
    XFreePixmap(x_display, made);
    XSync(x_display, False);
  }
}
