// SPDX-License-Identifier: MIT
// Native hooks on Wayland (libwayland-client and wayland-egl): a connection
// to the compositor, and windows that are wl_egl_windows on surfaces of its
// wl_compositor. Wayland has no pixmaps, so the pixmap hook gives the null
// handle, and the visual id is not used (Wayland configurations report 0).
// Without a reachable compositor every hook gives the null handle, and the
// run goes as with the hooks of a platform without a window system;
// standard error then says which display and why.
//
// native.h, and with it the EGL header, comes before wayland-egl.h: that
// header defines WL_EGL_PLATFORM, which would turn the EGL native types of
// this file into Wayland pointers and give the hooks other signatures than
// the sweep calls.
#include "eglsweep/native.h"
#include "eglsweep/native_fallback.h"
#include "eglsweep/native_handle.h"

#include <wayland-client.h>
#include <wayland-egl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

using native_handle::handle_cast;

namespace {

// The connection of the run and the compositor global found on it.
struct WaylandConnection {
  wl_display* display;
  wl_registry* registry;
  wl_compositor* compositor;
};
WaylandConnection connection = {};

// A window and the surface beneath it, which its destruction releases too.
// The sweep holds at most two windows at once: its own and a follow-up
// check's.
struct WindowRecord {
  wl_egl_window* window;
  wl_surface* surface;
};
constexpr int MAX_WINDOWS = 2;
WindowRecord windows[MAX_WINDOWS] = {};

void on_global(void* /*data*/, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t /*version*/) {
  if (connection.compositor == nullptr && std::strcmp(interface, wl_compositor_interface.name) == 0) {
    connection.compositor =
        static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 1));
  }
}

void on_global_remove(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

constexpr wl_registry_listener REGISTRY_LISTENER = {on_global, on_global_remove};

}  // namespace

EGLNativeDisplayType native_open_display() {
  errno = 0;
  connection.display = wl_display_connect(nullptr);
  if (connection.display != nullptr) {
    connection.registry = wl_display_get_registry(connection.display);
    wl_registry_add_listener(connection.registry, &REGISTRY_LISTENER, nullptr);
    wl_display_roundtrip(connection.display);
  } else {
    // The display that wl_display_connect looked for: WAYLAND_DISPLAY, else wayland-0.
    const int error = errno;
    const char* const name = std::getenv("WAYLAND_DISPLAY");
    native_say_fallback(error != 0 ? "wayland" : "wayland no errno", name != nullptr ? name : "wayland-0",
                        std::strerror(error));
  }
  return handle_cast<EGLNativeDisplayType>(connection.display);
}

void native_close_display(EGLNativeDisplayType display) {
  if (handle_cast<wl_display*>(display) == nullptr) {
    return;
  }
  if (connection.compositor != nullptr) {
    wl_compositor_destroy(connection.compositor);
  }
  wl_registry_destroy(connection.registry);
  wl_display_disconnect(connection.display);
  connection = WaylandConnection{};
}

EGLNativeWindowType native_create_window(const char* /*name*/, std::int32_t width, std::int32_t height,
                                         EGLint /*visual*/) {
  if (connection.compositor == nullptr) {
    return {};
  }
  for (WindowRecord& record : windows) {
    if (record.window == nullptr) {
      record.surface = wl_compositor_create_surface(connection.compositor);
      record.window = wl_egl_window_create(record.surface, width, height);
      if (record.window == nullptr) {
        wl_surface_destroy(record.surface);
      }
      return handle_cast<EGLNativeWindowType>(record.window);
    }
  }
  return {};
}

void native_destroy_window(EGLNativeWindowType window) {
  wl_egl_window* const made = handle_cast<wl_egl_window*>(window);
  for (WindowRecord& record : windows) {
    if (made != nullptr && record.window == made) {
      wl_egl_window_destroy(record.window);
      wl_surface_destroy(record.surface);
      record = WindowRecord{};
    }
  }
}

EGLNativePixmapType native_create_pixmap(std::int32_t /*width*/, std::int32_t /*height*/, EGLint /*visual*/) {
  return {};
}

void native_destroy_pixmap(EGLNativePixmapType /*pixmap*/) {}
