// SPDX-License-Identifier: MIT
// The recording fake (see fakegl.h). The entry points are generated from two
// lists, FAKE_EGL and FAKE_GL: each row is a function with the formats of its
// arguments, and every call goes through one recorder. An argument's format
// says how it is printed and, for EGL handles, what refuses it; an EGL row
// also gives the result of a call that succeeds, a GL row what else the call
// does.
#include <EGL/egl.h>
#include <GLES/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "fakegl.h"

namespace {

using Bits = std::intptr_t;  // every argument, as the recorder sees it

// The arguments of a call; the EGL and native types are pointers or integers,
// as the platform's EGL header has them.
template <typename... T>
std::vector<Bits> bits_of(T... values) {
  return {(Bits)values...};
}

// Handles: dpy, cfg<n> for configuration n-1 of the scenario, surf<n>, ctx<n>.
constexpr Bits DISPLAY = 0xD15, CONFIG_BASE = 0x100, SURFACE_BASE = 0x5000, CONTEXT_BASE = 0x6000;

using Config = std::map<EGLint, EGLint>;  // attribute -> value; 0 when absent

struct ClientArray {
  bool enabled;
  Bits size;
  const GLfixed* data;
};

struct World {
  std::vector<Config> configs;
  bool accept_null_native = false, no_display = false;
  std::string extensions = "GL_OES_fixed_point GL_OES_query_matrix GL_OES_read_format", log_path;
  std::vector<std::string> calls;
  std::map<std::string, int> faults, counts;  // faults: "NAME:N" -> code
  EGLint egl_error = EGL_SUCCESS;
  GLenum gl_error = GL_NO_ERROR;
  Bits next_surface = SURFACE_BASE + 1, next_context = CONTEXT_BASE + 1, draw = 0, read = 0, context = 0;
  std::map<Bits, ClientArray> arrays;  // by GL_*_ARRAY
};

World* current = nullptr;  // never freed: the record is written at exit

// The first use in a process loads the scenario from the environment.
World& world() {
  if (current == nullptr) {
    current = new World;
    const char* text = std::getenv("FAKEGL_SCENARIO");
    if (!fake_load_scenario(text != nullptr ? text : "")) {
      std::fprintf(stderr, "fakegl: bad FAKEGL_SCENARIO '%s'\n", text);
      std::abort();
    }
    std::atexit([] {
      if (current->log_path.empty()) return;
      std::ofstream out(current->log_path);
      for (const std::string& line : current->calls) out << line << '\n';
    });
  }
  return *current;
}

// Counts a call of the function; the code of the fault scripted for it, else 0.
int enter(const char* function) {
  World& w = world();
  const auto fault = w.faults.find(function + (":" + std::to_string(++w.counts[function])));
  return fault == w.faults.end() ? 0 : fault->second;
}

// Enumerations named in the record, EGL and GL together.
#define N(x) {x, #x},
constexpr struct {
  Bits value;
  const char* name;
} NAMES[] = {
    // clang-format off
  N(EGL_BUFFER_SIZE) N(EGL_ALPHA_SIZE) N(EGL_BLUE_SIZE) N(EGL_GREEN_SIZE) N(EGL_RED_SIZE) N(EGL_DEPTH_SIZE)
  N(EGL_STENCIL_SIZE) N(EGL_CONFIG_CAVEAT) N(EGL_CONFIG_ID) N(EGL_LEVEL) N(EGL_MAX_PBUFFER_HEIGHT)
  N(EGL_MAX_PBUFFER_PIXELS) N(EGL_MAX_PBUFFER_WIDTH) N(EGL_NATIVE_RENDERABLE) N(EGL_NATIVE_VISUAL_ID)
  N(EGL_NATIVE_VISUAL_TYPE) N(EGL_SAMPLES) N(EGL_SAMPLE_BUFFERS) N(EGL_SURFACE_TYPE)
  N(EGL_TRANSPARENT_TYPE) N(EGL_TRANSPARENT_BLUE_VALUE) N(EGL_TRANSPARENT_GREEN_VALUE)
  N(EGL_TRANSPARENT_RED_VALUE) N(EGL_NONE) N(EGL_HEIGHT) N(EGL_WIDTH) N(EGL_LARGEST_PBUFFER) N(EGL_DRAW)
  N(EGL_READ) N(EGL_CORE_NATIVE_ENGINE) N(EGL_VENDOR) N(EGL_VERSION) N(EGL_EXTENSIONS) N(GL_POINT_SMOOTH)
  N(GL_LINE_SMOOTH) N(GL_DITHER) N(GL_SCISSOR_TEST) N(GL_ALPHA_TEST) N(GL_DEPTH_TEST) N(GL_FOG)
  N(GL_LIGHTING) N(GL_COLOR_LOGIC_OP) N(GL_BLEND) N(GL_STENCIL_TEST) N(GL_TEXTURE_2D) N(GL_LIGHT0)
  N(GL_LIGHT1) N(GL_LIGHT2) N(GL_LIGHT3) N(GL_LIGHT4) N(GL_LIGHT5) N(GL_LIGHT6) N(GL_LIGHT7)
  N(GL_POINT_SMOOTH_HINT) N(GL_LINE_SMOOTH_HINT) N(GL_PERSPECTIVE_CORRECTION_HINT) N(GL_FOG_HINT)
  N(GL_DONT_CARE) N(GL_FASTEST) N(GL_NICEST) N(GL_NEVER) N(GL_LESS) N(GL_EQUAL) N(GL_LEQUAL) N(GL_GREATER)
  N(GL_NOTEQUAL) N(GL_GEQUAL) N(GL_ALWAYS) N(GL_FOG_MODE) N(GL_FOG_DENSITY) N(GL_FOG_START) N(GL_FOG_END)
  N(GL_FOG_COLOR) N(GL_CLEAR) N(GL_AND) N(GL_AND_REVERSE) N(GL_COPY) N(GL_AND_INVERTED) N(GL_NOOP)
  N(GL_XOR) N(GL_OR) N(GL_NOR) N(GL_EQUIV) N(GL_INVERT) N(GL_OR_REVERSE) N(GL_COPY_INVERTED)
  N(GL_OR_INVERTED) N(GL_NAND) N(GL_SET) N(GL_FLAT) N(GL_SMOOTH) N(GL_LIGHT_MODEL_AMBIENT)
  N(GL_LIGHT_MODEL_TWO_SIDE) N(GL_FRONT_AND_BACK) N(GL_SHININESS) N(GL_SPECULAR) N(GL_DIFFUSE)
  N(GL_EMISSION) N(GL_AMBIENT) N(GL_POSITION) N(GL_SPOT_DIRECTION) N(GL_SPOT_EXPONENT) N(GL_SPOT_CUTOFF)
  N(GL_CONSTANT_ATTENUATION) N(GL_LINEAR_ATTENUATION) N(GL_QUADRATIC_ATTENUATION) N(GL_TEXTURE_ENV)
  N(GL_TEXTURE_ENV_MODE) N(GL_TEXTURE_ENV_COLOR) N(GL_TEXTURE_WRAP_S) N(GL_TEXTURE_WRAP_T)
  N(GL_TEXTURE_MIN_FILTER) N(GL_TEXTURE_MAG_FILTER) N(GL_REPEAT) N(GL_CLAMP_TO_EDGE) N(GL_NEAREST)
  N(GL_LINEAR) N(GL_NEAREST_MIPMAP_NEAREST) N(GL_LINEAR_MIPMAP_NEAREST) N(GL_NEAREST_MIPMAP_LINEAR)
  N(GL_LINEAR_MIPMAP_LINEAR) N(GL_ALPHA) N(GL_RGB) N(GL_RGBA) N(GL_LUMINANCE) N(GL_LUMINANCE_ALPHA)
  N(GL_UNSIGNED_BYTE) N(GL_FIXED) N(GL_PROJECTION) N(GL_MODELVIEW) N(GL_COLOR_ARRAY) N(GL_VERTEX_ARRAY)
  N(GL_NORMAL_ARRAY) N(GL_TEXTURE_COORD_ARRAY) N(GL_POINTS) N(GL_LINES) N(GL_TRIANGLES) N(GL_EXTENSIONS)
    // clang-format on
};

std::string hex(Bits value, const char* format = "0x%X") {
  char text[16];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
  return text;
}

std::string name_of(Bits value) {
  for (const auto& entry : NAMES) {
    if (entry.value == value) return entry.name;
  }
  return hex(value, "0x%04X");
}

std::string fixed_array(const GLfixed* values, Bits count) {
  if (values == nullptr) return "NULL";
  std::string text = "{";
  for (Bits i = 0; i < count; ++i) text += (i == 0 ? "" : ", ") + hex(values[i]);
  return text + "}";
}

// Values a parameter-vector call reads for the parameter.
Bits parameter_count(Bits pname) {
  const Bits fours[] = {
      GL_FOG_COLOR, GL_LIGHT_MODEL_AMBIENT, GL_SPECULAR, GL_DIFFUSE, GL_EMISSION, GL_AMBIENT,
      GL_POSITION,  GL_TEXTURE_ENV_COLOR};
  if (pname == GL_SPOT_DIRECTION) return 3;
  return std::count(std::begin(fours), std::end(fours), pname) != 0 ? 4 : 1;
}

// Bytes of one texel of glTexImage2D's unsigned-byte formats.
Bits texel_bytes(Bits format) {
  const std::map<Bits, Bits> bytes = {
      {GL_ALPHA, 1}, {GL_LUMINANCE, 1}, {GL_LUMINANCE_ALPHA, 2}, {GL_RGB, 3}, {GL_RGBA, 4}};
  return bytes.count(format) != 0 ? bytes.at(format) : 0;
}

int config_index(Bits config) {
  const Bits index = config - CONFIG_BASE;
  return index >= 0 && index < static_cast<Bits>(world().configs.size()) ? static_cast<int>(index) : -1;
}

EGLint attribute(const Config& config, EGLint name) {
  const auto value = config.find(name);
  return value == config.end() ? 0 : value->second;
}

std::string handle(Bits value, Bits base, const char* prefix, const char* none) {
  if (value == 0) return none;
  return value > base && value < base + 0x1000 ? prefix + std::to_string(value - base)
                                               : std::string("bad") + prefix;
}

// Argument a[i] printed in its format: d decimal, x hex, e enumeration,
// p pointer, b EGLBoolean, q quoted string, v and m GLfixed vectors (v as long
// as the parameter before it asks, m a matrix), i texture image, L attribute
// list, G native display, W X N native window, pixmap and copy target, D C S K
// display, configuration, surface and context (s and k: surface and context
// that are not checked). Any other code is a slip in the entry point's table
// row: the fake aborts, naming it.
std::string text(const char* name, char format, const std::vector<Bits>& a, std::size_t i) {
  const Bits v = a[i];
  switch (format) {
    case 'd': return std::to_string(static_cast<int>(v));
    case 'x': return hex(v);
    case 'e': return name_of(v);
    case 'p': return v == 0 ? "NULL" : "ptr";
    case 'b': return v != 0 ? "EGL_TRUE" : "EGL_FALSE";
    case 'q': return std::string("\"") + (v == 0 ? "(null)" : reinterpret_cast<const char*>(v)) + "\"";
    case 'v': return fixed_array(reinterpret_cast<const GLfixed*>(v), parameter_count(a[i - 1]));
    case 'm': return fixed_array(reinterpret_cast<const GLfixed*>(v), 16);
    case 'G': return v == 0 ? "EGL_DEFAULT_DISPLAY" : "native";
    case 'W':
    case 'X':
    case 'N': return v == 0 ? "0" : "native" + std::to_string(static_cast<unsigned long>(v));
    case 'D': return v == 0 ? "EGL_NO_DISPLAY" : v == DISPLAY ? "dpy" : "baddpy";
    case 'C':
      return v == 0 ? "NULL" : config_index(v) < 0 ? "badcfg" : "cfg" + std::to_string(v - CONFIG_BASE + 1);
    case 'S':
    case 's': return handle(v, SURFACE_BASE, "surf", "EGL_NO_SURFACE");
    case 'K':
    case 'k': return handle(v, CONTEXT_BASE, "ctx", "EGL_NO_CONTEXT");
    case 'i': {
      std::string data = v == 0 ? "NULL" : "";
      for (Bits k = 0; v != 0 && k < a[3] * a[4] * texel_bytes(a[6]); ++k)
        data += hex(reinterpret_cast<const unsigned char*>(v)[k], "%02X");
      return data;
    }
    case 'L': {
      const auto* list = reinterpret_cast<const EGLint*>(v);
      if (list == nullptr) return "NULL";
      std::string data = "{";
      for (int k = 0; list[k] != EGL_NONE; k += 2)
        data += name_of(list[k]) + ", " + std::to_string(list[k + 1]) + ", ";
      return data + "EGL_NONE}";
    }
    default: std::fprintf(stderr, "fakegl: %s: unknown format code '%c'\n", name, format); std::abort();
  }
}

// The error that refuses an argument of this format, 0 when it is accepted.
EGLint refusal(char format, Bits v) {
  const World& w = world();
  switch (format) {
    case 'D': return v == DISPLAY ? 0 : EGL_BAD_DISPLAY;
    case 'C': return config_index(v) >= 0 ? 0 : EGL_BAD_CONFIG;
    case 'S': return v > SURFACE_BASE && v < w.next_surface ? 0 : EGL_BAD_SURFACE;
    case 'K': return v > CONTEXT_BASE && v < w.next_context ? 0 : EGL_BAD_CONTEXT;
    case 'W': return v != 0 || w.accept_null_native ? 0 : EGL_BAD_NATIVE_WINDOW;
    case 'X': return v != 0 || w.accept_null_native ? 0 : EGL_BAD_NATIVE_PIXMAP;
    case 'N': return v != 0 ? 0 : EGL_BAD_NATIVE_PIXMAP;
    default: return 0;
  }
}

// The one recorder: "name(arguments)", and " = result" after a format
// "arguments=result".
void record(const char* name, const char* format, const std::vector<Bits>& args, Bits result = 0) {
  std::string line = std::string(name) + "(";
  std::size_t i = 0;
  for (; format[i] != '\0' && format[i] != '='; ++i)
    line += (i == 0 ? "" : ", ") + text(name, format[i], args, i);
  fake_record(line + ")" + (format[i] == '=' ? " = " + text(name, format[i + 1], {result}, 0) : ""));
}

// ---- EGL: a scripted fault or a refused argument fails a call with that
// error; otherwise it succeeds with the result its row gives.

template <typename R, typename Result>
R egl_call(const char* name, const char* format, const std::vector<Bits>& args, Result result) {
  EGLint code = enter(name);
  for (std::size_t i = 0; i < args.size() && code == 0; ++i) code = refusal(format[i], args[i]);
  const R value = code == 0 ? (R)result() : R{};
  world().egl_error = code != 0 ? code : EGL_SUCCESS;
  record(name, format, args, (Bits)value);
  return value;
}

bool config_matches(const Config& config, const EGLint* attribs) {
  EGLint kinds = EGL_WINDOW_BIT;
  bool fits = true;
  for (int i = 0; attribs != nullptr && attribs[i] != EGL_NONE; i += 2) {
    const EGLint name = attribs[i], value = attribs[i + 1];
    if (name == EGL_CONFIG_ID) return value == attribute(config, name);  // whatever else is asked
    if (name == EGL_SURFACE_TYPE) kinds = value;
    if (name == EGL_LEVEL) fits = fits && value == 0;
    if (name == EGL_RED_SIZE || name == EGL_DEPTH_SIZE || name == EGL_STENCIL_SIZE)
      fits = fits && attribute(config, name) >= value;
  }
  return fits && (attribute(config, EGL_SURFACE_TYPE) & kinds) == kinds;
}

// The configurations that match (every one when every is set), or their
// number when configs is null.
EGLBoolean list_configs(bool every, const EGLint* attribs, EGLConfig* configs, EGLint size, EGLint* num) {
  *num = 0;
  for (std::size_t i = 0; i < world().configs.size(); ++i) {
    if (!every && !config_matches(world().configs[i], attribs)) continue;
    if (configs == nullptr)
      ++*num;
    else if (*num < size)
      configs[(*num)++] = (EGLConfig)(CONFIG_BASE + i);
  }
  return EGL_TRUE;
}

EGLBoolean get_config_attrib(EGLConfig config, EGLint name, EGLint* value) {
  if (value != nullptr) *value = attribute(world().configs[config_index((Bits)config)], name);
  return EGL_TRUE;
}

void resolved_entry_point() {}

using ProcAddress = __eglMustCastToProperFunctionPointerType;

// ---- GL: a scripted fault leaves its error pending.

void gl_call(const char* name, const char* format, const std::vector<Bits>& args) {
  const int fault = enter(name);
  if (fault != 0 && world().gl_error == GL_NO_ERROR) world().gl_error = static_cast<GLenum>(fault);
  record(name, format, args);
}

void point_array(GLenum array, Bits size, const void* data) {
  world().arrays[array].size = size;
  world().arrays[array].data = static_cast<const GLfixed*>(data);
}

// glDrawArrays also records what the enabled client arrays hold.
void record_arrays(GLint first, GLsizei count) {
  constexpr struct {
    GLenum array;
    const char* label;
  } ARRAYS[] = {{GL_COLOR_ARRAY, " color="},
                {GL_VERTEX_ARRAY, " vertex="},
                {GL_NORMAL_ARRAY, " normal="},
                {GL_TEXTURE_COORD_ARRAY, " texcoord="}};
  for (const auto& each : ARRAYS) {
    const ClientArray& a = world().arrays[each.array];
    world().calls.back() +=
        each.label + (a.enabled ? fixed_array(a.data + first * a.size, count * a.size) : "off");
  }
}

// One configuration of a "configs=" item, such as "wp:d24:s8".
bool add_config(World& w, const std::string& text) {
  const EGLint id = static_cast<EGLint>(w.configs.size()) + 1;
  Config c = {
      {EGL_CONFIG_ID, id}, {EGL_RED_SIZE, 8}, {EGL_GREEN_SIZE, 8}, {EGL_BLUE_SIZE, 8}, {EGL_ALPHA_SIZE, 8}};
  std::stringstream fields(text);
  std::string field;
  std::getline(fields, field, ':');
  for (char kind : field) {
    const char* at = std::strchr("pxw", kind);  // EGL_PBUFFER_BIT, EGL_PIXMAP_BIT, EGL_WINDOW_BIT
    if (at == nullptr) return false;
    c[EGL_SURFACE_TYPE] |= 1 << (at - "pxw");
  }
  while (std::getline(fields, field, ':')) {
    if (field.size() < 2 || (field[0] != 'd' && field[0] != 's')) return false;
    c[field[0] == 'd' ? EGL_DEPTH_SIZE : EGL_STENCIL_SIZE] = std::atoi(field.c_str() + 1);
  }
  c[EGL_NATIVE_VISUAL_ID] = (c[EGL_SURFACE_TYPE] & EGL_WINDOW_BIT) != 0 ? 0x20 + id : 0;
  w.configs.push_back(c);
  return true;
}

}  // namespace

// clang-format off
// Return type, name, parameters, arguments, formats of the arguments ("=" and
// the result's), result of a call that succeeds.
#define FAKE_EGL(X) \
  X(EGLDisplay, eglGetDisplay, (EGLNativeDisplayType id), (id), "G=D", world().no_display ? 0 : DISPLAY) \
  X(EGLBoolean, eglInitialize, (EGLDisplay d, EGLint* major, EGLint* minor), (d, major, minor), "Dpp=b", EGL_TRUE) \
  X(EGLBoolean, eglTerminate, (EGLDisplay d), (d), "D=b", EGL_TRUE) \
  X(const char*, eglQueryString, (EGLDisplay d, EGLint name), (d, name), "De", "fakegl") \
  X(EGLBoolean, eglGetConfigs, (EGLDisplay d, EGLConfig* c, EGLint size, EGLint* n), (d, c, size, n), "Dpdp=b", \
    list_configs(true, nullptr, c, size, n)) \
  X(EGLBoolean, eglChooseConfig, (EGLDisplay d, const EGLint* a, EGLConfig* c, EGLint size, EGLint* n), \
    (d, a, c, size, n), "DLpdp=b", list_configs(false, a, c, size, n)) \
  X(EGLBoolean, eglGetConfigAttrib, (EGLDisplay d, EGLConfig c, EGLint name, EGLint* v), (d, c, name, v), "DCep=b", \
    get_config_attrib(c, name, v)) \
  X(EGLSurface, eglCreateWindowSurface, (EGLDisplay d, EGLConfig c, EGLNativeWindowType w, const EGLint* a), \
    (d, c, w, a), "DCWL=S", world().next_surface++) \
  X(EGLSurface, eglCreatePixmapSurface, (EGLDisplay d, EGLConfig c, EGLNativePixmapType p, const EGLint* a), \
    (d, c, p, a), "DCXL=S", world().next_surface++) \
  X(EGLSurface, eglCreatePbufferSurface, (EGLDisplay d, EGLConfig c, const EGLint* a), (d, c, a), "DCL=S", \
    world().next_surface++) \
  X(EGLBoolean, eglDestroySurface, (EGLDisplay d, EGLSurface s), (d, s), "DS=b", EGL_TRUE) \
  X(EGLBoolean, eglQuerySurface, (EGLDisplay d, EGLSurface s, EGLint n, EGLint* v), (d, s, n, v), "DSep=b", EGL_TRUE) \
  X(EGLContext, eglCreateContext, (EGLDisplay d, EGLConfig c, EGLContext share, const EGLint* a), (d, c, share, a), \
    "DCkL=K", world().next_context++) \
  X(EGLBoolean, eglDestroyContext, (EGLDisplay d, EGLContext c), (d, c), "DK=b", EGL_TRUE) \
  X(EGLBoolean, eglMakeCurrent, (EGLDisplay d, EGLSurface draw, EGLSurface read, EGLContext c), (d, draw, read, c), \
    "Dssk=b", (world().draw = (Bits)draw, world().read = (Bits)read, world().context = (Bits)c, EGL_TRUE)) \
  X(EGLContext, eglGetCurrentContext, (), (), "=K", world().context) \
  X(EGLSurface, eglGetCurrentSurface, (EGLint which), (which), "e=S", which == EGL_DRAW ? world().draw : world().read) \
  X(EGLDisplay, eglGetCurrentDisplay, (), (), "=D", world().context != 0 ? DISPLAY : 0) \
  X(EGLBoolean, eglQueryContext, (EGLDisplay d, EGLContext c, EGLint n, EGLint* v), (d, c, n, v), "DKep=b", EGL_TRUE) \
  X(EGLBoolean, eglWaitGL, (), (), "=b", EGL_TRUE) \
  X(EGLBoolean, eglWaitNative, (EGLint engine), (engine), "e=b", EGL_TRUE) \
  X(EGLBoolean, eglSwapBuffers, (EGLDisplay d, EGLSurface s), (d, s), "DS=b", EGL_TRUE) \
  X(EGLBoolean, eglCopyBuffers, (EGLDisplay d, EGLSurface s, EGLNativePixmapType p), (d, s, p), "DSN=b", EGL_TRUE) \
  X(ProcAddress, eglGetProcAddress, (const char* name), (name), "q", \
    name != nullptr && std::strcmp(name, "glQueryMatrixxOES") == 0 ? resolved_entry_point : nullptr)

// Name, parameters, arguments, formats of the arguments, what else the call does.
#define FAKE_GL(X) \
  X(glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), "dddd", 0) \
  X(glScissor, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), "dddd", 0) \
  X(glMatrixMode, (GLenum mode), (mode), "e", 0) \
  X(glLoadMatrixx, (const GLfixed* m), (m), "m", 0) \
  X(glClearColorx, (GLfixed r, GLfixed g, GLfixed b, GLfixed a), (r, g, b, a), "xxxx", 0) \
  X(glClear, (GLbitfield mask), (mask), "x", 0) \
  X(glEnable, (GLenum cap), (cap), "e", 0) \
  X(glDisable, (GLenum cap), (cap), "e", 0) \
  X(glHint, (GLenum target, GLenum mode), (target, mode), "ee", 0) \
  X(glAlphaFuncx, (GLenum func, GLfixed ref), (func, ref), "ex", 0) \
  X(glBlendFunc, (GLenum s, GLenum d), (s, d), "xx", 0) \
  X(glDepthFunc, (GLenum func), (func), "e", 0) \
  X(glDepthRangex, (GLfixed n, GLfixed f), (n, f), "xx", 0) \
  X(glFogxv, (GLenum pname, const GLfixed* p), (pname, p), "ev", 0) \
  X(glLogicOp, (GLenum op), (op), "e", 0) \
  X(glShadeModel, (GLenum mode), (mode), "e", 0) \
  X(glLightModelxv, (GLenum pname, const GLfixed* p), (pname, p), "ev", 0) \
  X(glMaterialxv, (GLenum face, GLenum pname, const GLfixed* p), (face, pname, p), "eev", 0) \
  X(glLightxv, (GLenum light, GLenum pname, const GLfixed* p), (light, pname, p), "eev", 0) \
  X(glStencilFunc, (GLenum func, GLint ref, GLuint mask), (func, ref, mask), "edx", 0) \
  X(glStencilOp, (GLenum fail, GLenum zfail, GLenum zpass), (fail, zfail, zpass), "xxx", 0) \
  X(glStencilMask, (GLuint mask), (mask), "x", 0) \
  X(glTexEnvxv, (GLenum target, GLenum pname, const GLfixed* p), (target, pname, p), "eev", 0) \
  X(glTexParameterx, (GLenum target, GLenum pname, GLfixed p), (target, pname, p), "eee", 0) \
  X(glTexImage2D, (GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format, \
    GLenum type, const void* pixels), (target, level, internal, w, h, border, format, type, pixels), "ededddeei", 0) \
  X(glEnableClientState, (GLenum array), (array), "e", world().arrays[array].enabled = true) \
  X(glDisableClientState, (GLenum array), (array), "e", world().arrays[array].enabled = false) \
  X(glColorPointer, (GLint size, GLenum type, GLsizei stride, const void* p), (size, type, stride, p), "ded", \
    point_array(GL_COLOR_ARRAY, size, p)) \
  X(glVertexPointer, (GLint size, GLenum type, GLsizei stride, const void* p), (size, type, stride, p), "ded", \
    point_array(GL_VERTEX_ARRAY, size, p)) \
  X(glNormalPointer, (GLenum type, GLsizei stride, const void* p), (type, stride, p), "ed", \
    point_array(GL_NORMAL_ARRAY, 3, p)) \
  X(glTexCoordPointer, (GLint size, GLenum type, GLsizei stride, const void* p), (size, type, stride, p), "ded", \
    point_array(GL_TEXTURE_COORD_ARRAY, size, p)) \
  X(glPointSizex, (GLfixed size), (size), "x", 0) \
  X(glLineWidthx, (GLfixed width), (width), "x", 0) \
  X(glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count), "edd", record_arrays(first, count)) \
  X(glFlush, (), (), "", 0)

#define DEFINE_EGL(R, name, params, args, format, result) \
  R EGLAPIENTRY name params { return egl_call<R>(#name, format, bits_of args, [&] { return result; }); }
#define DEFINE_GL(name, params, args, format, effect) \
  void GL_APIENTRY name params { gl_call(#name, format, bits_of args); (void)(effect); }
// clang-format on

extern "C" {

FAKE_EGL(DEFINE_EGL)
FAKE_GL(DEFINE_GL)

EGLint EGLAPIENTRY eglGetError(void) {
  const int fault = enter("eglGetError");
  const EGLint code = fault != 0 ? fault : world().egl_error;
  world().egl_error = EGL_SUCCESS;
  fake_record("eglGetError() = " + hex(code, "0x%04X"));
  return code;
}

GLenum GL_APIENTRY glGetError(void) {
  const int fault = enter("glGetError");
  const GLenum error = fault != 0 ? static_cast<GLenum>(fault) : world().gl_error;
  world().gl_error = GL_NO_ERROR;
  fake_record("glGetError() = " + hex(error, "0x%04X"));
  return error;
}

const GLubyte* GL_APIENTRY glGetString(GLenum name) {
  gl_call("glGetString", "e", bits_of(name));
  return reinterpret_cast<const GLubyte*>(name == GL_EXTENSIONS ? world().extensions.c_str() : "fakegl");
}

// In a program linked with -Wl,--wrap=malloc the allocations of its own code
// (not those inside the shared C and C++ libraries) come here, and are
// recorded without their size, which differs between targets.
void* __real_malloc(std::size_t size) __attribute__((weak));
void* __wrap_malloc(std::size_t size) {
  void* const block = enter("malloc") != 0 ? nullptr : __real_malloc(size);
  fake_record(block != nullptr ? "malloc(size) = ptr" : "malloc(size) = NULL");
  return block;
}

}  // extern "C"

bool fake_load_scenario(const std::string& text) {
  World& w = world() = World();
  std::stringstream items("configs=p:d24:s8;" + text);  // the default configuration first
  for (std::string item; std::getline(items, item, ';');) {
    const std::size_t eq = item.find('=');
    const std::string key = item.substr(0, eq), value = eq == std::string::npos ? "" : item.substr(eq + 1);
    std::stringstream list(value);
    char name[64];
    int nth = 0, code = 0;
    if (key == "configs") {
      w.configs.clear();
      for (std::string one; std::getline(list, one, ',');) {
        if (!add_config(w, one)) return false;
      }
    } else if (key == "fail") {
      if (std::sscanf(value.c_str(), "%63[^:]:%d:%i", name, &nth, &code) != 3) return false;
      w.faults.emplace(name + (":" + std::to_string(nth)), code);
    } else if (item == "native=accept" || item == "nodisplay") {
      (item == "nodisplay" ? w.no_display : w.accept_null_native) = true;
    } else if (key == "ext") {
      w.extensions = value;
      std::replace(w.extensions.begin(), w.extensions.end(), '+', ' ');
    } else if (key == "log") {
      w.log_path = value;
    } else if (!item.empty()) {
      return false;
    }
  }
  return true;
}

void fake_record(const std::string& line) {
  world().calls.push_back(line);
}
