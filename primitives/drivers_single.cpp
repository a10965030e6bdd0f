// SPDX-License-Identifier: MIT
// Alpha, Depth, Fog, Logic Op and Shading: one GL parameter walked over one
// value list.
#include <GLES/gl.h>

#include "fixedmath/fixedmath.h"
#include "harness/harness.h"
#include "primitives/cursors.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"

namespace quillet {
namespace {

constexpr ValueEntry FOG_MODE_LIST[] = {
    {GL_LINEAR, "GL_LINEAR"}, {GL_EXP, "GL_EXP"}, {GL_EXP2, "GL_EXP2"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(FOG_MODE_LIST) == 3, "fog mode list: 3 entries");

// Tried in this order, not in the numeric order of the values.
constexpr ValueEntry LOGIC_OP_LIST[] = {{GL_NOOP, "GL_NOOP"},
                                        {GL_SET, "GL_SET"},
                                        {GL_EQUIV, "GL_EQUIV"},
                                        {GL_INVERT, "GL_INVERT"},
                                        {GL_CLEAR, "GL_CLEAR"},
                                        {GL_COPY, "GL_COPY"},
                                        {GL_COPY_INVERTED, "GL_COPY_INVERTED"},
                                        {GL_AND, "GL_AND"},
                                        {GL_AND_REVERSE, "GL_AND_REVERSE"},
                                        {GL_AND_INVERTED, "GL_AND_INVERTED"},
                                        {GL_OR, "GL_OR"},
                                        {GL_OR_REVERSE, "GL_OR_REVERSE"},
                                        {GL_OR_INVERTED, "GL_OR_INVERTED"},
                                        {GL_NAND, "GL_NAND"},
                                        {GL_XOR, "GL_XOR"},
                                        {GL_NOR, "GL_NOR"},
                                        VALUE_LIST_TERMINATOR};
static_assert(terminated_length(LOGIC_OP_LIST) == 16, "logic op list: 16 entries");

constexpr ValueEntry SHADE_MODEL_LIST[] = {{GL_FLAT, "GL_FLAT"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(SHADE_MODEL_LIST) == 1, "shade model list: 1 entry");

constexpr const ValueEntry* ALPHA_LISTS[] = {COMPARISON_LIST};
constexpr const ValueEntry* DEPTH_LISTS[] = {COMPARISON_LIST};
constexpr const ValueEntry* FOG_LISTS[] = {FOG_MODE_LIST};
constexpr const ValueEntry* LOGIC_OP_LISTS[] = {LOGIC_OP_LIST};
constexpr const ValueEntry* SHADING_LISTS[] = {SHADE_MODEL_LIST};

// The common status form: "<Name> on." and the current entry, or "<Name> off.".
void print_single_status(std::int32_t enabled, void* data, const char* driver_name) {
  if (enabled != 0) {
    log_message(1, "%s on.\n", driver_name);
    log_message(1, "\t%s.\n", cursors(data)->name[0]);
  } else {
    log_message(1, "%s off.\n", driver_name);
  }
}

}  // namespace

std::int32_t alpha_init(void** data) {
  return init_list_record(data, ALPHA_LISTS);
}

std::int32_t alpha_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    glAlphaFuncx(static_cast<GLenum>(cursors(data)->value[0]), FIXED_ONE);
    glEnable(GL_ALPHA_TEST);
  } else {
    glDisable(GL_ALPHA_TEST);
  }
  return check_gl();
}

void alpha_status(std::int32_t enabled, void* data) {
  print_single_status(enabled, data, "Alpha");
}

std::int32_t depth_init(void** data) {
  return init_list_record(data, DEPTH_LISTS);
}

// The range -1.0 to 1.0 is passed as it stands; GL clamps it to 0 to 1.
std::int32_t depth_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    glDepthFunc(static_cast<GLenum>(cursors(data)->value[0]));
    glDepthRangex(-FIXED_ONE, FIXED_ONE);
    glEnable(GL_DEPTH_TEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
  return check_gl();
}

void depth_status(std::int32_t enabled, void* data) {
  print_single_status(enabled, data, "Depth");
}

// The fixed fog parameters are set once here; only the mode changes per frame.
std::int32_t fog_init(void** data) {
  if (init_list_record(data, FOG_LISTS) == 0) {
    return 0;
  }
  const GLfixed colour[4] = {FIXED_ONE, FIXED_ONE, FIXED_ONE, FIXED_ONE};
  const GLfixed density[1] = {FIXED_ONE};
  const GLfixed start[1] = {0};
  const GLfixed end[1] = {FIXED_ONE};
  glFogxv(GL_FOG_COLOR, colour);
  glFogxv(GL_FOG_DENSITY, density);
  glFogxv(GL_FOG_START, start);
  glFogxv(GL_FOG_END, end);
  check_gl();
  return 1;
}

// The mode's enumeration value is the parameter itself, not scaled by 65536.
std::int32_t fog_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    const GLfixed mode[1] = {cursors(data)->value[0]};
    glFogxv(GL_FOG_MODE, mode);
    glEnable(GL_FOG);
  } else {
    glDisable(GL_FOG);
  }
  return check_gl();
}

void fog_status(std::int32_t enabled, void* data) {
  print_single_status(enabled, data, "Fog");
}

std::int32_t logic_op_init(void** data) {
  return init_list_record(data, LOGIC_OP_LISTS);
}

std::int32_t logic_op_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    glLogicOp(static_cast<GLenum>(cursors(data)->value[0]));
    glEnable(GL_COLOR_LOGIC_OP);
  } else {
    glDisable(GL_COLOR_LOGIC_OP);
  }
  return check_gl();
}

void logic_op_status(std::int32_t enabled, void* data) {
  print_single_status(enabled, data, "Logic Op");
}

std::int32_t shading_init(void** data) {
  return init_list_record(data, SHADING_LISTS);
}

// No capability to switch: the disabled form is smooth shading.
std::int32_t shading_set(std::int32_t enabled, void* data) {
  glShadeModel(enabled != 0 ? static_cast<GLenum>(cursors(data)->value[0]) : GL_SMOOTH);
  return check_gl();
}

// The enabled form prints the model without a closing period.
void shading_status(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    log_message(1, "Shading.\n");
    log_message(1, "\t%s\n", cursors(data)->name[0]);
  } else {
    log_message(1, "Shading SMOOTH.\n");
  }
}

}  // namespace quillet
