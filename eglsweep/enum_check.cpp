// SPDX-License-Identifier: MIT
#include "eglsweep/enum_check.h"

#include <EGL/egl.h>

#include <cstdlib>

#include "harness/harness.h"

namespace {

// One row: the name as text, the header's value of that name, and the number
// the table expects. Each name is written once.
// Releases of clang-format lay out a braced macro body differently.
// clang-format off
#define ENUM_ROW(name, expected) \
  { #name, name, expected }
// clang-format on

constexpr EnumCheckRow ENUMERATION_TABLE[] = {
    // Error codes.
    ENUM_ROW(EGL_SUCCESS, 0x3000),
    ENUM_ROW(EGL_NOT_INITIALIZED, 0x3001),
    ENUM_ROW(EGL_BAD_ACCESS, 0x3002),
    ENUM_ROW(EGL_BAD_ALLOC, 0x3003),
    ENUM_ROW(EGL_BAD_ATTRIBUTE, 0x3004),
    ENUM_ROW(EGL_BAD_CONFIG, 0x3005),
    ENUM_ROW(EGL_BAD_CONTEXT, 0x3006),
    ENUM_ROW(EGL_BAD_CURRENT_SURFACE, 0x3007),
    ENUM_ROW(EGL_BAD_DISPLAY, 0x3008),
    ENUM_ROW(EGL_BAD_MATCH, 0x3009),
    ENUM_ROW(EGL_BAD_NATIVE_PIXMAP, 0x300A),
    ENUM_ROW(EGL_BAD_NATIVE_WINDOW, 0x300B),
    ENUM_ROW(EGL_BAD_PARAMETER, 0x300C),
    ENUM_ROW(EGL_BAD_SURFACE, 0x300D),
    // Configuration attributes.
    ENUM_ROW(EGL_BUFFER_SIZE, 0x3020),
    ENUM_ROW(EGL_ALPHA_SIZE, 0x3021),
    ENUM_ROW(EGL_BLUE_SIZE, 0x3022),
    ENUM_ROW(EGL_GREEN_SIZE, 0x3023),
    ENUM_ROW(EGL_RED_SIZE, 0x3024),
    ENUM_ROW(EGL_DEPTH_SIZE, 0x3025),
    ENUM_ROW(EGL_STENCIL_SIZE, 0x3026),
    ENUM_ROW(EGL_CONFIG_CAVEAT, 0x3027),
    ENUM_ROW(EGL_CONFIG_ID, 0x3028),
    ENUM_ROW(EGL_LEVEL, 0x3029),
    ENUM_ROW(EGL_MAX_PBUFFER_HEIGHT, 0x302A),
    ENUM_ROW(EGL_MAX_PBUFFER_PIXELS, 0x302B),
    ENUM_ROW(EGL_MAX_PBUFFER_WIDTH, 0x302C),
    ENUM_ROW(EGL_NATIVE_RENDERABLE, 0x302D),
    ENUM_ROW(EGL_NATIVE_VISUAL_ID, 0x302E),
    ENUM_ROW(EGL_NATIVE_VISUAL_TYPE, 0x302F),
    ENUM_ROW(EGL_SAMPLES, 0x3031),
    ENUM_ROW(EGL_SAMPLE_BUFFERS, 0x3032),
    ENUM_ROW(EGL_SURFACE_TYPE, 0x3033),
    ENUM_ROW(EGL_TRANSPARENT_TYPE, 0x3034),
    ENUM_ROW(EGL_TRANSPARENT_BLUE_VALUE, 0x3035),
    ENUM_ROW(EGL_TRANSPARENT_GREEN_VALUE, 0x3036),
    ENUM_ROW(EGL_TRANSPARENT_RED_VALUE, 0x3037),
    ENUM_ROW(EGL_NONE, 0x3038),
    // Configuration attribute values.
    ENUM_ROW(EGL_SLOW_CONFIG, 0x3050),
    ENUM_ROW(EGL_NON_CONFORMANT_CONFIG, 0x3051),
    ENUM_ROW(EGL_TRANSPARENT_RGB, 0x3052),
    ENUM_ROW(EGL_DONT_CARE, -1),
    ENUM_ROW(EGL_PBUFFER_BIT, 1),
    ENUM_ROW(EGL_PIXMAP_BIT, 2),
    ENUM_ROW(EGL_WINDOW_BIT, 4),
    // Surface attributes.
    ENUM_ROW(EGL_HEIGHT, 0x3056),
    ENUM_ROW(EGL_WIDTH, 0x3057),
    ENUM_ROW(EGL_LARGEST_PBUFFER, 0x3058),
    // Current-surface selectors and the native engine.
    ENUM_ROW(EGL_DRAW, 0x3059),
    ENUM_ROW(EGL_READ, 0x305A),
    ENUM_ROW(EGL_CORE_NATIVE_ENGINE, 0x305B),
};

#undef ENUM_ROW

static_assert(sizeof ENUMERATION_TABLE / sizeof ENUMERATION_TABLE[0] == 51,
              "the enumeration table has 51 rows");

}  // namespace

void check_enumerations() {
  log_message(1, "Enumeration check.\n");
  for (const EnumCheckRow& row : ENUMERATION_TABLE) {
    log_message(1, "\t%s (%d) = %d.\n", row.name, row.expected, row.value);
    if (row.value != row.expected) {
      // The verdict of a mismatch has no line end, and an empty message follows.
      log_message(0, "brindle failed.");
      log_message(0, "%s", "");
      std::exit(1);
    }
  }
  log_message(1, "\n");
}
