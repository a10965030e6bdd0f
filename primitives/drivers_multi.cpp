// SPDX-License-Identifier: MIT
// Hint, Blend, Lighting and Stencil: two to four GL parameters walked
// together, every combination of their value lists in turn.
#include <GLES/gl.h>

#include "fixedmath/fixedmath.h"
#include "harness/harness.h"
#include "primitives/cursors.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"

namespace quillet {
namespace {

constexpr ValueEntry HINT_TARGET_LIST[] = {{GL_POINT_SMOOTH_HINT, "GL_POINT_SMOOTH_HINT"},
                                           {GL_LINE_SMOOTH_HINT, "GL_LINE_SMOOTH_HINT"},
                                           {GL_PERSPECTIVE_CORRECTION_HINT, "GL_PERSPECTIVE_CORRECTION_HINT"},
                                           {GL_FOG_HINT, "GL_FOG_HINT"},
                                           VALUE_LIST_TERMINATOR};
static_assert(terminated_length(HINT_TARGET_LIST) == 4, "hint target list: 4 entries");

constexpr ValueEntry HINT_MODE_LIST[] = {
    {GL_NICEST, "GL_NICEST"}, {GL_FASTEST, "GL_FASTEST"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(HINT_MODE_LIST) == 2, "hint mode list: 2 entries");

constexpr ValueEntry SOURCE_FACTOR_LIST[] = {{GL_ZERO, "GL_ZERO"},
                                             {GL_ONE, "GL_ONE"},
                                             {GL_DST_COLOR, "GL_DST_COLOR"},
                                             {GL_ONE_MINUS_DST_COLOR, "GL_ONE_MINUS_DST_COLOR"},
                                             {GL_SRC_ALPHA, "GL_SRC_ALPHA"},
                                             {GL_ONE_MINUS_SRC_ALPHA, "GL_ONE_MINUS_SRC_ALPHA"},
                                             {GL_DST_ALPHA, "GL_DST_ALPHA"},
                                             {GL_ONE_MINUS_DST_ALPHA, "GL_ONE_MINUS_DST_ALPHA"},
                                             {GL_SRC_ALPHA_SATURATE, "GL_SRC_ALPHA_SATURATE"},
                                             VALUE_LIST_TERMINATOR};
static_assert(terminated_length(SOURCE_FACTOR_LIST) == 9, "source factor list: 9 entries");

constexpr ValueEntry DESTINATION_FACTOR_LIST[] = {
    {GL_ZERO, "GL_ZERO"},           {GL_ONE, "GL_ONE"},
    {GL_SRC_COLOR, "GL_SRC_COLOR"}, {GL_ONE_MINUS_SRC_COLOR, "GL_ONE_MINUS_SRC_COLOR"},
    {GL_SRC_ALPHA, "GL_SRC_ALPHA"}, {GL_ONE_MINUS_SRC_ALPHA, "GL_ONE_MINUS_SRC_ALPHA"},
    {GL_DST_ALPHA, "GL_DST_ALPHA"}, {GL_ONE_MINUS_DST_ALPHA, "GL_ONE_MINUS_DST_ALPHA"},
    VALUE_LIST_TERMINATOR};
static_assert(terminated_length(DESTINATION_FACTOR_LIST) == 8, "destination factor list: 8 entries");

constexpr ValueEntry BOOLEAN_LIST[] = {{GL_TRUE, "GL_TRUE"}, {GL_FALSE, "GL_FALSE"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(BOOLEAN_LIST) == 2, "boolean list: 2 entries");

constexpr ValueEntry STENCIL_OP_LIST[] = {
    {GL_KEEP, "GL_KEEP"},     {GL_REPLACE, "GL_REPLACE"}, {GL_INCR, "GL_INCR"}, {GL_DECR, "GL_DECR"},
    {GL_INVERT, "GL_INVERT"}, {GL_ZERO, "GL_ZERO"},       VALUE_LIST_TERMINATOR};
static_assert(terminated_length(STENCIL_OP_LIST) == 6, "stencil op list: 6 entries");

constexpr const ValueEntry* HINT_LISTS[] = {HINT_TARGET_LIST, HINT_MODE_LIST};
constexpr const ValueEntry* BLEND_LISTS[] = {SOURCE_FACTOR_LIST, DESTINATION_FACTOR_LIST};
constexpr const ValueEntry* LIGHTING_LISTS[] = {BOOLEAN_LIST, BOOLEAN_LIST};
// One stencil op list, walked by three independent cursors.
constexpr const ValueEntry* STENCIL_LISTS[] = {COMPARISON_LIST, STENCIL_OP_LIST, STENCIL_OP_LIST,
                                               STENCIL_OP_LIST};

// The hint targets that the disabled form puts back to GL_DONT_CARE.
constexpr GLenum HINT_TARGETS[] = {GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT, GL_PERSPECTIVE_CORRECTION_HINT,
                                   GL_FOG_HINT};

// The eight lights that Lighting's init configures and enables.
constexpr GLenum LIGHT_TABLE[] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3,
                                  GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7};
static_assert(sizeof LIGHT_TABLE / sizeof LIGHT_TABLE[0] == 8, "light table: 8 lights");

GLenum current(void* data, std::int32_t k) {
  return static_cast<GLenum>(cursors(data)->value[k]);
}

// The heading line, then the first two current names on one tab line.
void print_pair_status(std::int32_t enabled, void* data, const char* on_line, const char* off_line) {
  if (enabled != 0) {
    log_message(1, "%s", on_line);
    log_message(1, "\t%s, %s.\n", cursors(data)->name[0], cursors(data)->name[1]);
  } else {
    log_message(1, "%s", off_line);
  }
}

// The ten parameters every light gets, in the order they are issued.
void configure_light(GLenum light, GLfixed light_ambient) {
  const GLfixed ambient[4] = {light_ambient, light_ambient, light_ambient, FIXED_ONE};
  const GLfixed diffuse[4] = {0x8000, FIXED_ONE, FIXED_ONE, FIXED_ONE};
  const GLfixed specular[4] = {0x8000, FIXED_ONE, FIXED_ONE, FIXED_ONE};
  // (24.0, 24.0, -100.0, 1.0); its first three values are the spot direction.
  const GLfixed position[4] = {0x180000, 0x180000, -0x640000, FIXED_ONE};
  const GLfixed spot_exponent[1] = {FIXED_ONE};
  const GLfixed spot_cutoff[1] = {0};
  const GLfixed attenuation[1] = {FIXED_ONE};
  glLightxv(light, GL_AMBIENT, ambient);
  glLightxv(light, GL_DIFFUSE, diffuse);
  glLightxv(light, GL_SPECULAR, specular);
  glLightxv(light, GL_POSITION, position);
  glLightxv(light, GL_SPOT_DIRECTION, position);
  glLightxv(light, GL_SPOT_EXPONENT, spot_exponent);
  glLightxv(light, GL_SPOT_CUTOFF, spot_cutoff);
  glLightxv(light, GL_CONSTANT_ATTENUATION, attenuation);
  glLightxv(light, GL_LINEAR_ATTENUATION, attenuation);
  glLightxv(light, GL_QUADRATIC_ATTENUATION, attenuation);
}

}  // namespace

std::int32_t hint_init(void** data) {
  return init_list_record(data, HINT_LISTS);
}

// Only the current target's hint is written while enabled, so targets already
// visited keep their last mode until the disabled form resets them all.
std::int32_t hint_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    glHint(current(data, 0), current(data, 1));
  } else {
    for (GLenum target : HINT_TARGETS) {
      glHint(target, GL_DONT_CARE);
    }
  }
  return check_gl();
}

void hint_status(std::int32_t enabled, void* data) {
  print_pair_status(enabled, data, "Hint.\n", "Hint GL_DONT_CARE.\n");
}

std::int32_t blend_init(void** data) {
  return init_list_record(data, BLEND_LISTS);
}

std::int32_t blend_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    glBlendFunc(current(data, 0), current(data, 1));
    glEnable(GL_BLEND);
  } else {
    glDisable(GL_BLEND);
  }
  return check_gl();
}

void blend_status(std::int32_t enabled, void* data) {
  print_pair_status(enabled, data, "Blend on.\n", "Blend off.\n");
}

// Material and eight lights, set once; the decimal constants go through the
// number library first, in the order they are used.
std::int32_t lighting_init(void** data) {
  const GLfixed model_ambient = parse_fixed("0.2");
  const GLfixed light_ambient = parse_fixed("0.1");
  const GLfixed material_specular = parse_fixed("0.2");
  const GLfixed diffuse_green = parse_fixed("0.28");
  const GLfixed diffuse_blue = parse_fixed("0.38");
  const GLfixed material_ambient = parse_fixed("0.2");
  if (init_list_record(data, LIGHTING_LISTS) == 0) {
    return 0;
  }

  const GLfixed model[4] = {model_ambient, model_ambient, model_ambient, FIXED_ONE};
  glLightModelxv(GL_LIGHT_MODEL_AMBIENT, model);

  const GLfixed shininess[1] = {0x1E0000};  // 30.0
  const GLfixed specular[4] = {material_specular, material_specular, material_specular, FIXED_ONE};
  const GLfixed diffuse[4] = {0x8000, diffuse_green, diffuse_blue, FIXED_ONE};
  const GLfixed emission[4] = {0, 0, 0, FIXED_ONE};
  const GLfixed ambient[4] = {material_ambient, material_ambient, material_ambient, FIXED_ONE};
  glMaterialxv(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
  glMaterialxv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialxv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialxv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
  glMaterialxv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);

  for (GLenum light : LIGHT_TABLE) {
    configure_light(light, light_ambient);
    glEnable(light);
  }
  check_gl();
  return 1;
}

// The second boolean chooses the two-sided model (GL_TRUE becomes 1.0); the
// first takes part in the combinations and the status line only.
std::int32_t lighting_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    const GLfixed two_side[1] = {static_cast<GLfixed>(cursors(data)->value[1] * FIXED_ONE)};
    glLightModelxv(GL_LIGHT_MODEL_TWO_SIDE, two_side);
    glEnable(GL_LIGHTING);
  } else {
    glDisable(GL_LIGHTING);
  }
  return check_gl();
}

void lighting_status(std::int32_t enabled, void* data) {
  print_pair_status(enabled, data, "Lighting on.\n", "Lighting off.\n");
}

std::int32_t stencil_init(void** data) {
  return init_list_record(data, STENCIL_LISTS);
}

// Reference 0 and all-ones masks; the operations are stencil fail, depth fail
// and depth pass.
std::int32_t stencil_set(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    glStencilFunc(current(data, 0), 0, 0xFFFFFFFFu);
    glStencilOp(current(data, 1), current(data, 2), current(data, 3));
    glStencilMask(0xFFFFFFFFu);
    glEnable(GL_STENCIL_TEST);
  } else {
    glDisable(GL_STENCIL_TEST);
  }
  return check_gl();
}

void stencil_status(std::int32_t enabled, void* data) {
  if (enabled != 0) {
    const ListCursors* record = cursors(data);
    log_message(1, "Stencil on.\n");
    log_message(1, "\t%s, %s, %s, %s.\n", record->name[0], record->name[1], record->name[2], record->name[3]);
  } else {
    log_message(1, "Stencil off.\n");
  }
}

}  // namespace quillet
