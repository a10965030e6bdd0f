// SPDX-License-Identifier: MIT
// Native hooks on a DRM/KMS device without a window system, through libgbm:
// the display is a gbm_device on the first DRM primary node with KMS
// resources (libdrm lists the nodes), and windows are gbm_surfaces in the
// format that EGL gives as the configuration's native visual id. The primary
// node, not the render node: a software driver makes its buffers as dumb
// buffers, which a render node refuses. GBM has no pixmaps, so the pixmap
// hook gives the null handle. Without a usable device every hook gives the
// null handle, and the run goes as with the hooks of a platform without a
// window system; standard error then names each node tried and why it
// would not do.
#include "eglsweep/native.h"
#include "eglsweep/native_fallback.h"
#include "eglsweep/native_handle.h"

#include <fcntl.h>
#include <gbm.h>
#include <unistd.h>
#include <xf86drm.h>
#include <xf86drmMode.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

using native_handle::handle_cast;

namespace {

// The device of the run and the file descriptor beneath it.
gbm_device* device = nullptr;
int device_fd = -1;

// What was tried on the way to a device: the message of each node that
// would not do, "; " between them.
char tried[768];

// Adds the message NAME of the node PATH, with CAUSE, to what was tried.
void note_tried(const char* name, const char* path, const char* cause) {
  char entry[256];
  native_fallback_text(entry, sizeof entry, name, path, cause);
  const std::size_t used = std::strlen(tried);
  std::snprintf(tried + used, sizeof tried - used, "%s%s", used > 0 ? "; " : "", entry);
}

// The primary node of the device, opened, when it has KMS resources; -1 otherwise.
int open_kms_node(drmDevicePtr node) {
  if ((node->available_nodes & (1 << DRM_NODE_PRIMARY)) == 0) {
    note_tried("gbm no primary", node->nodes[DRM_NODE_RENDER], "");
    return -1;
  }
  const char* const path = node->nodes[DRM_NODE_PRIMARY];
  const int fd = open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    note_tried(errno == EACCES ? "gbm node refused" : "gbm node", path, std::strerror(errno));
    return -1;
  }
  drmModeRes* resources = drmModeGetResources(fd);
  if (resources == nullptr) {
    note_tried("gbm no kms", path, "");
    close(fd);
    return -1;
  }
  drmModeFreeResources(resources);
  return fd;
}

}  // namespace

EGLNativeDisplayType native_open_display() {
  constexpr int MAX_DEVICES = 16;
  drmDevicePtr nodes[MAX_DEVICES];
  tried[0] = '\0';
  const int count = drmGetDevices2(0, nodes, MAX_DEVICES);
  if (count <= 0) {
    note_tried(count < 0 ? "gbm node" : "gbm no nodes", DRM_DIR_NAME, std::strerror(-count));
  }
  int chosen = -1;
  for (int i = 0; i < count && chosen < 0; ++i) {
    device_fd = open_kms_node(nodes[i]);
    chosen = device_fd >= 0 ? i : -1;
  }
  if (chosen >= 0) {
    device = gbm_create_device(device_fd);
    if (device == nullptr) {
      note_tried("gbm unusable", nodes[chosen]->nodes[DRM_NODE_PRIMARY], "");
      close(device_fd);
      device_fd = -1;
    }
  }
  if (count > 0) {
    drmFreeDevices(nodes, count);
  }
  if (device == nullptr) {
    native_say_fallback("gbm", tried, "");
  }
  return handle_cast<EGLNativeDisplayType>(device);
}

void native_close_display(EGLNativeDisplayType display) {
  if (handle_cast<gbm_device*>(display) == nullptr) {
    return;
  }
  gbm_device_destroy(device);
  close(device_fd);
  device = nullptr;
  device_fd = -1;
}

EGLNativeWindowType native_create_window(const char* /*name*/, std::int32_t width, std::int32_t height,
                                         EGLint visual) {
  if (device == nullptr) {
    return {};
  }
  const std::uint32_t format = visual != 0 ? static_cast<std::uint32_t>(visual) : GBM_FORMAT_XRGB8888;
  gbm_surface* const surface =
      gbm_surface_create(device, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                         format, GBM_BO_USE_RENDERING);
  return handle_cast<EGLNativeWindowType>(surface);
}

void native_destroy_window(EGLNativeWindowType window) {
  gbm_surface* const surface = handle_cast<gbm_surface*>(window);
  if (surface != nullptr) {
    gbm_surface_destroy(surface);
  }
}

EGLNativePixmapType native_create_pixmap(std::int32_t /*width*/, std::int32_t /*height*/, EGLint /*visual*/) {
  return {};
}

void native_destroy_pixmap(EGLNativePixmapType /*pixmap*/) {}
