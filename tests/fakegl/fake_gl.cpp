// The OpenGL ES 1.x entry points that quillet_cl uses. They record their
// arguments (enumerations by name, GLfixed values in hex) and keep the GL
// error state; glDrawArrays records the contents of the enabled client arrays.
#include <GLES/gl.h>

#include <cstdint>

#include "fake_internal.h"

namespace {

struct GlState {
  GLenum error = GL_NO_ERROR;
  struct ClientArray {
    bool enabled = false;
    GLint size = 0;
    const void* pointer = nullptr;
  };
  ClientArray color, vertex, normal, texcoord;
};

GlState& gl() {
  static GlState state;
  return state;
}

struct EnumName {
  GLenum value;
  const char* name;
};
#define E(x) \
  { x, #x }
// Enumerations named in the record. Values shared by several names (GL_ZERO,
// GL_POINTS, GL_FALSE...) print as the first name listed; the record shows
// such values in the context of the call, so no confusion arises.
const EnumName ENUM_NAMES[] = {E(GL_POINT_SMOOTH),
                               E(GL_LINE_SMOOTH),
                               E(GL_DITHER),
                               E(GL_SCISSOR_TEST),
                               E(GL_ALPHA_TEST),
                               E(GL_DEPTH_TEST),
                               E(GL_FOG),
                               E(GL_LIGHTING),
                               E(GL_COLOR_LOGIC_OP),
                               E(GL_BLEND),
                               E(GL_STENCIL_TEST),
                               E(GL_TEXTURE_2D),
                               E(GL_LIGHT0),
                               E(GL_LIGHT1),
                               E(GL_LIGHT2),
                               E(GL_LIGHT3),
                               E(GL_LIGHT4),
                               E(GL_LIGHT5),
                               E(GL_LIGHT6),
                               E(GL_LIGHT7),
                               E(GL_POINT_SMOOTH_HINT),
                               E(GL_LINE_SMOOTH_HINT),
                               E(GL_PERSPECTIVE_CORRECTION_HINT),
                               E(GL_FOG_HINT),
                               E(GL_DONT_CARE),
                               E(GL_FASTEST),
                               E(GL_NICEST),
                               E(GL_NEVER),
                               E(GL_LESS),
                               E(GL_EQUAL),
                               E(GL_LEQUAL),
                               E(GL_GREATER),
                               E(GL_NOTEQUAL),
                               E(GL_GEQUAL),
                               E(GL_ALWAYS),
                               E(GL_SRC_COLOR),
                               E(GL_ONE_MINUS_SRC_COLOR),
                               E(GL_SRC_ALPHA),
                               E(GL_ONE_MINUS_SRC_ALPHA),
                               E(GL_DST_ALPHA),
                               E(GL_ONE_MINUS_DST_ALPHA),
                               E(GL_DST_COLOR),
                               E(GL_ONE_MINUS_DST_COLOR),
                               E(GL_SRC_ALPHA_SATURATE),
                               E(GL_FOG_MODE),
                               E(GL_FOG_DENSITY),
                               E(GL_FOG_START),
                               E(GL_FOG_END),
                               E(GL_FOG_COLOR),
                               E(GL_EXP),
                               E(GL_EXP2),
                               E(GL_CLEAR),
                               E(GL_AND),
                               E(GL_AND_REVERSE),
                               E(GL_COPY),
                               E(GL_AND_INVERTED),
                               E(GL_NOOP),
                               E(GL_XOR),
                               E(GL_OR),
                               E(GL_NOR),
                               E(GL_EQUIV),
                               E(GL_INVERT),
                               E(GL_OR_REVERSE),
                               E(GL_COPY_INVERTED),
                               E(GL_OR_INVERTED),
                               E(GL_NAND),
                               E(GL_SET),
                               E(GL_FLAT),
                               E(GL_SMOOTH),
                               E(GL_LIGHT_MODEL_AMBIENT),
                               E(GL_LIGHT_MODEL_TWO_SIDE),
                               E(GL_FRONT_AND_BACK),
                               E(GL_SHININESS),
                               E(GL_SPECULAR),
                               E(GL_DIFFUSE),
                               E(GL_EMISSION),
                               E(GL_AMBIENT),
                               E(GL_POSITION),
                               E(GL_SPOT_DIRECTION),
                               E(GL_SPOT_EXPONENT),
                               E(GL_SPOT_CUTOFF),
                               E(GL_CONSTANT_ATTENUATION),
                               E(GL_LINEAR_ATTENUATION),
                               E(GL_QUADRATIC_ATTENUATION),
                               E(GL_KEEP),
                               E(GL_REPLACE),
                               E(GL_INCR),
                               E(GL_DECR),
                               E(GL_TEXTURE_ENV),
                               E(GL_TEXTURE_ENV_MODE),
                               E(GL_TEXTURE_ENV_COLOR),
                               E(GL_MODULATE),
                               E(GL_DECAL),
                               E(GL_TEXTURE_WRAP_S),
                               E(GL_TEXTURE_WRAP_T),
                               E(GL_TEXTURE_MIN_FILTER),
                               E(GL_TEXTURE_MAG_FILTER),
                               E(GL_REPEAT),
                               E(GL_CLAMP_TO_EDGE),
                               E(GL_NEAREST),
                               E(GL_LINEAR),
                               E(GL_NEAREST_MIPMAP_NEAREST),
                               E(GL_LINEAR_MIPMAP_NEAREST),
                               E(GL_NEAREST_MIPMAP_LINEAR),
                               E(GL_LINEAR_MIPMAP_LINEAR),
                               E(GL_ALPHA),
                               E(GL_RGB),
                               E(GL_RGBA),
                               E(GL_LUMINANCE),
                               E(GL_LUMINANCE_ALPHA),
                               E(GL_UNSIGNED_BYTE),
                               E(GL_FIXED),
                               E(GL_PROJECTION),
                               E(GL_MODELVIEW),
                               E(GL_COLOR_ARRAY),
                               E(GL_VERTEX_ARRAY),
                               E(GL_NORMAL_ARRAY),
                               E(GL_TEXTURE_COORD_ARRAY),
                               E(GL_POINTS),
                               E(GL_LINES),
                               E(GL_TRIANGLES),
                               E(GL_EXTENSIONS),
                               E(GL_VENDOR),
                               E(GL_RENDERER),
                               E(GL_VERSION),
                               E(GL_ONE)};
#undef E

std::string enum_name(GLenum value) {
  for (const EnumName& entry : ENUM_NAMES) {
    if (entry.value == value) return entry.name;
  }
  return fake_format("0x%04X", value);
}

std::string fixed(GLfixed value) {
  return fake_format("0x%X", static_cast<unsigned>(value));
}

std::string fixed_array(const GLfixed* values, int count) {
  if (values == nullptr) return "NULL";
  std::string text = "{";
  for (int i = 0; i < count; ++i) {
    if (i != 0) text += ", ";
    text += fixed(values[i]);
  }
  return text + "}";
}

// Number of values a parameter-vector call reads for the parameter.
int parameter_count(GLenum pname) {
  switch (pname) {
    case GL_FOG_COLOR:
    case GL_LIGHT_MODEL_AMBIENT:
    case GL_SPECULAR:
    case GL_DIFFUSE:
    case GL_EMISSION:
    case GL_AMBIENT:
    case GL_POSITION:
    case GL_TEXTURE_ENV_COLOR: return 4;
    case GL_SPOT_DIRECTION: return 3;
    default: return 1;
  }
}

// Counts the call; a scripted fault leaves its error pending, like GL's own.
void gl_call(const char* function, const std::string& line) {
  const int fault = fake_enter(function);
  if (fault != 0 && gl().error == GL_NO_ERROR) gl().error = static_cast<GLenum>(fault);
  if (fake_scenario().record_gl) fake_record(line);
}

std::string array_contents(const GlState::ClientArray& array, int components, GLint first, GLsizei count) {
  if (!array.enabled) return "off";
  const GLfixed* values = static_cast<const GLfixed*>(array.pointer);
  if (values == nullptr) return "NULL";
  return fixed_array(values + first * components, count * components);
}

}  // namespace

void fake_gl_reset() {
  gl() = GlState();
}

extern "C" {

GLenum GL_APIENTRY glGetError(void) {
  fake_enter("glGetError");
  const GLenum error = gl().error;
  gl().error = GL_NO_ERROR;
  return error;
}

const GLubyte* GL_APIENTRY glGetString(GLenum name) {
  gl_call("glGetString", "glGetString(" + enum_name(name) + ")");
  if (name == GL_EXTENSIONS) return reinterpret_cast<const GLubyte*>(fake_scenario().gl_extensions.c_str());
  return reinterpret_cast<const GLubyte*>("fakegl");
}

void GL_APIENTRY glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  gl_call("glViewport", fake_format("glViewport(%d, %d, %d, %d)", x, y, w, h));
}
void GL_APIENTRY glScissor(GLint x, GLint y, GLsizei w, GLsizei h) {
  gl_call("glScissor", fake_format("glScissor(%d, %d, %d, %d)", x, y, w, h));
}
void GL_APIENTRY glMatrixMode(GLenum mode) {
  gl_call("glMatrixMode", "glMatrixMode(" + enum_name(mode) + ")");
}
void GL_APIENTRY glLoadMatrixx(const GLfixed* m) {
  gl_call("glLoadMatrixx", "glLoadMatrixx(" + fixed_array(m, 16) + ")");
}
void GL_APIENTRY glClearColorx(GLfixed r, GLfixed g, GLfixed b, GLfixed a) {
  gl_call("glClearColorx",
          "glClearColorx(" + fixed(r) + ", " + fixed(g) + ", " + fixed(b) + ", " + fixed(a) + ")");
}
void GL_APIENTRY glClear(GLbitfield mask) {
  gl_call("glClear", fake_format("glClear(0x%X)", mask));
}
void GL_APIENTRY glEnable(GLenum cap) {
  gl_call("glEnable", "glEnable(" + enum_name(cap) + ")");
}
void GL_APIENTRY glDisable(GLenum cap) {
  gl_call("glDisable", "glDisable(" + enum_name(cap) + ")");
}
void GL_APIENTRY glHint(GLenum target, GLenum mode) {
  gl_call("glHint", "glHint(" + enum_name(target) + ", " + enum_name(mode) + ")");
}
void GL_APIENTRY glAlphaFuncx(GLenum func, GLfixed ref) {
  gl_call("glAlphaFuncx", "glAlphaFuncx(" + enum_name(func) + ", " + fixed(ref) + ")");
}
void GL_APIENTRY glBlendFunc(GLenum sfactor, GLenum dfactor) {
  gl_call("glBlendFunc", fake_format("glBlendFunc(0x%X, 0x%X)", sfactor, dfactor));
}
void GL_APIENTRY glDepthFunc(GLenum func) {
  gl_call("glDepthFunc", "glDepthFunc(" + enum_name(func) + ")");
}
void GL_APIENTRY glDepthRangex(GLfixed n, GLfixed f) {
  gl_call("glDepthRangex", "glDepthRangex(" + fixed(n) + ", " + fixed(f) + ")");
}
void GL_APIENTRY glFogxv(GLenum pname, const GLfixed* params) {
  gl_call("glFogxv",
          "glFogxv(" + enum_name(pname) + ", " + fixed_array(params, parameter_count(pname)) + ")");
}
void GL_APIENTRY glLogicOp(GLenum op) {
  gl_call("glLogicOp", "glLogicOp(" + enum_name(op) + ")");
}
void GL_APIENTRY glShadeModel(GLenum mode) {
  gl_call("glShadeModel", "glShadeModel(" + enum_name(mode) + ")");
}
void GL_APIENTRY glLightModelxv(GLenum pname, const GLfixed* params) {
  gl_call("glLightModelxv",
          "glLightModelxv(" + enum_name(pname) + ", " + fixed_array(params, parameter_count(pname)) + ")");
}
void GL_APIENTRY glMaterialxv(GLenum face, GLenum pname, const GLfixed* params) {
  gl_call("glMaterialxv", "glMaterialxv(" + enum_name(face) + ", " + enum_name(pname) + ", " +
                              fixed_array(params, parameter_count(pname)) + ")");
}
void GL_APIENTRY glLightxv(GLenum light, GLenum pname, const GLfixed* params) {
  gl_call("glLightxv", "glLightxv(" + enum_name(light) + ", " + enum_name(pname) + ", " +
                           fixed_array(params, parameter_count(pname)) + ")");
}
void GL_APIENTRY glStencilFunc(GLenum func, GLint ref, GLuint mask) {
  gl_call("glStencilFunc", "glStencilFunc(" + enum_name(func) + fake_format(", %d, 0x%X)", ref, mask));
}
void GL_APIENTRY glStencilOp(GLenum fail, GLenum zfail, GLenum zpass) {
  gl_call("glStencilOp", fake_format("glStencilOp(0x%X, 0x%X, 0x%X)", fail, zfail, zpass));
}
void GL_APIENTRY glStencilMask(GLuint mask) {
  gl_call("glStencilMask", fake_format("glStencilMask(0x%X)", mask));
}
void GL_APIENTRY glTexEnvxv(GLenum target, GLenum pname, const GLfixed* params) {
  gl_call("glTexEnvxv", "glTexEnvxv(" + enum_name(target) + ", " + enum_name(pname) + ", " +
                            fixed_array(params, parameter_count(pname)) + ")");
}
void GL_APIENTRY glTexParameterx(GLenum target, GLenum pname, GLfixed param) {
  gl_call("glTexParameterx",
          "glTexParameterx(" + enum_name(target) + ", " + enum_name(pname) + ", " + enum_name(param) + ")");
}
void GL_APIENTRY glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height,
                              GLint border, GLenum format, GLenum type, const void* pixels) {
  int bytes_per_texel = 0;
  switch (format) {
    case GL_ALPHA:
    case GL_LUMINANCE: bytes_per_texel = 1; break;
    case GL_LUMINANCE_ALPHA: bytes_per_texel = 2; break;
    case GL_RGB: bytes_per_texel = 3; break;
    case GL_RGBA: bytes_per_texel = 4; break;
    default: break;
  }
  std::string data;
  const unsigned char* bytes = static_cast<const unsigned char*>(pixels);
  for (int i = 0; bytes != nullptr && i < width * height * bytes_per_texel; ++i) {
    data += fake_format("%02X", bytes[i]);
  }
  gl_call("glTexImage2D", "glTexImage2D(" + enum_name(target) + fake_format(", %d, ", level) +
                              enum_name(static_cast<GLenum>(internalformat)) +
                              fake_format(", %d, %d, %d, ", width, height, border) + enum_name(format) +
                              ", " + enum_name(type) + ", " + (bytes == nullptr ? "NULL" : data) + ")");
}
void GL_APIENTRY glEnableClientState(GLenum array) {
  gl_call("glEnableClientState", "glEnableClientState(" + enum_name(array) + ")");
  GlState& state = gl();
  if (array == GL_COLOR_ARRAY) state.color.enabled = true;
  if (array == GL_VERTEX_ARRAY) state.vertex.enabled = true;
  if (array == GL_NORMAL_ARRAY) state.normal.enabled = true;
  if (array == GL_TEXTURE_COORD_ARRAY) state.texcoord.enabled = true;
}
void GL_APIENTRY glDisableClientState(GLenum array) {
  gl_call("glDisableClientState", "glDisableClientState(" + enum_name(array) + ")");
  GlState& state = gl();
  if (array == GL_COLOR_ARRAY) state.color.enabled = false;
  if (array == GL_VERTEX_ARRAY) state.vertex.enabled = false;
  if (array == GL_NORMAL_ARRAY) state.normal.enabled = false;
  if (array == GL_TEXTURE_COORD_ARRAY) state.texcoord.enabled = false;
}
void GL_APIENTRY glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  gl_call("glColorPointer",
          fake_format("glColorPointer(%d, ", size) + enum_name(type) + fake_format(", %d)", stride));
  gl().color.size = size;
  gl().color.pointer = pointer;
}
void GL_APIENTRY glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  gl_call("glVertexPointer",
          fake_format("glVertexPointer(%d, ", size) + enum_name(type) + fake_format(", %d)", stride));
  gl().vertex.size = size;
  gl().vertex.pointer = pointer;
}
void GL_APIENTRY glNormalPointer(GLenum type, GLsizei stride, const void* pointer) {
  gl_call("glNormalPointer", "glNormalPointer(" + enum_name(type) + fake_format(", %d)", stride));
  gl().normal.size = 3;
  gl().normal.pointer = pointer;
}
void GL_APIENTRY glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  gl_call("glTexCoordPointer",
          fake_format("glTexCoordPointer(%d, ", size) + enum_name(type) + fake_format(", %d)", stride));
  gl().texcoord.size = size;
  gl().texcoord.pointer = pointer;
}
void GL_APIENTRY glPointSizex(GLfixed size) {
  gl_call("glPointSizex", "glPointSizex(" + fixed(size) + ")");
}
void GL_APIENTRY glLineWidthx(GLfixed width) {
  gl_call("glLineWidthx", "glLineWidthx(" + fixed(width) + ")");
}
void GL_APIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  const GlState& state = gl();
  gl_call("glDrawArrays", "glDrawArrays(" + enum_name(mode) + fake_format(", %d, %d)", first, count) +
                              " color=" + array_contents(state.color, state.color.size, first, count) +
                              " vertex=" + array_contents(state.vertex, state.vertex.size, first, count) +
                              " normal=" + array_contents(state.normal, 3, first, count) + " texcoord=" +
                              array_contents(state.texcoord, state.texcoord.size, first, count));
}
void GL_APIENTRY glFlush(void) {
  gl_call("glFlush", "glFlush()");
}

}  // extern "C"
