// SPDX-License-Identifier: MIT
// Anti-aliasing, Dither and Scissor: a capability switched on for one frame,
// no value lists and no record.
#include <GLES/gl.h>

#include "harness/harness.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"

namespace quillet {
namespace {

std::int32_t no_record(void** data) {
  *data = nullptr;
  return 1;
}

}  // namespace

std::int32_t update_on_off(void*) {
  return 1;
}

std::int32_t anti_aliasing_init(void** data) {
  return no_record(data);
}

std::int32_t anti_aliasing_set(std::int32_t enabled, void*) {
  if (enabled != 0) {
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
  } else {
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
  }
  return check_gl();
}

void anti_aliasing_status(std::int32_t enabled, void*) {
  log_message(1, enabled != 0 ? "Anti-Aliasing on.\n" : "Anti-Aliasing off.\n");
}

std::int32_t dither_init(void** data) {
  return no_record(data);
}

std::int32_t dither_set(std::int32_t enabled, void*) {
  if (enabled != 0) {
    glEnable(GL_DITHER);
  } else {
    glDisable(GL_DITHER);
  }
  return check_gl();
}

void dither_status(std::int32_t enabled, void*) {
  log_message(1, enabled != 0 ? "Dither on.\n" : "Dither off.\n");
}

std::int32_t scissor_init(void** data) {
  return no_record(data);
}

// The enabled form limits drawing to the 12 by 12 pixels at the lower left.
std::int32_t scissor_set(std::int32_t enabled, void*) {
  if (enabled != 0) {
    glScissor(0, 0, 12, 12);
    glEnable(GL_SCISSOR_TEST);
  } else {
    glDisable(GL_SCISSOR_TEST);
  }
  return check_gl();
}

void scissor_status(std::int32_t enabled, void*) {
  log_message(1, enabled != 0 ? "Scissor on.\n" : "Scissor off.\n");
}

}  // namespace quillet
