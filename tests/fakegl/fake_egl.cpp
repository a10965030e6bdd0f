// The 25 entry points of EGL 1.0, with the error rules of the EGL standard
// that the programs under test rely on.
#include <EGL/egl.h>

#include <cstdint>
#include <type_traits>
#include <map>

#include "fake_internal.h"

namespace {

const std::uintptr_t DISPLAY_HANDLE = 0xD15;
const std::uintptr_t CONFIG_BASE = 0x100;
const std::uintptr_t SURFACE_BASE = 0x5000;
const std::uintptr_t CONTEXT_BASE = 0x6000;

struct FakeSurface {
  int kind;  // EGL_WINDOW_BIT, EGL_PBUFFER_BIT or EGL_PIXMAP_BIT
  int config_index;
  int width;
  int height;
};

struct EglState {
  bool initialized = false;
  EGLint error = EGL_SUCCESS;
  std::map<int, FakeSurface> surfaces;
  std::map<int, int> contexts;  // context number -> config index
  int next_surface = 1;
  int next_context = 1;
  EGLSurface draw = EGL_NO_SURFACE;
  EGLSurface read = EGL_NO_SURFACE;
  EGLContext context = EGL_NO_CONTEXT;
};

EglState& egl() {
  static EglState state;
  return state;
}

struct AttribName {
  EGLint value;
  const char* name;
};
#define ATTRIB(x) \
  { x, #x }
const AttribName ATTRIB_NAMES[] = {ATTRIB(EGL_BUFFER_SIZE),
                                   ATTRIB(EGL_ALPHA_SIZE),
                                   ATTRIB(EGL_BLUE_SIZE),
                                   ATTRIB(EGL_GREEN_SIZE),
                                   ATTRIB(EGL_RED_SIZE),
                                   ATTRIB(EGL_DEPTH_SIZE),
                                   ATTRIB(EGL_STENCIL_SIZE),
                                   ATTRIB(EGL_CONFIG_CAVEAT),
                                   ATTRIB(EGL_CONFIG_ID),
                                   ATTRIB(EGL_LEVEL),
                                   ATTRIB(EGL_MAX_PBUFFER_HEIGHT),
                                   ATTRIB(EGL_MAX_PBUFFER_PIXELS),
                                   ATTRIB(EGL_MAX_PBUFFER_WIDTH),
                                   ATTRIB(EGL_NATIVE_RENDERABLE),
                                   ATTRIB(EGL_NATIVE_VISUAL_ID),
                                   ATTRIB(EGL_NATIVE_VISUAL_TYPE),
                                   ATTRIB(EGL_SAMPLES),
                                   ATTRIB(EGL_SAMPLE_BUFFERS),
                                   ATTRIB(EGL_SURFACE_TYPE),
                                   ATTRIB(EGL_TRANSPARENT_TYPE),
                                   ATTRIB(EGL_TRANSPARENT_BLUE_VALUE),
                                   ATTRIB(EGL_TRANSPARENT_GREEN_VALUE),
                                   ATTRIB(EGL_TRANSPARENT_RED_VALUE),
                                   ATTRIB(EGL_NONE),
                                   ATTRIB(EGL_HEIGHT),
                                   ATTRIB(EGL_WIDTH),
                                   ATTRIB(EGL_LARGEST_PBUFFER),
                                   ATTRIB(EGL_DRAW),
                                   ATTRIB(EGL_READ),
                                   ATTRIB(EGL_CORE_NATIVE_ENGINE),
                                   ATTRIB(EGL_VENDOR),
                                   ATTRIB(EGL_VERSION),
                                   ATTRIB(EGL_EXTENSIONS),
                                   ATTRIB(EGL_CLIENT_APIS)};
#undef ATTRIB

std::string attrib_name(EGLint value) {
  for (const AttribName& entry : ATTRIB_NAMES) {
    if (entry.value == value) return entry.name;
  }
  return fake_format("0x%X", static_cast<unsigned>(value));
}

std::string attrib_list(const EGLint* list) {
  if (list == nullptr) return "NULL";
  std::string text = "{";
  for (int i = 0;; i += 2) {
    text += attrib_name(list[i]);
    if (list[i] == EGL_NONE) break;
    text += fake_format(", %d, ", list[i + 1]);
  }
  return text + "}";
}

std::string ptr(const void* p) {
  return p == nullptr ? "NULL" : "ptr";
}

std::string dpy_name(EGLDisplay dpy) {
  if (dpy == EGL_NO_DISPLAY) return "EGL_NO_DISPLAY";
  if (reinterpret_cast<std::uintptr_t>(dpy) == DISPLAY_HANDLE) return "dpy";
  return "baddpy";
}

int config_index(EGLConfig config) {
  const std::uintptr_t raw = reinterpret_cast<std::uintptr_t>(config);
  if (raw < CONFIG_BASE || raw >= CONFIG_BASE + fake_scenario().configs.size()) return -1;
  return static_cast<int>(raw - CONFIG_BASE);
}

EGLConfig config_handle(int index) {
  return reinterpret_cast<EGLConfig>(CONFIG_BASE + static_cast<std::uintptr_t>(index));
}

std::string cfg_name(EGLConfig config) {
  if (config == nullptr) return "NULL";
  const int index = config_index(config);
  return index < 0 ? "badcfg" : fake_format("cfg%d", index + 1);
}

int surface_number(EGLSurface surface) {
  const std::uintptr_t raw = reinterpret_cast<std::uintptr_t>(surface);
  if (raw <= SURFACE_BASE || raw >= SURFACE_BASE + 0x1000) return -1;
  return static_cast<int>(raw - SURFACE_BASE);
}

std::string surf_name(EGLSurface surface) {
  if (surface == EGL_NO_SURFACE) return "EGL_NO_SURFACE";
  const int n = surface_number(surface);
  return n < 0 ? "badsurf" : fake_format("surf%d", n);
}

int context_number(EGLContext context) {
  const std::uintptr_t raw = reinterpret_cast<std::uintptr_t>(context);
  if (raw <= CONTEXT_BASE || raw >= CONTEXT_BASE + 0x1000) return -1;
  return static_cast<int>(raw - CONTEXT_BASE);
}

std::string ctx_name(EGLContext context) {
  if (context == EGL_NO_CONTEXT) return "EGL_NO_CONTEXT";
  const int n = context_number(context);
  return n < 0 ? "badctx" : fake_format("ctx%d", n);
}

// The bits of a native handle, whether the platform's EGL header makes it an
// integer (X11 ids) or a pointer.
template <typename Handle>
std::uintptr_t handle_bits(Handle handle) {
  if constexpr (std::is_pointer<Handle>::value) {
    return reinterpret_cast<std::uintptr_t>(handle);
  } else {
    return static_cast<std::uintptr_t>(handle);
  }
}

std::string native_name(std::uintptr_t handle) {
  return handle == 0 ? "0" : fake_format("native%lu", static_cast<unsigned long>(handle));
}

std::string boolean_text(EGLBoolean value) {
  return value ? "EGL_TRUE" : "EGL_FALSE";
}

// Records the call with its result and returns the result.
EGLBoolean finish(const std::string& call, EGLBoolean result) {
  fake_record(call + " = " + boolean_text(result));
  return result;
}

EGLBoolean fail(const std::string& call, EGLint code) {
  egl().error = code;
  return finish(call, EGL_FALSE);
}

EGLBoolean succeed(const std::string& call) {
  egl().error = EGL_SUCCESS;
  return finish(call, EGL_TRUE);
}

// The display checks of every call that takes one: 0 when the display is usable.
EGLint display_error(EGLDisplay dpy) {
  if (reinterpret_cast<std::uintptr_t>(dpy) != DISPLAY_HANDLE) return EGL_BAD_DISPLAY;
  if (!egl().initialized) return EGL_NOT_INITIALIZED;
  return 0;
}

bool config_matches(const FakeConfig& config, int index, const EGLint* attribs) {
  EGLint surface_type = EGL_WINDOW_BIT;
  // A configuration id selects that configuration whatever else is asked.
  for (int i = 0; attribs != nullptr && attribs[i] != EGL_NONE; i += 2) {
    if (attribs[i] == EGL_CONFIG_ID) return attribs[i + 1] == index + 1;
  }
  if (attribs != nullptr) {
    for (int i = 0; attribs[i] != EGL_NONE; i += 2) {
      const EGLint value = attribs[i + 1];
      switch (attribs[i]) {
        case EGL_SURFACE_TYPE: surface_type = value; break;
        case EGL_RED_SIZE:
          if (config.red_size < value) return false;
          break;
        case EGL_DEPTH_SIZE:
          if (config.depth_size < value) return false;
          break;
        case EGL_STENCIL_SIZE:
          if (config.stencil_size < value) return false;
          break;
        case EGL_LEVEL:
          if (value != 0) return false;
          break;
        default: break;
      }
    }
  }
  return (config.surface_type & surface_type) == surface_type;
}

bool attrib_known(EGLint attribute) {
  for (const AttribName& entry : ATTRIB_NAMES) {
    if (entry.value == attribute && attribute >= EGL_BUFFER_SIZE && attribute <= EGL_TRANSPARENT_RED_VALUE)
      return true;
  }
  return false;
}

EGLint config_value(const FakeConfig& config, int index, EGLint attribute) {
  switch (attribute) {
    case EGL_CONFIG_ID: return index + 1;
    case EGL_RED_SIZE:
    case EGL_GREEN_SIZE:
    case EGL_BLUE_SIZE:
    case EGL_ALPHA_SIZE: return config.red_size;
    case EGL_BUFFER_SIZE: return 4 * config.red_size;
    case EGL_DEPTH_SIZE: return config.depth_size;
    case EGL_STENCIL_SIZE: return config.stencil_size;
    case EGL_SURFACE_TYPE: return config.surface_type;
    case EGL_NATIVE_VISUAL_ID: return (config.surface_type & EGL_WINDOW_BIT) ? 0x21 + index : 0;
    case EGL_CONFIG_CAVEAT: return EGL_NONE;
    case EGL_TRANSPARENT_TYPE: return EGL_NONE;
    case EGL_MAX_PBUFFER_WIDTH:
    case EGL_MAX_PBUFFER_HEIGHT: return 4096;
    case EGL_MAX_PBUFFER_PIXELS: return 4096 * 4096;
    default: return 0;
  }
}

EGLSurface new_surface(int kind, int index, int width, int height) {
  EglState& state = egl();
  const int n = state.next_surface++;
  state.surfaces[n] = FakeSurface{kind, index, width, height};
  state.error = EGL_SUCCESS;
  return reinterpret_cast<EGLSurface>(SURFACE_BASE + static_cast<std::uintptr_t>(n));
}

EGLSurface surface_result(const std::string& call, EGLSurface surface, EGLint code) {
  if (code != 0) egl().error = code;
  fake_record(call + " = " + surf_name(surface));
  return surface;
}

bool surface_alive(EGLSurface surface) {
  const int n = surface_number(surface);
  return n > 0 && egl().surfaces.count(n) != 0;
}

bool context_alive(EGLContext context) {
  const int n = context_number(context);
  return n > 0 && egl().contexts.count(n) != 0;
}

void dummy_entry_point() {}

}  // namespace

extern "C" {

EGLint EGLAPIENTRY eglGetError(void) {
  const int fault = fake_enter("eglGetError");
  EglState& state = egl();
  const EGLint code = fault != 0 ? fault : state.error;
  state.error = EGL_SUCCESS;
  fake_record(fake_format("eglGetError() = 0x%04X", static_cast<unsigned>(code)));
  return code;
}

EGLDisplay EGLAPIENTRY eglGetDisplay(EGLNativeDisplayType native) {
  const int fault = fake_enter("eglGetDisplay");
  const std::string call =
      fake_format("eglGetDisplay(%s)", native == EGL_DEFAULT_DISPLAY ? "EGL_DEFAULT_DISPLAY" : "native");
  EGLDisplay result = reinterpret_cast<EGLDisplay>(DISPLAY_HANDLE);
  if (fault != 0 || fake_scenario().no_display) {
    egl().error = fault != 0 ? fault : EGL_SUCCESS;
    result = EGL_NO_DISPLAY;
  } else {
    egl().error = EGL_SUCCESS;
  }
  fake_record(call + " = " + dpy_name(result));
  return result;
}

EGLBoolean EGLAPIENTRY eglInitialize(EGLDisplay dpy, EGLint* major, EGLint* minor) {
  const int fault = fake_enter("eglInitialize");
  const std::string call =
      fake_format("eglInitialize(%s, %s, %s)", dpy_name(dpy).c_str(), ptr(major).c_str(), ptr(minor).c_str());
  if (fault != 0) return fail(call, fault);
  if (reinterpret_cast<std::uintptr_t>(dpy) != DISPLAY_HANDLE) return fail(call, EGL_BAD_DISPLAY);
  egl().initialized = true;
  if (major != nullptr) *major = 1;
  if (minor != nullptr) *minor = 4;
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglTerminate(EGLDisplay dpy) {
  const int fault = fake_enter("eglTerminate");
  const std::string call = fake_format("eglTerminate(%s)", dpy_name(dpy).c_str());
  if (fault != 0) return fail(call, fault);
  if (reinterpret_cast<std::uintptr_t>(dpy) != DISPLAY_HANDLE) return fail(call, EGL_BAD_DISPLAY);
  egl().initialized = false;
  return succeed(call);
}

const char* EGLAPIENTRY eglQueryString(EGLDisplay dpy, EGLint name) {
  const int fault = fake_enter("eglQueryString");
  fake_record(fake_format("eglQueryString(%s, %s)", dpy_name(dpy).c_str(), attrib_name(name).c_str()));
  EglState& state = egl();
  if (fault != 0) {
    state.error = fault;
    return nullptr;
  }
  if (const EGLint code = display_error(dpy)) {
    state.error = code;
    return nullptr;
  }
  state.error = EGL_SUCCESS;
  switch (name) {
    case EGL_VENDOR: return "fakegl";
    case EGL_VERSION: return "1.4 fakegl";
    case EGL_EXTENSIONS: return "";
    case EGL_CLIENT_APIS: return "OpenGL_ES";
    default: state.error = EGL_BAD_PARAMETER; return nullptr;
  }
}

EGLBoolean EGLAPIENTRY eglGetConfigs(EGLDisplay dpy, EGLConfig* configs, EGLint size, EGLint* num) {
  const int fault = fake_enter("eglGetConfigs");
  const std::string call = fake_format("eglGetConfigs(%s, %s, %d, %s)", dpy_name(dpy).c_str(),
                                       ptr(configs).c_str(), size, ptr(num).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (num == nullptr) return fail(call, EGL_BAD_PARAMETER);
  const int total = static_cast<int>(fake_scenario().configs.size());
  if (configs == nullptr) {
    *num = total;
  } else {
    int n = 0;
    for (; n < total && n < size; ++n) configs[n] = config_handle(n);
    *num = n;
  }
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglChooseConfig(EGLDisplay dpy, const EGLint* attribs, EGLConfig* configs, EGLint size,
                                       EGLint* num) {
  const int fault = fake_enter("eglChooseConfig");
  const std::string call =
      fake_format("eglChooseConfig(%s, %s, %s, %d, %s)", dpy_name(dpy).c_str(), attrib_list(attribs).c_str(),
                  ptr(configs).c_str(), size, ptr(num).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (num == nullptr) return fail(call, EGL_BAD_PARAMETER);
  int found = 0;
  const std::vector<FakeConfig>& all = fake_scenario().configs;
  for (int i = 0; i < static_cast<int>(all.size()); ++i) {
    if (!config_matches(all[i], i, attribs)) continue;
    if (configs == nullptr) {
      ++found;
    } else if (found < size) {
      configs[found++] = config_handle(i);
    }
  }
  *num = found;
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglGetConfigAttrib(EGLDisplay dpy, EGLConfig config, EGLint attribute, EGLint* value) {
  const int fault = fake_enter("eglGetConfigAttrib");
  const std::string call =
      fake_format("eglGetConfigAttrib(%s, %s, %s, %s)", dpy_name(dpy).c_str(), cfg_name(config).c_str(),
                  attrib_name(attribute).c_str(), ptr(value).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  const int index = config_index(config);
  if (index < 0) return fail(call, EGL_BAD_CONFIG);
  if (!attrib_known(attribute)) return fail(call, EGL_BAD_ATTRIBUTE);
  if (value != nullptr) *value = config_value(fake_scenario().configs[index], index, attribute);
  return succeed(call);
}

EGLSurface EGLAPIENTRY eglCreateWindowSurface(EGLDisplay dpy, EGLConfig config, EGLNativeWindowType window,
                                              const EGLint* attribs) {
  const int fault = fake_enter("eglCreateWindowSurface");
  const std::string call =
      fake_format("eglCreateWindowSurface(%s, %s, %s, %s)", dpy_name(dpy).c_str(), cfg_name(config).c_str(),
                  native_name(handle_bits(window)).c_str(), attrib_list(attribs).c_str());
  if (fault != 0) return surface_result(call, EGL_NO_SURFACE, fault);
  if (const EGLint code = display_error(dpy)) return surface_result(call, EGL_NO_SURFACE, code);
  const int index = config_index(config);
  if (index < 0) return surface_result(call, EGL_NO_SURFACE, EGL_BAD_CONFIG);
  if ((fake_scenario().configs[index].surface_type & EGL_WINDOW_BIT) == 0)
    return surface_result(call, EGL_NO_SURFACE, EGL_BAD_MATCH);
  if (window == 0 && !fake_scenario().accept_null_native)
    return surface_result(call, EGL_NO_SURFACE, EGL_BAD_NATIVE_WINDOW);
  return surface_result(call, new_surface(EGL_WINDOW_BIT, index, 48, 48), 0);
}

EGLSurface EGLAPIENTRY eglCreatePixmapSurface(EGLDisplay dpy, EGLConfig config, EGLNativePixmapType pixmap,
                                              const EGLint* attribs) {
  const int fault = fake_enter("eglCreatePixmapSurface");
  const std::string call =
      fake_format("eglCreatePixmapSurface(%s, %s, %s, %s)", dpy_name(dpy).c_str(), cfg_name(config).c_str(),
                  native_name(handle_bits(pixmap)).c_str(), attrib_list(attribs).c_str());
  if (fault != 0) return surface_result(call, EGL_NO_SURFACE, fault);
  if (const EGLint code = display_error(dpy)) return surface_result(call, EGL_NO_SURFACE, code);
  const int index = config_index(config);
  if (index < 0) return surface_result(call, EGL_NO_SURFACE, EGL_BAD_CONFIG);
  if ((fake_scenario().configs[index].surface_type & EGL_PIXMAP_BIT) == 0)
    return surface_result(call, EGL_NO_SURFACE, EGL_BAD_MATCH);
  if (pixmap == 0 && !fake_scenario().accept_null_native)
    return surface_result(call, EGL_NO_SURFACE, EGL_BAD_NATIVE_PIXMAP);
  return surface_result(call, new_surface(EGL_PIXMAP_BIT, index, 48, 48), 0);
}

EGLSurface EGLAPIENTRY eglCreatePbufferSurface(EGLDisplay dpy, EGLConfig config, const EGLint* attribs) {
  const int fault = fake_enter("eglCreatePbufferSurface");
  const std::string call = fake_format("eglCreatePbufferSurface(%s, %s, %s)", dpy_name(dpy).c_str(),
                                       cfg_name(config).c_str(), attrib_list(attribs).c_str());
  if (fault != 0) return surface_result(call, EGL_NO_SURFACE, fault);
  if (const EGLint code = display_error(dpy)) return surface_result(call, EGL_NO_SURFACE, code);
  const int index = config_index(config);
  if (index < 0) return surface_result(call, EGL_NO_SURFACE, EGL_BAD_CONFIG);
  if ((fake_scenario().configs[index].surface_type & EGL_PBUFFER_BIT) == 0)
    return surface_result(call, EGL_NO_SURFACE, EGL_BAD_MATCH);
  int width = 0;
  int height = 0;
  for (int i = 0; attribs != nullptr && attribs[i] != EGL_NONE; i += 2) {
    if (attribs[i] == EGL_WIDTH)
      width = attribs[i + 1];
    else if (attribs[i] == EGL_HEIGHT)
      height = attribs[i + 1];
    else if (attribs[i] != EGL_LARGEST_PBUFFER)
      return surface_result(call, EGL_NO_SURFACE, EGL_BAD_ATTRIBUTE);
  }
  return surface_result(call, new_surface(EGL_PBUFFER_BIT, index, width, height), 0);
}

EGLBoolean EGLAPIENTRY eglDestroySurface(EGLDisplay dpy, EGLSurface surface) {
  const int fault = fake_enter("eglDestroySurface");
  const std::string call =
      fake_format("eglDestroySurface(%s, %s)", dpy_name(dpy).c_str(), surf_name(surface).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (!surface_alive(surface)) return fail(call, EGL_BAD_SURFACE);
  egl().surfaces.erase(surface_number(surface));
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglQuerySurface(EGLDisplay dpy, EGLSurface surface, EGLint attribute, EGLint* value) {
  const int fault = fake_enter("eglQuerySurface");
  const std::string call =
      fake_format("eglQuerySurface(%s, %s, %s, %s)", dpy_name(dpy).c_str(), surf_name(surface).c_str(),
                  attrib_name(attribute).c_str(), ptr(value).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (!surface_alive(surface)) return fail(call, EGL_BAD_SURFACE);
  const FakeSurface& s = egl().surfaces[surface_number(surface)];
  EGLint result = 0;
  switch (attribute) {
    case EGL_CONFIG_ID: result = s.config_index + 1; break;
    case EGL_WIDTH: result = s.width; break;
    case EGL_HEIGHT: result = s.height; break;
    case EGL_LARGEST_PBUFFER: result = 0; break;
    default: return fail(call, EGL_BAD_ATTRIBUTE);
  }
  if (value != nullptr) *value = result;
  return succeed(call);
}

EGLContext EGLAPIENTRY eglCreateContext(EGLDisplay dpy, EGLConfig config, EGLContext share,
                                        const EGLint* attribs) {
  const int fault = fake_enter("eglCreateContext");
  const std::string call =
      fake_format("eglCreateContext(%s, %s, %s, %s)", dpy_name(dpy).c_str(), cfg_name(config).c_str(),
                  ctx_name(share).c_str(), attrib_list(attribs).c_str());
  EglState& state = egl();
  EGLContext result = EGL_NO_CONTEXT;
  if (fault != 0) {
    state.error = fault;
  } else if (const EGLint code = display_error(dpy)) {
    state.error = code;
  } else if (config_index(config) < 0) {
    state.error = EGL_BAD_CONFIG;
  } else {
    const int n = state.next_context++;
    state.contexts[n] = config_index(config);
    state.error = EGL_SUCCESS;
    result = reinterpret_cast<EGLContext>(CONTEXT_BASE + static_cast<std::uintptr_t>(n));
  }
  fake_record(call + " = " + ctx_name(result));
  return result;
}

EGLBoolean EGLAPIENTRY eglDestroyContext(EGLDisplay dpy, EGLContext context) {
  const int fault = fake_enter("eglDestroyContext");
  const std::string call =
      fake_format("eglDestroyContext(%s, %s)", dpy_name(dpy).c_str(), ctx_name(context).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (!context_alive(context)) return fail(call, EGL_BAD_CONTEXT);
  egl().contexts.erase(context_number(context));
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglMakeCurrent(EGLDisplay dpy, EGLSurface draw, EGLSurface read, EGLContext context) {
  const int fault = fake_enter("eglMakeCurrent");
  const std::string call =
      fake_format("eglMakeCurrent(%s, %s, %s, %s)", dpy_name(dpy).c_str(), surf_name(draw).c_str(),
                  surf_name(read).c_str(), ctx_name(context).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  EglState& state = egl();
  if (context == EGL_NO_CONTEXT) {
    if (draw != EGL_NO_SURFACE || read != EGL_NO_SURFACE) return fail(call, EGL_BAD_MATCH);
  } else {
    if (!context_alive(context)) return fail(call, EGL_BAD_CONTEXT);
    if (!surface_alive(draw) || !surface_alive(read)) return fail(call, EGL_BAD_SURFACE);
  }
  state.draw = draw;
  state.read = read;
  state.context = context;
  return succeed(call);
}

EGLContext EGLAPIENTRY eglGetCurrentContext(void) {
  const int fault = fake_enter("eglGetCurrentContext");
  EglState& state = egl();
  const EGLContext result = fault != 0 ? EGL_NO_CONTEXT : state.context;
  state.error = fault != 0 ? fault : EGL_SUCCESS;
  fake_record("eglGetCurrentContext() = " + ctx_name(result));
  return result;
}

EGLSurface EGLAPIENTRY eglGetCurrentSurface(EGLint readdraw) {
  const int fault = fake_enter("eglGetCurrentSurface");
  const std::string call = fake_format("eglGetCurrentSurface(%s)", attrib_name(readdraw).c_str());
  if (fault != 0) return surface_result(call, EGL_NO_SURFACE, fault);
  if (readdraw == EGL_DRAW) return surface_result(call, egl().draw, EGL_SUCCESS);
  if (readdraw == EGL_READ) return surface_result(call, egl().read, EGL_SUCCESS);
  return surface_result(call, EGL_NO_SURFACE, EGL_BAD_PARAMETER);
}

EGLDisplay EGLAPIENTRY eglGetCurrentDisplay(void) {
  const int fault = fake_enter("eglGetCurrentDisplay");
  EglState& state = egl();
  state.error = fault != 0 ? fault : EGL_SUCCESS;
  EGLDisplay result = fault != 0 || state.context == EGL_NO_CONTEXT
                          ? EGL_NO_DISPLAY
                          : reinterpret_cast<EGLDisplay>(DISPLAY_HANDLE);
  fake_record("eglGetCurrentDisplay() = " + dpy_name(result));
  return result;
}

EGLBoolean EGLAPIENTRY eglQueryContext(EGLDisplay dpy, EGLContext context, EGLint attribute, EGLint* value) {
  const int fault = fake_enter("eglQueryContext");
  const std::string call =
      fake_format("eglQueryContext(%s, %s, %s, %s)", dpy_name(dpy).c_str(), ctx_name(context).c_str(),
                  attrib_name(attribute).c_str(), ptr(value).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (!context_alive(context)) return fail(call, EGL_BAD_CONTEXT);
  if (attribute != EGL_CONFIG_ID) return fail(call, EGL_BAD_ATTRIBUTE);
  if (value != nullptr) *value = egl().contexts[context_number(context)] + 1;
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglWaitGL(void) {
  const int fault = fake_enter("eglWaitGL");
  if (fault != 0) return fail("eglWaitGL()", fault);
  return succeed("eglWaitGL()");
}

EGLBoolean EGLAPIENTRY eglWaitNative(EGLint engine) {
  const int fault = fake_enter("eglWaitNative");
  const std::string call = fake_format("eglWaitNative(%s)", attrib_name(engine).c_str());
  if (fault != 0) return fail(call, fault);
  if (engine != EGL_CORE_NATIVE_ENGINE) return fail(call, EGL_BAD_PARAMETER);
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglSwapBuffers(EGLDisplay dpy, EGLSurface surface) {
  const int fault = fake_enter("eglSwapBuffers");
  const std::string call =
      fake_format("eglSwapBuffers(%s, %s)", dpy_name(dpy).c_str(), surf_name(surface).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (!surface_alive(surface)) return fail(call, EGL_BAD_SURFACE);
  return succeed(call);
}

EGLBoolean EGLAPIENTRY eglCopyBuffers(EGLDisplay dpy, EGLSurface surface, EGLNativePixmapType target) {
  const int fault = fake_enter("eglCopyBuffers");
  const std::string call = fake_format("eglCopyBuffers(%s, %s, %s)", dpy_name(dpy).c_str(),
                                       surf_name(surface).c_str(), native_name(handle_bits(target)).c_str());
  if (fault != 0) return fail(call, fault);
  if (const EGLint code = display_error(dpy)) return fail(call, code);
  if (!surface_alive(surface)) return fail(call, EGL_BAD_SURFACE);
  if (target == 0) return fail(call, EGL_BAD_NATIVE_PIXMAP);
  return succeed(call);
}

__eglMustCastToProperFunctionPointerType EGLAPIENTRY eglGetProcAddress(const char* name) {
  const int fault = fake_enter("eglGetProcAddress");
  fake_record(fake_format("eglGetProcAddress(\"%s\")", name == nullptr ? "(null)" : name));
  EglState& state = egl();
  state.error = fault != 0 ? fault : EGL_SUCCESS;
  if (fault != 0 || name == nullptr || std::string(name) != "glQueryMatrixxOES") return nullptr;
  return dummy_entry_point;
}

}  // extern "C"

int fake_pending_egl_error() {
  return egl().error;
}

void fake_egl_reset() {
  egl() = EglState();
}
