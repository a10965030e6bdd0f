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
#include <iterator>
#include <map>
#include <sstream>
#include <type_traits>

#include "fakegl.h"

namespace {

using Bits = std::intptr_t;  // every argument, as the recorder sees it

template <typename T>
Bits bits(T value) {
  if constexpr (std::is_pointer<T>::value) {
    return reinterpret_cast<Bits>(value);
  } else {
    return static_cast<Bits>(value);
  }
}

// Handles: dpy, cfg<n> for configuration n-1 of the scenario, surf<n>, ctx<n>.
constexpr Bits DISPLAY = 0xD15, CONFIG_BASE = 0x100, SURFACE_BASE = 0x5000, CONTEXT_BASE = 0x6000;

struct Config {
  EGLint kinds;  // EGL_WINDOW_BIT | EGL_PBUFFER_BIT | EGL_PIXMAP_BIT
  EGLint red, depth, stencil;
};

struct ClientArray {
  bool enabled;
  Bits size;
  const GLfixed* data;
};

struct World {
  std::vector<Config> configs{{EGL_PBUFFER_BIT, 8, 24, 8}};
  bool accept_null_native = false, no_display = false, loaded = false;
  std::string extensions = "GL_OES_fixed_point GL_OES_query_matrix GL_OES_read_format", log_path;
  std::vector<std::string> calls;
  std::map<std::string, int> faults, counts;  // faults: "NAME:N" -> code
  EGLint egl_error = EGL_SUCCESS;
  GLenum gl_error = GL_NO_ERROR;
  Bits next_surface = SURFACE_BASE + 1, next_context = CONTEXT_BASE + 1, draw = 0, read = 0, context = 0;
  std::map<Bits, ClientArray> arrays;  // by GL_*_ARRAY
};

World& world() {
  static World state;
  return state;
}

void write_log() {
  if (world().log_path.empty()) return;
  std::ofstream out(world().log_path);
  for (const std::string& line : world().calls) out << line << '\n';
}

// Counts a call of the function (the first call of the process reads the
// scenario from the environment); the code of the fault scripted for it, else 0.
int enter(const char* function) {
  World& w = world();
  if (!w.loaded) {
    w.loaded = true;
    const char* text = std::getenv("FAKEGL_SCENARIO");
    if (text != nullptr && !fake_load_scenario(text)) {
      std::fprintf(stderr, "fakegl: bad FAKEGL_SCENARIO '%s'\n", text);
      std::abort();
    }
    std::atexit(write_log);
  }
  const auto fault = w.faults.find(function + (":" + std::to_string(++w.counts[function])));
  return fault == w.faults.end() ? 0 : fault->second;
}

// Enumerations named in the record, EGL and GL together.
// clang-format off
#define NAMED(X) \
  X(EGL_BUFFER_SIZE) X(EGL_ALPHA_SIZE) X(EGL_BLUE_SIZE) X(EGL_GREEN_SIZE) X(EGL_RED_SIZE) X(EGL_DEPTH_SIZE) \
  X(EGL_STENCIL_SIZE) X(EGL_CONFIG_CAVEAT) X(EGL_CONFIG_ID) X(EGL_LEVEL) X(EGL_MAX_PBUFFER_HEIGHT) \
  X(EGL_MAX_PBUFFER_PIXELS) X(EGL_MAX_PBUFFER_WIDTH) X(EGL_NATIVE_RENDERABLE) X(EGL_NATIVE_VISUAL_ID) \
  X(EGL_NATIVE_VISUAL_TYPE) X(EGL_SAMPLES) X(EGL_SAMPLE_BUFFERS) X(EGL_SURFACE_TYPE) \
  X(EGL_TRANSPARENT_TYPE) X(EGL_TRANSPARENT_BLUE_VALUE) X(EGL_TRANSPARENT_GREEN_VALUE) \
  X(EGL_TRANSPARENT_RED_VALUE) X(EGL_NONE) X(EGL_HEIGHT) X(EGL_WIDTH) X(EGL_LARGEST_PBUFFER) X(EGL_DRAW) \
  X(EGL_READ) X(EGL_CORE_NATIVE_ENGINE) X(EGL_VENDOR) X(EGL_VERSION) X(EGL_EXTENSIONS) X(GL_POINT_SMOOTH) \
  X(GL_LINE_SMOOTH) X(GL_DITHER) X(GL_SCISSOR_TEST) X(GL_ALPHA_TEST) X(GL_DEPTH_TEST) X(GL_FOG) \
  X(GL_LIGHTING) X(GL_COLOR_LOGIC_OP) X(GL_BLEND) X(GL_STENCIL_TEST) X(GL_TEXTURE_2D) X(GL_LIGHT0) \
  X(GL_LIGHT1) X(GL_LIGHT2) X(GL_LIGHT3) X(GL_LIGHT4) X(GL_LIGHT5) X(GL_LIGHT6) X(GL_LIGHT7) \
  X(GL_POINT_SMOOTH_HINT) X(GL_LINE_SMOOTH_HINT) X(GL_PERSPECTIVE_CORRECTION_HINT) X(GL_FOG_HINT) \
  X(GL_DONT_CARE) X(GL_FASTEST) X(GL_NICEST) X(GL_NEVER) X(GL_LESS) X(GL_EQUAL) X(GL_LEQUAL) X(GL_GREATER) \
  X(GL_NOTEQUAL) X(GL_GEQUAL) X(GL_ALWAYS) X(GL_FOG_MODE) X(GL_FOG_DENSITY) X(GL_FOG_START) X(GL_FOG_END) \
  X(GL_FOG_COLOR) X(GL_CLEAR) X(GL_AND) X(GL_AND_REVERSE) X(GL_COPY) X(GL_AND_INVERTED) X(GL_NOOP) \
  X(GL_XOR) X(GL_OR) X(GL_NOR) X(GL_EQUIV) X(GL_INVERT) X(GL_OR_REVERSE) X(GL_COPY_INVERTED) \
  X(GL_OR_INVERTED) X(GL_NAND) X(GL_SET) X(GL_FLAT) X(GL_SMOOTH) X(GL_LIGHT_MODEL_AMBIENT) \
  X(GL_LIGHT_MODEL_TWO_SIDE) X(GL_FRONT_AND_BACK) X(GL_SHININESS) X(GL_SPECULAR) X(GL_DIFFUSE) \
  X(GL_EMISSION) X(GL_AMBIENT) X(GL_POSITION) X(GL_SPOT_DIRECTION) X(GL_SPOT_EXPONENT) X(GL_SPOT_CUTOFF) \
  X(GL_CONSTANT_ATTENUATION) X(GL_LINEAR_ATTENUATION) X(GL_QUADRATIC_ATTENUATION) X(GL_TEXTURE_ENV) \
  X(GL_TEXTURE_ENV_MODE) X(GL_TEXTURE_ENV_COLOR) X(GL_TEXTURE_WRAP_S) X(GL_TEXTURE_WRAP_T) \
  X(GL_TEXTURE_MIN_FILTER) X(GL_TEXTURE_MAG_FILTER) X(GL_REPEAT) X(GL_CLAMP_TO_EDGE) X(GL_NEAREST) \
  X(GL_LINEAR) X(GL_NEAREST_MIPMAP_NEAREST) X(GL_LINEAR_MIPMAP_NEAREST) X(GL_NEAREST_MIPMAP_LINEAR) \
  X(GL_LINEAR_MIPMAP_LINEAR) X(GL_ALPHA) X(GL_RGB) X(GL_RGBA) X(GL_LUMINANCE) X(GL_LUMINANCE_ALPHA) \
  X(GL_UNSIGNED_BYTE) X(GL_FIXED) X(GL_PROJECTION) X(GL_MODELVIEW) X(GL_COLOR_ARRAY) X(GL_VERTEX_ARRAY) \
  X(GL_NORMAL_ARRAY) X(GL_TEXTURE_COORD_ARRAY) X(GL_POINTS) X(GL_LINES) X(GL_TRIANGLES) X(GL_EXTENSIONS)
// clang-format on
#define NAME_ROW(x) {x, #x},
constexpr struct {
  Bits value;
  const char* name;
} NAMES[] = {NAMED(NAME_ROW)};

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
  return std::find(std::begin(fours), std::end(fours), pname) != std::end(fours) ? 4 : 1;
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
// that are not checked).
std::string text(char format, const std::vector<Bits>& a, std::size_t i) {
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
      const auto* bytes = reinterpret_cast<const unsigned char*>(v);
      std::string data = bytes == nullptr ? "NULL" : "";
      for (Bits k = 0; bytes != nullptr && k < a[3] * a[4] * texel_bytes(a[6]); ++k)
        data += hex(bytes[k], "%02X");
      return data;
    }
    default: {  // L
      const auto* list = reinterpret_cast<const EGLint*>(v);
      if (list == nullptr) return "NULL";
      std::string data = "{";
      for (int k = 0; list[k] != EGL_NONE; k += 2)
        data += name_of(list[k]) + ", " + std::to_string(list[k + 1]) + ", ";
      return data + "EGL_NONE}";
    }
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
  for (; format[i] != '\0' && format[i] != '='; ++i) line += (i == 0 ? "" : ", ") + text(format[i], args, i);
  fake_record(line + ")" + (format[i] == '=' ? " = " + text(format[i + 1], {result}, 0) : ""));
}

// ---- EGL

template <typename Handle>
Handle as(Bits value) {
  return reinterpret_cast<Handle>(value);
}

template <typename Handle>
Handle new_handle(Bits* next) {
  return as<Handle>((*next)++);
}

bool config_matches(const Config& config, int index, const EGLint* attribs) {
  EGLint kinds = EGL_WINDOW_BIT;
  bool fits = true;
  for (int i = 0; attribs != nullptr && attribs[i] != EGL_NONE; i += 2) {
    const EGLint value = attribs[i + 1];
    switch (attribs[i]) {
      case EGL_CONFIG_ID: return value == index + 1;  // that configuration, whatever else is asked
      case EGL_SURFACE_TYPE: kinds = value; break;
      case EGL_RED_SIZE: fits = fits && config.red >= value; break;
      case EGL_DEPTH_SIZE: fits = fits && config.depth >= value; break;
      case EGL_STENCIL_SIZE: fits = fits && config.stencil >= value; break;
      case EGL_LEVEL: fits = fits && value == 0; break;
      default: break;
    }
  }
  return fits && (config.kinds & kinds) == kinds;
}

// The configurations that match (every one when every is set), or their
// number when configs is null.
EGLBoolean list_configs(bool every, const EGLint* attribs, EGLConfig* configs, EGLint size, EGLint* num) {
  *num = 0;
  for (int i = 0; i < static_cast<int>(world().configs.size()); ++i) {
    if (!every && !config_matches(world().configs[i], i, attribs)) continue;
    if (configs == nullptr)
      ++*num;
    else if (*num < size)
      configs[(*num)++] = as<EGLConfig>(CONFIG_BASE + i);
  }
  return EGL_TRUE;
}

EGLBoolean get_config_attrib(EGLConfig config, EGLint attribute, EGLint* value) {
  const int index = config_index(bits(config));
  const Config& c = world().configs[index];
  const std::map<EGLint, EGLint> values = {
      {EGL_CONFIG_ID, index + 1},
      {EGL_RED_SIZE, c.red},
      {EGL_GREEN_SIZE, c.red},
      {EGL_BLUE_SIZE, c.red},
      {EGL_ALPHA_SIZE, c.red},
      {EGL_DEPTH_SIZE, c.depth},
      {EGL_STENCIL_SIZE, c.stencil},
      {EGL_SURFACE_TYPE, c.kinds},
      {EGL_NATIVE_VISUAL_ID, (c.kinds & EGL_WINDOW_BIT) != 0 ? 0x21 + index : 0}};
  if (value != nullptr) *value = values.count(attribute) != 0 ? values.at(attribute) : 0;
  return EGL_TRUE;
}

EGLBoolean make_current(EGLSurface draw, EGLSurface read, EGLContext context) {
  world().draw = bits(draw), world().read = bits(read), world().context = bits(context);
  return EGL_TRUE;
}

void resolved_entry_point() {}

using ProcAddress = __eglMustCastToProperFunctionPointerType;

// An EGL call: a scripted fault or a refused argument fails it with that
// error; otherwise it succeeds with the result its row gives.
struct EglCall {
  EglCall(const char* function, const char* argument_formats, std::vector<Bits> arguments)
      : name(function), format(argument_formats), args(std::move(arguments)), code(enter(function)) {
    for (std::size_t i = 0; i < args.size() && code == 0; ++i) code = refusal(format[i], args[i]);
  }
  template <typename R>
  R end(R result) const {
    world().egl_error = code != 0 ? code : EGL_SUCCESS;
    record(name, format, args, bits(result));
    return result;
  }
  const char* name;
  const char* format;
  std::vector<Bits> args;
  EGLint code;
};

template <typename... T>
std::vector<Bits> bits_of(T... values) {
  return {bits(values)...};
}

// ---- GL: a scripted fault leaves its error pending.

auto gl_entry(const char* name, const char* format) {
  return [=](auto... args) {
    const int fault = enter(name);
    if (fault != 0 && world().gl_error == GL_NO_ERROR) world().gl_error = static_cast<GLenum>(fault);
    record(name, format, {bits(args)...});
  };
}

void point_array(GLenum array, Bits size, const void* data) {
  world().arrays[array].size = size;
  world().arrays[array].data = static_cast<const GLfixed*>(data);
}

// glDrawArrays also records what the enabled client arrays hold.
void record_arrays(GLint first, GLsizei count) {
  for (const GLenum array : {GL_COLOR_ARRAY, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY}) {
    const ClientArray& a = world().arrays[array];
    const Bits size = array == GL_NORMAL_ARRAY ? 3 : a.size;
    const char* label = array == GL_COLOR_ARRAY    ? " color="
                        : array == GL_VERTEX_ARRAY ? " vertex="
                        : array == GL_NORMAL_ARRAY ? " normal="
                                                   : " texcoord=";
    world().calls.back() += label + (!a.enabled ? "off" : fixed_array(a.data + first * size, count * size));
  }
}

// One configuration of a "configs=" item, such as "wp:d24:s8".
bool parse_config(const std::string& text, Config* config) {
  std::stringstream fields(text);
  std::string field;
  std::getline(fields, field, ':');
  for (char kind : field) {
    const char* at = std::strchr("pxw", kind);  // EGL_PBUFFER_BIT, EGL_PIXMAP_BIT, EGL_WINDOW_BIT
    if (at == nullptr) return false;
    config->kinds |= 1 << (at - "pxw");
  }
  while (std::getline(fields, field, ':')) {
    EGLint* const sizes[] = {&config->red, &config->depth, &config->stencil};
    const std::size_t slot = std::string("rds").find(field[0]);
    if (slot == std::string::npos || field.size() < 2) return false;
    *sizes[slot] = std::atoi(field.c_str() + 1);
  }
  return true;
}

}  // namespace

// clang-format off
// Return type, name, parameters, arguments, formats of the arguments ("=" and
// the result's), result of a call that succeeds.
#define FAKE_EGL(X) \
  X(EGLDisplay, eglGetDisplay, (EGLNativeDisplayType id), (id), "G=D", as<EGLDisplay>(world().no_display ? 0 : DISPLAY)) \
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
    (d, c, w, a), "DCWL=S", new_handle<EGLSurface>(&world().next_surface)) \
  X(EGLSurface, eglCreatePixmapSurface, (EGLDisplay d, EGLConfig c, EGLNativePixmapType p, const EGLint* a), \
    (d, c, p, a), "DCXL=S", new_handle<EGLSurface>(&world().next_surface)) \
  X(EGLSurface, eglCreatePbufferSurface, (EGLDisplay d, EGLConfig c, const EGLint* a), (d, c, a), "DCL=S", \
    new_handle<EGLSurface>(&world().next_surface)) \
  X(EGLBoolean, eglDestroySurface, (EGLDisplay d, EGLSurface s), (d, s), "DS=b", EGL_TRUE) \
  X(EGLBoolean, eglQuerySurface, (EGLDisplay d, EGLSurface s, EGLint name, EGLint* v), (d, s, name, v), "DSep=b", \
    EGL_TRUE) \
  X(EGLContext, eglCreateContext, (EGLDisplay d, EGLConfig c, EGLContext share, const EGLint* a), (d, c, share, a), \
    "DCkL=K", new_handle<EGLContext>(&world().next_context)) \
  X(EGLBoolean, eglDestroyContext, (EGLDisplay d, EGLContext c), (d, c), "DK=b", EGL_TRUE) \
  X(EGLBoolean, eglMakeCurrent, (EGLDisplay d, EGLSurface draw, EGLSurface read, EGLContext c), (d, draw, read, c), \
    "Dssk=b", make_current(draw, read, c)) \
  X(EGLContext, eglGetCurrentContext, (), (), "=K", as<EGLContext>(world().context)) \
  X(EGLSurface, eglGetCurrentSurface, (EGLint which), (which), "e=S", \
    as<EGLSurface>(which == EGL_DRAW ? world().draw : world().read)) \
  X(EGLDisplay, eglGetCurrentDisplay, (), (), "=D", as<EGLDisplay>(world().context != 0 ? DISPLAY : 0)) \
  X(EGLBoolean, eglQueryContext, (EGLDisplay d, EGLContext c, EGLint name, EGLint* v), (d, c, name, v), "DKep=b", \
    EGL_TRUE) \
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
// clang-format on

#define DEFINE_EGL(R, name, params, args, format, result)                     \
  R EGLAPIENTRY name params {                                                 \
    using Result = R;                                                         \
    const EglCall call(#name, format, bits_of args);                          \
    return call.end(call.code == 0 ? static_cast<Result>(result) : Result{}); \
  }
#define DEFINE_GL(name, params, args, format, effect) \
  void GL_APIENTRY name params {                      \
    gl_entry(#name, format) args;                     \
    (void)(effect);                                   \
  }

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
  return error;
}

const GLubyte* GL_APIENTRY glGetString(GLenum name) {
  gl_entry("glGetString", "e")(name);
  return reinterpret_cast<const GLubyte*>(name == GL_EXTENSIONS ? world().extensions.c_str() : "fakegl");
}

// In a program linked with -Wl,--wrap=malloc the allocations of its own code
// (not those inside the shared C and C++ libraries) come here.
void* __real_malloc(std::size_t size) __attribute__((weak));
void* __wrap_malloc(std::size_t size) {
  return enter("malloc") != 0 ? nullptr : __real_malloc(size);
}

}  // extern "C"

void fake_reset() {
  world() = World();
  world().loaded = true;
}

bool fake_load_scenario(const std::string& text) {
  fake_reset();
  World& w = world();
  std::stringstream items(text);
  for (std::string item; std::getline(items, item, ';');) {
    const std::size_t eq = item.find('=');
    const std::string key = item.substr(0, eq), value = eq == std::string::npos ? "" : item.substr(eq + 1);
    std::stringstream list(value);
    int nth = 0, code = 0;
    if (key == "configs") {
      w.configs.clear();
      for (std::string one; std::getline(list, one, ',');) {
        w.configs.push_back(Config{0, 8, 0, 0});
        if (!parse_config(one, &w.configs.back())) return false;
      }
    } else if (key == "fail") {
      const std::size_t colon = value.find(':');
      if (colon == std::string::npos || std::sscanf(value.c_str() + colon, ":%d:%i", &nth, &code) != 2)
        return false;
      w.faults.emplace(value.substr(0, colon) + ":" + std::to_string(nth), code);
    } else if (item == "native=accept" || item == "nodisplay") {
      (item == "nodisplay" ? w.no_display : w.accept_null_native) = true;
    } else if (key == "ext") {
      w.extensions = value;
      for (char& c : w.extensions) c = c == '+' ? ' ' : c;
    } else if (key == "log") {
      w.log_path = value;
    } else if (!item.empty()) {
      return false;
    }
  }
  return true;
}

const std::vector<std::string>& fake_calls() {
  return world().calls;
}

void fake_record(const std::string& line) {
  world().calls.push_back(line);
}
