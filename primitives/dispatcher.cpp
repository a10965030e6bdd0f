// SPDX-License-Identifier: MIT
// The dispatcher: walks the driver table one phase at a time and watches the
// GL error state after every driver call.
#include "primitives/dispatcher.h"

#include <GLES/gl.h>

#include <cstdlib>

#include "harness/harness.h"
#include "primitives/context.h"
#include "primitives/cursors.h"
#include "primitives/drivers.h"

namespace quillet {
namespace {

enum { DRIVER_COUNT = 13 };

// The 13 drivers in the order they are printed, applied and enabled, then the
// terminator row.
DriverRow driver_table[DRIVER_COUNT + 1] = {
    {0, hint_init, hint_set, hint_status, update_cursors, nullptr, 0, 0},
    {1, anti_aliasing_init, anti_aliasing_set, anti_aliasing_status, update_on_off, nullptr, 0, 0},
    {2, alpha_init, alpha_set, alpha_status, update_cursors, nullptr, 0, 0},
    {3, blend_init, blend_set, blend_status, update_cursors, nullptr, 0, 0},
    {4, depth_init, depth_set, depth_status, update_cursors, nullptr, 0, 0},
    {5, dither_init, dither_set, dither_status, update_on_off, nullptr, 0, 0},
    {6, fog_init, fog_set, fog_status, update_cursors, nullptr, 0, 0},
    {7, lighting_init, lighting_set, lighting_status, update_cursors, nullptr, 0, 0},
    {8, logic_op_init, logic_op_set, logic_op_status, update_cursors, nullptr, 0, 0},
    {9, scissor_init, scissor_set, scissor_status, update_on_off, nullptr, 0, 0},
    {10, shading_init, shading_set, shading_status, update_cursors, nullptr, 0, 0},
    {11, stencil_init, stencil_set, stencil_status, update_cursors, nullptr, 0, 0},
    {12, texture_init, texture_set, texture_status, update_cursors, nullptr, 0, 0},
    {-1, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0},
};
static_assert(sizeof driver_table / sizeof driver_table[0] == DRIVER_COUNT + 1,
              "driver table: 13 rows and the terminator");

// Prints the failed verdict and leaves through end_run.
[[noreturn]] void fail_run() {
  log_message(0, "quillet (fixed point) failed.\n");
  log_message(0, "\n");
  end_run();
}

// A phase's failure: its message, then the failed verdict.
[[noreturn]] void fail_phase(const char* message) {
  log_message(0, "%s", message);
  fail_run();
}

// After each driver call: an error still pending there ends the run.
void check_after_call(const char* message) {
  if (glGetError() != GL_NO_ERROR) {
    fail_phase(message);
  }
}

const char INIT_FAILED[] = "quillet failed (driver init).\n\n";
const char SET_FAILED[] = "quillet failed (driver set).\n\n";
const char STATUS_FAILED[] = "quillet failed (driver status).\n\n";
const char UPDATE_FAILED[] = "quillet failed (driver update).\n\n";

// Every row gets its record before any row is enabled; a row whose init
// could not allocate its record ends the run, so no row ever runs without one.
void init_rows() {
  for (DriverRow* row = driver_table; row->id != -1; ++row) {
    const std::int32_t ready = row->init(&row->data);
    row->enabled = 0;
    row->result = 0;
    if (ready == 0) {
      fail_phase(INIT_FAILED);
    }
    check_after_call(INIT_FAILED);
  }
}

void set_rows() {
  for (DriverRow* row = driver_table; row->id != -1; ++row) {
    row->set(row->enabled, row->data);
    check_after_call(SET_FAILED);
  }
}

void status_rows() {
  for (DriverRow* row = driver_table; row->id != -1; ++row) {
    row->status(row->enabled, row->data);
    check_after_call(STATUS_FAILED);
  }
  log_message(1, "\n");
}

// Advances the enabled row; when it has wrapped, the enabled flag moves on to
// the next row. 0 once the last row has wrapped.
std::int32_t update_rows() {
  std::int32_t all_wrapped = 1;
  DriverRow* first_enabled = nullptr;
  DriverRow* last = driver_table;
  for (DriverRow* row = driver_table; row->id != -1; ++row) {
    if (row->enabled != 0) {
      row->result = row->update(row->data);
      check_after_call(UPDATE_FAILED);
      if (row->result == 0) {
        all_wrapped = 0;
      }
      if (first_enabled == nullptr) {
        first_enabled = row;
      }
    } else {
      row->result = 1;
    }
    last = row;
  }
  if (all_wrapped == 0) {
    return 1;
  }
  if (last->enabled != 0) {
    return 0;
  }
  if (first_enabled == nullptr) {
    driver_table[0].enabled = 1;
    return 1;
  }
  first_enabled->enabled = 0;
  first_enabled[1].enabled = 1;
  return 1;
}

void end_rows() {
  for (DriverRow* row = driver_table; row->id != -1; ++row) {
    if (row->data != nullptr) {
      std::free(row->data);
      row->data = nullptr;
    }
  }
}

}  // namespace
}  // namespace quillet

std::int32_t check_gl() {
  if (glGetError() == GL_NO_ERROR) {
    return 0;
  }
  log_message(1, "\n");
  quillet::fail_run();
}

std::int32_t dispatch_drivers(DriverOp op) {
  switch (op) {
    case DRIVER_OP_INIT: quillet::init_rows(); return 1;
    case DRIVER_OP_SET: quillet::set_rows(); return 1;
    case DRIVER_OP_STATUS: quillet::status_rows(); return 1;
    case DRIVER_OP_UPDATE: return quillet::update_rows();
    case DRIVER_OP_END: quillet::end_rows(); return 1;
  }
  return 0;
}
