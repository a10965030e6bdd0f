// SPDX-License-Identifier: MIT
// The messages of native hooks that fall back to null handles, and the line
// they end up in.
#include "eglsweep/native_fallback.h"

#include <cstdio>
#include <cstring>

namespace {

// A message and the name its hooks know it by. The text is a printf format
// that takes at most two strings: the subject (a display or a device), then
// the cause.
struct FallbackMessage {
  const char* name;
  const char* format;
};

constexpr FallbackMessage MESSAGES[] = {
    // The lines, after "brindle: "; "no errno" where the library gives no cause.
    {"x11", "no X display \"%s\": %s"},
    {"x11 no errno", "no X display \"%s\": unknown host, bad name or refused by the server"},
    {"x11 unnamed", "no X display: DISPLAY is not set"},
    {"wayland", "cannot connect to Wayland display \"%s\": %s"},
    {"wayland no errno", "cannot connect to Wayland display \"%s\": libwayland gives no cause"},
    {"gbm", "no KMS device: %s"},
    // The DRM nodes that the gbm hooks tried, which their line lists one by one.
    {"gbm no nodes", "no DRM device in %s"},
    {"gbm node", "%s: %s"},
    {"gbm node refused", "%s: %s (is the user in group video?)"},
    {"gbm no primary", "%s: a render node only"},
    {"gbm no kms", "%s: no KMS resources"},
    {"gbm unusable", "%s: libgbm makes no device of it"},
};

}  // namespace

void native_fallback_text(char* text, std::size_t size, const char* name, const char* subject,
                          const char* cause) {
  for (const FallbackMessage& message : MESSAGES) {
    if (std::strcmp(message.name, name) == 0) {
      std::snprintf(text, size, message.format, subject, cause);
      return;
    }
  }
  std::snprintf(text, size, "%s", name);
}

void native_say_fallback(const char* name, const char* subject, const char* cause) {
  char line[1024];
  native_fallback_text(line, sizeof line, name, subject, cause);
  std::fprintf(stderr, "brindle: %s\n", line);
}
