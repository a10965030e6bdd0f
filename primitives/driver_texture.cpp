// SPDX-License-Identifier: MIT
// Texture: environment mode, wrap modes, filters and pixel format walked over
// eight value lists, with a 4 by 4 checkerboard image specified every frame.
#include <GLES/gl.h>

#include "harness/harness.h"
#include "primitives/cursors.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"

namespace quillet {
namespace {

constexpr ValueEntry TEXTURE_TARGET_LIST[] = {{GL_TEXTURE_2D, "GL_TEXTURE_2D"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(TEXTURE_TARGET_LIST) == 1, "texture target list: 1 entry");

constexpr ValueEntry ENVIRONMENT_MODE_LIST[] = {
    {GL_MODULATE, "GL_MODULATE"}, {GL_DECAL, "GL_DECAL"}, {GL_BLEND, "GL_BLEND"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(ENVIRONMENT_MODE_LIST) == 3, "environment mode list: 3 entries");

constexpr ValueEntry WRAP_LIST[] = {
    {GL_REPEAT, "GL_REPEAT"}, {GL_CLAMP_TO_EDGE, "GL_CLAMP_TO_EDGE"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(WRAP_LIST) == 2, "wrap list: 2 entries");

constexpr ValueEntry MINIFICATION_FILTER_LIST[] = {{GL_NEAREST, "GL_NEAREST"},
                                                   {GL_LINEAR, "GL_LINEAR"},
                                                   {GL_NEAREST_MIPMAP_NEAREST, "GL_NEAREST_MIPMAP_NEAREST"},
                                                   {GL_LINEAR_MIPMAP_NEAREST, "GL_LINEAR_MIPMAP_NEAREST"},
                                                   {GL_NEAREST_MIPMAP_LINEAR, "GL_NEAREST_MIPMAP_LINEAR"},
                                                   {GL_LINEAR_MIPMAP_LINEAR, "GL_LINEAR_MIPMAP_LINEAR"},
                                                   VALUE_LIST_TERMINATOR};
static_assert(terminated_length(MINIFICATION_FILTER_LIST) == 6, "minification filter list: 6 entries");

constexpr ValueEntry MAGNIFICATION_FILTER_LIST[] = {
    {GL_NEAREST, "GL_NEAREST"}, {GL_LINEAR, "GL_LINEAR"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(MAGNIFICATION_FILTER_LIST) == 2, "magnification filter list: 2 entries");

constexpr ValueEntry TEXTURE_FORMAT_LIST[] = {{GL_ALPHA, "GL_ALPHA"},
                                              {GL_RGB, "GL_RGB"},
                                              {GL_RGBA, "GL_RGBA"},
                                              {GL_LUMINANCE, "GL_LUMINANCE"},
                                              {GL_LUMINANCE_ALPHA, "GL_LUMINANCE_ALPHA"},
                                              VALUE_LIST_TERMINATOR};
static_assert(terminated_length(TEXTURE_FORMAT_LIST) == 5, "texture format list: 5 entries");

// The one type, five times: five combinations of identical state.
constexpr ValueEntry TEXEL_TYPE_LIST[] = {
    {GL_UNSIGNED_BYTE, "GL_UNSIGNED_BYTE"}, {GL_UNSIGNED_BYTE, "GL_UNSIGNED_BYTE"},
    {GL_UNSIGNED_BYTE, "GL_UNSIGNED_BYTE"}, {GL_UNSIGNED_BYTE, "GL_UNSIGNED_BYTE"},
    {GL_UNSIGNED_BYTE, "GL_UNSIGNED_BYTE"}, VALUE_LIST_TERMINATOR};
static_assert(terminated_length(TEXEL_TYPE_LIST) == 5, "texel type list: 5 entries");

// Largest texture image: 16 texels of 4 bytes.
enum { TEXTURE_IMAGE_BYTES = 64 };

// Cursor order; the texel type varies fastest.
enum {
  TEXTURE_TARGET = 0,
  ENVIRONMENT_MODE = 1,
  WRAP_S = 2,
  WRAP_T = 3,
  MINIFICATION_FILTER = 4,
  MAGNIFICATION_FILTER = 5,
  TEXTURE_FORMAT = 6,
  TEXEL_TYPE = 7
};
constexpr const ValueEntry* TEXTURE_LISTS[] = {
    TEXTURE_TARGET_LIST,      ENVIRONMENT_MODE_LIST,     WRAP_LIST,           WRAP_LIST,
    MINIFICATION_FILTER_LIST, MAGNIFICATION_FILTER_LIST, TEXTURE_FORMAT_LIST, TEXEL_TYPE_LIST};
static_assert(sizeof TEXTURE_LISTS / sizeof TEXTURE_LISTS[0] == TEXEL_TYPE + 1, "texture: 8 lists");

// The source image: 4 rows of 4 RGBA texels, dark and light alternating.
enum { CHECKERBOARD_TEXELS = 16 };
constexpr unsigned char DARK[4] = {0x00, 0x00, 0x00, 0x80};
constexpr unsigned char LIGHT[4] = {0xFF, 0xFF, 0xFF, 0x80};
constexpr const unsigned char* CHECKERBOARD[CHECKERBOARD_TEXELS] = {DARK,  LIGHT, DARK,  LIGHT,  //
                                                                    LIGHT, DARK,  LIGHT, DARK,   //
                                                                    DARK,  LIGHT, DARK,  LIGHT,  //
                                                                    LIGHT, DARK,  LIGHT, DARK};

// Which bytes of a source texel each format keeps, in order.
struct TexelLayout {
  std::int32_t format;
  std::int32_t byte_count;
  std::int32_t source_byte[4];
};
constexpr TexelLayout TEXEL_LAYOUTS[] = {{GL_ALPHA, 1, {3, 0, 0, 0}},
                                         {GL_RGB, 3, {0, 1, 2, 0}},
                                         {GL_RGBA, 4, {0, 1, 2, 3}},
                                         {GL_LUMINANCE, 1, {0, 0, 0, 0}},
                                         {GL_LUMINANCE_ALPHA, 2, {0, 1, 0, 0}}};
static_assert(sizeof TEXEL_LAYOUTS / sizeof TEXEL_LAYOUTS[0] == 5, "texel layouts: 5 formats");

// The colour that GL_BLEND mode blends towards: mid grey at half alpha, set once.
constexpr GLfixed ENVIRONMENT_COLOUR[4] = {0x8000, 0x8000, 0x8000, 0x8000};

const TexelLayout* find_layout(std::int32_t format) {
  for (const TexelLayout& layout : TEXEL_LAYOUTS) {
    if (layout.format == format) {
      return &layout;
    }
  }
  return nullptr;
}

// Fills image with the 4x4 checkerboard in the given format; the type is
// GL_UNSIGNED_BYTE, the only one the texel type list holds.
void build_texture_image(std::int32_t format, unsigned char image[TEXTURE_IMAGE_BYTES]) {
  const TexelLayout* layout = find_layout(format);
  if (layout == nullptr) {
    return;
  }
  std::int32_t size = 0;
  for (const unsigned char* texel : CHECKERBOARD) {
    for (std::int32_t i = 0; i < layout->byte_count; ++i) {
      image[size++] = texel[layout->source_byte[i]];
    }
  }
}

}  // namespace

std::int32_t texture_init(void** data) {
  if (init_list_record(data, TEXTURE_LISTS) == 0) {
    return 0;
  }
  glTexEnvxv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, ENVIRONMENT_COLOUR);
  check_gl();
  return 1;
}

// Parameters and image are specified afresh in every enabled frame, on the
// default texture object. The mode is passed unscaled as the GLfixed parameter.
std::int32_t texture_set(std::int32_t enabled, void* data) {
  if (enabled == 0) {
    glDisable(GL_TEXTURE_2D);
    return check_gl();
  }
  const std::int32_t* value = cursors(data)->value;
  const GLenum target = static_cast<GLenum>(value[TEXTURE_TARGET]);
  const GLfixed mode[1] = {value[ENVIRONMENT_MODE]};
  glTexEnvxv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
  glTexParameterx(target, GL_TEXTURE_WRAP_S, value[WRAP_S]);
  glTexParameterx(target, GL_TEXTURE_WRAP_T, value[WRAP_T]);
  glTexParameterx(target, GL_TEXTURE_MIN_FILTER, value[MINIFICATION_FILTER]);
  glTexParameterx(target, GL_TEXTURE_MAG_FILTER, value[MAGNIFICATION_FILTER]);
  unsigned char image[TEXTURE_IMAGE_BYTES] = {};
  build_texture_image(value[TEXTURE_FORMAT], image);
  glTexImage2D(target, 0, value[TEXTURE_FORMAT], 4, 4, 0, static_cast<GLenum>(value[TEXTURE_FORMAT]),
               static_cast<GLenum>(value[TEXEL_TYPE]), image);
  glEnable(target);
  return check_gl();
}

void texture_status(std::int32_t enabled, void* data) {
  if (enabled == 0) {
    log_message(1, "Texture off.\n");
    return;
  }
  const char* const* name = cursors(data)->name;
  log_message(1, "Texture on.\n");
  log_message(1, "\t%s.\n", name[ENVIRONMENT_MODE]);
  log_message(1, "\tGL_S, %s, %s, GL_T, %s, %s.\n", name[WRAP_S], name[MINIFICATION_FILTER], name[WRAP_T],
              name[MAGNIFICATION_FILTER]);
  log_message(1, "\t%s, %s.\n", name[TEXTURE_FORMAT], name[TEXEL_TYPE]);
  log_message(1, "\t%s.\n", name[TEXTURE_TARGET]);
}

}  // namespace quillet
