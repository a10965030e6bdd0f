// SPDX-License-Identifier: MIT
// The sweep of brindle. Every trace line is logged at level 1 just before the
// call it names, so in verbose mode the last line before a failed verdict
// shows which call (and, in the loops, which attribute) failed.
#include "eglsweep/sweep.h"

#include <cstddef>
#include <cstdint>

#include "eglsweep/egl_check.h"
#include "eglsweep/native.h"
#include "harness/harness.h"
#include "harness/value_entry.h"

namespace {

// Process-wide handles of the sweep, null at start and never reset.
struct SweepHandles {
  EGLNativeDisplayType native_display;  // from native_open_display
  EGLDisplay display;                   // from eglGetDisplay
  EGLConfig config;                     // last configuration returned by a search
  EGLSurface surface;                   // the main surface
  EGLContext context;                   // the main context
};
SweepHandles sweep_handles = {};

// Size of every surface and native object the sweep makes.
constexpr std::int32_t SURFACE_WIDTH = 48;
constexpr std::int32_t SURFACE_HEIGHT = 48;

// Word of the main configuration's attribute list that holds the surface kind.
constexpr std::size_t SURFACE_KIND_WORD = 1;

// Value lists walked by the sweep's loops.
// Releases of clang-format lay out a braced macro body differently.
// clang-format off
#define EGL_VALUE(name) \
  { name, #name }
// clang-format on

constexpr ValueEntry QUERY_STRING_LIST[] = {EGL_VALUE(EGL_VENDOR), EGL_VALUE(EGL_VERSION),
                                            EGL_VALUE(EGL_EXTENSIONS), VALUE_LIST_TERMINATOR};

constexpr ValueEntry CURRENT_SURFACE_LIST[] = {EGL_VALUE(EGL_DRAW), EGL_VALUE(EGL_READ),
                                               VALUE_LIST_TERMINATOR};

constexpr ValueEntry CONFIG_ATTRIBUTE_LIST[] = {EGL_VALUE(EGL_CONFIG_ID),
                                                EGL_VALUE(EGL_BUFFER_SIZE),
                                                EGL_VALUE(EGL_LEVEL),
                                                EGL_VALUE(EGL_RED_SIZE),
                                                EGL_VALUE(EGL_GREEN_SIZE),
                                                EGL_VALUE(EGL_BLUE_SIZE),
                                                EGL_VALUE(EGL_ALPHA_SIZE),
                                                EGL_VALUE(EGL_DEPTH_SIZE),
                                                EGL_VALUE(EGL_STENCIL_SIZE),
                                                EGL_VALUE(EGL_SAMPLE_BUFFERS),
                                                EGL_VALUE(EGL_SAMPLES),
                                                EGL_VALUE(EGL_SURFACE_TYPE),
                                                EGL_VALUE(EGL_NATIVE_RENDERABLE),
                                                EGL_VALUE(EGL_NATIVE_VISUAL_ID),
                                                EGL_VALUE(EGL_NATIVE_VISUAL_TYPE),
                                                EGL_VALUE(EGL_CONFIG_CAVEAT),
                                                EGL_VALUE(EGL_TRANSPARENT_TYPE),
                                                EGL_VALUE(EGL_TRANSPARENT_RED_VALUE),
                                                EGL_VALUE(EGL_TRANSPARENT_GREEN_VALUE),
                                                EGL_VALUE(EGL_TRANSPARENT_BLUE_VALUE),
                                                EGL_VALUE(EGL_MAX_PBUFFER_WIDTH),
                                                EGL_VALUE(EGL_MAX_PBUFFER_HEIGHT),
                                                EGL_VALUE(EGL_MAX_PBUFFER_PIXELS),
                                                VALUE_LIST_TERMINATOR};

constexpr ValueEntry SURFACE_QUERY_LIST[] = {EGL_VALUE(EGL_CONFIG_ID), EGL_VALUE(EGL_LARGEST_PBUFFER),
                                             EGL_VALUE(EGL_WIDTH), EGL_VALUE(EGL_HEIGHT),
                                             VALUE_LIST_TERMINATOR};

constexpr ValueEntry CONTEXT_QUERY_LIST[] = {EGL_VALUE(EGL_CONFIG_ID), VALUE_LIST_TERMINATOR};

constexpr ValueEntry WAIT_NATIVE_LIST[] = {EGL_VALUE(EGL_CORE_NATIVE_ENGINE), VALUE_LIST_TERMINATOR};

#undef EGL_VALUE

static_assert(terminated_length(QUERY_STRING_LIST) == 3, "query-string list");
static_assert(terminated_length(CURRENT_SURFACE_LIST) == 2, "current-surface list");
static_assert(terminated_length(CONFIG_ATTRIBUTE_LIST) == 23, "config-attribute list");
static_assert(terminated_length(SURFACE_QUERY_LIST) == 4, "surface-query list");
static_assert(terminated_length(CONTEXT_QUERY_LIST) == 1, "context-query list");
static_assert(terminated_length(WAIT_NATIVE_LIST) == 1, "wait-native list");

// Surface attributes of the main pbuffer.
constexpr EGLint MAIN_PBUFFER_ATTRIBS[] = {EGL_WIDTH, SURFACE_WIDTH, EGL_HEIGHT, SURFACE_HEIGHT, EGL_NONE};

// Configuration and surface attributes of the follow-up checks.
constexpr EGLint WINDOW_CONFIG_ATTRIBS[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_NONE};
constexpr EGLint PBUFFER_CONFIG_ATTRIBS[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_NONE};
constexpr EGLint PBUFFER_SURFACE_ATTRIBS[] = {
    EGL_WIDTH, SURFACE_WIDTH, EGL_HEIGHT, SURFACE_HEIGHT, EGL_LARGEST_PBUFFER, 1, EGL_NONE};
constexpr EGLint PIXMAP_CONFIG_ATTRIBS[] = {EGL_SURFACE_TYPE, EGL_PIXMAP_BIT, EGL_NONE};

// The sweep's own variables, shared by its steps. The counts and the visual
// id start at 0 until an EGL call writes them.
struct SweepLocals {
  EGLint config_attribs[7] = {EGL_SURFACE_TYPE, 0, EGL_RED_SIZE, 1, EGL_DEPTH_SIZE, 12, EGL_NONE};
  EGLint main_surface_kind = 0;  // kind of the last main search; after the chain, of the main surface
  EGLint num_config = 0;         // count output of every configuration search
  EGLint visual_id = 0;          // native visual id for the window and pixmap hooks
  EGLint scratch = 0;            // output of the attribute and query loops, never read
  EGLint major = 0;              // outputs of eglInitialize, never read
  EGLint minor = 0;
  EGLNativeWindowType native_window = 0;  // the chain's window, null until made
  EGLNativePixmapType native_pixmap = 0;  // the chain's pixmap, null until made
};

// Logs the trace line, makes the call and judges its error code.
template <typename Call>
void checked(const char* trace, Call call) {
  log_message(1, "%s\n", trace);
  call();
  check_egl();
}

// Logs the trace line, makes the call and drains its error code unjudged.
template <typename Call>
void drained(const char* trace, Call call) {
  log_message(1, "%s\n", trace);
  call();
  eglGetError();
}

// Logs the trace line, then for each entry of the list its name, the call
// with its value and the judgement of its error code.
template <typename Call>
void checked_each(const char* trace, const ValueEntry* list, Call call) {
  log_message(1, "%s\n", trace);
  for (const ValueEntry* entry = list; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    call(entry->value);
    check_egl();
  }
}

// Native visual id of a configuration, its query judged.
EGLint visual_of(EGLConfig config, EGLint* visual_id) {
  eglGetConfigAttrib(sweep_handles.display, config, EGL_NATIVE_VISUAL_ID, visual_id);
  check_egl();
  return *visual_id;
}

// Searches a configuration of the given surface kind into the main
// configuration; the count goes to num_config.
void choose_main_config(SweepLocals* locals, EGLint kind) {
  locals->main_surface_kind = kind;
  locals->config_attribs[SURFACE_KIND_WORD] = kind;
  eglChooseConfig(sweep_handles.display, locals->config_attribs, &sweep_handles.config, 1,
                  &locals->num_config);
  check_egl();
}

// Native display, error state, display and its strings.
void start_display(SweepLocals* locals) {
  SweepHandles& h = sweep_handles;
  h.native_display = native_open_display();
  log_message(1, "eglGetError\n");
  eglGetError();  // drained: an error left by an earlier user of EGL is not judged
  checked("eglGetProcAddress with empty string", [] { eglGetProcAddress(""); });
  checked("eglGetDisplay", [&] { h.display = eglGetDisplay(h.native_display); });
  checked("eglInitialize", [&] { eglInitialize(h.display, &locals->major, &locals->minor); });
  checked_each("eglQueryString", QUERY_STRING_LIST, [&](EGLint name) { eglQueryString(h.display, name); });
}

// Configuration queries with null arrays and lists, a context made and
// destroyed at once, then the search for a window configuration.
void search_configurations(SweepLocals* locals) {
  SweepHandles& h = sweep_handles;
  EGLint* const count = &locals->num_config;
  checked("eglGetConfigs NULL config", [&] { eglGetConfigs(h.display, nullptr, 0, count); });
  checked("eglGetConfigs with config", [&] { eglGetConfigs(h.display, &h.config, 1, count); });
  checked("eglChooseConfig NULL config",
          [&] { eglChooseConfig(h.display, locals->config_attribs, nullptr, 1, count); });
  checked("eglChooseConfig NULL attrib_list",
          [&] { eglChooseConfig(h.display, nullptr, &h.config, 1, count); });
  checked("eglChooseConfig with attrib_list and config",
          [&] { eglChooseConfig(h.display, locals->config_attribs, &h.config, 1, count); });

  // Only the destruction of the temporary context is judged.
  const EGLContext temporary = eglCreateContext(h.display, h.config, EGL_NO_CONTEXT, nullptr);
  checked("eglDestroyContext", [&] { eglDestroyContext(h.display, temporary); });

  choose_main_config(locals, EGL_WINDOW_BIT);
  log_message(1, "eglGetConfigAttrib\n");
  visual_of(h.config, &locals->visual_id);
}

// The surface chain: a window, else a pbuffer, else a pixmap becomes the main
// surface. The errors of refused creations are not judged; the error of the
// creation that made the surface is. No surface at all ends the run.
void make_main_surface(SweepLocals* locals) {
  SweepHandles& h = sweep_handles;
  if (locals->num_config >= 1) {
    locals->native_window = native_create_window("brindle", SURFACE_WIDTH, SURFACE_HEIGHT, locals->visual_id);
    log_message(1, "eglCreateWindowSurface\n");
    h.surface = eglCreateWindowSurface(h.display, h.config, locals->native_window, nullptr);
    if (h.surface == EGL_NO_SURFACE) {
      // The clean-up at the end releases only the main surface's native
      // object, so a refused window is released here.
      native_destroy_window(locals->native_window);
      locals->native_window = 0;
    }
  }

  if (h.surface == EGL_NO_SURFACE) {
    choose_main_config(locals, EGL_PBUFFER_BIT);
    if (locals->num_config >= 1) {
      log_message(1, "eglCreatePbufferSurface\n");
      h.surface = eglCreatePbufferSurface(h.display, h.config, MAIN_PBUFFER_ATTRIBS);
    }
  }

  if (h.surface == EGL_NO_SURFACE) {
    choose_main_config(locals, EGL_PIXMAP_BIT);
    if (locals->num_config >= 1) {
      locals->native_pixmap =
          native_create_pixmap(SURFACE_WIDTH, SURFACE_HEIGHT, visual_of(h.config, &locals->visual_id));
      log_message(1, "eglCreatePixmapSurface\n");
      h.surface = eglCreatePixmapSurface(h.display, h.config, locals->native_pixmap, nullptr);
    }
    if (h.surface == EGL_NO_SURFACE) {
      fail_run();
    }
  }
  check_egl();
}

// The main context, made current on the main surface.
void make_main_context() {
  SweepHandles& h = sweep_handles;
  checked("eglCreateContext",
          [&] { h.context = eglCreateContext(h.display, h.config, EGL_NO_CONTEXT, nullptr); });
  checked("eglMakeCurrent", [&] { eglMakeCurrent(h.display, h.surface, h.surface, h.context); });
}

// Current display, surfaces and context, then every attribute of the
// configuration, the main surface and the main context.
void query_current_state(SweepLocals* locals) {
  const SweepHandles& h = sweep_handles;
  EGLint* const out = &locals->scratch;
  checked("eglGetCurrentDisplay", [] { eglGetCurrentDisplay(); });
  checked_each("eglGetCurrentSurface", CURRENT_SURFACE_LIST,
               [](EGLint which) { eglGetCurrentSurface(which); });
  checked("eglGetCurrentContext", [] { eglGetCurrentContext(); });
  checked_each("eglGetConfigAttrib", CONFIG_ATTRIBUTE_LIST,
               [&](EGLint name) { eglGetConfigAttrib(h.display, h.config, name, out); });
  checked_each("eglQuerySurface", SURFACE_QUERY_LIST,
               [&](EGLint name) { eglQuerySurface(h.display, h.surface, name, out); });
  checked_each("eglQueryContext", CONTEXT_QUERY_LIST,
               [&](EGLint name) { eglQueryContext(h.display, h.context, name, out); });
}

// Surfaces of the two kinds the main surface is not; a pixmap main surface
// is first copied to its own pixmap.
void run_follow_up_checks(const SweepLocals* locals) {
  switch (locals->main_surface_kind) {
    case EGL_PIXMAP_BIT:
      drained("eglCopyBuffers",
              [&] { eglCopyBuffers(sweep_handles.display, sweep_handles.surface, locals->native_pixmap); });
      test_window_surface();
      test_pbuffer_surface();
      break;
    case EGL_WINDOW_BIT:
      test_pbuffer_surface();
      test_pixmap_surface();
      break;
    case EGL_PBUFFER_BIT:
      test_window_surface();
      test_pixmap_surface();
      break;
    default: break;
  }
}

// Releases the native object that carried the main surface, once EGL has
// destroyed that surface. A pbuffer has none.
void release_main_native_object(const SweepLocals* locals) {
  switch (locals->main_surface_kind) {
    case EGL_PIXMAP_BIT: native_destroy_pixmap(locals->native_pixmap); break;
    case EGL_WINDOW_BIT: native_destroy_window(locals->native_window); break;
    default: break;
  }
}

// Swap and waits on the main surface, then everything is released in the
// reverse order of its making.
void finish_sweep(const SweepLocals* locals) {
  const SweepHandles& h = sweep_handles;
  checked("eglSwapBuffers", [&] { eglSwapBuffers(h.display, h.surface); });
  checked("eglWaitGL", [] { eglWaitGL(); });
  checked_each("eglWaitNative", WAIT_NATIVE_LIST, [](EGLint engine) { eglWaitNative(engine); });
  checked("eglMakeCurrent NULL",
          [&] { eglMakeCurrent(h.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT); });
  checked("eglDestroySurface", [&] { eglDestroySurface(h.display, h.surface); });
  release_main_native_object(locals);
  checked("eglDestroyContext", [&] { eglDestroyContext(h.display, h.context); });
  checked("eglTerminate", [&] { eglTerminate(h.display); });
  native_close_display(h.native_display);
  log_message(1, "\n");
}

// The configuration of a follow-up check; none found: false, its error
// drained.
bool find_check_config(const EGLint* attribs, EGLConfig* config) {
  EGLint count = 0;
  if (eglChooseConfig(sweep_handles.display, attribs, config, 1, &count) == EGL_FALSE || count == 0) {
    eglGetError();  // drained
    return false;
  }
  return true;
}

// A surface of a follow-up check destroyed again, its error judged.
void destroy_check_surface(EGLSurface surface) {
  checked("eglDestroySurface", [&] { eglDestroySurface(sweep_handles.display, surface); });
}

}  // namespace

void run_sweep() {
  SweepLocals locals;
  start_display(&locals);
  search_configurations(&locals);
  make_main_surface(&locals);
  make_main_context();
  query_current_state(&locals);
  run_follow_up_checks(&locals);
  finish_sweep(&locals);
}

void test_window_surface() {
  const SweepHandles& h = sweep_handles;
  EGLConfig config = nullptr;
  EGLint visual_id = 0;
  if (!find_check_config(WINDOW_CONFIG_ATTRIBS, &config)) return;
  const EGLNativeWindowType window =
      native_create_window("name", SURFACE_WIDTH, SURFACE_HEIGHT, visual_of(config, &visual_id));
  log_message(1, "eglCreateWindowSurface\n");
  const EGLSurface surface = eglCreateWindowSurface(h.display, config, window, nullptr);
  if (surface != EGL_NO_SURFACE) {
    check_egl();
    destroy_check_surface(surface);
  } else {
    eglGetError();  // drained
  }
  checked("eglSwapBuffers", [&] { eglSwapBuffers(h.display, h.surface); });
  native_destroy_window(window);
}

void test_pbuffer_surface() {
  const SweepHandles& h = sweep_handles;
  EGLConfig config = nullptr;
  if (!find_check_config(PBUFFER_CONFIG_ATTRIBS, &config)) return;
  log_message(1, "eglCreatePbufferSurface\n");
  const EGLSurface surface = eglCreatePbufferSurface(h.display, config, PBUFFER_SURFACE_ATTRIBS);
  if (surface == EGL_NO_SURFACE) {
    eglGetError();  // drained
    return;
  }
  check_egl();
  destroy_check_surface(surface);
}

void test_pixmap_surface() {
  const SweepHandles& h = sweep_handles;
  EGLConfig config = nullptr;
  EGLint visual_id = 0;
  if (!find_check_config(PIXMAP_CONFIG_ATTRIBS, &config)) return;
  const EGLNativePixmapType pixmap =
      native_create_pixmap(SURFACE_WIDTH, SURFACE_HEIGHT, visual_of(config, &visual_id));
  log_message(1, "eglCreatePixmapSurface\n");
  const EGLSurface surface = eglCreatePixmapSurface(h.display, config, pixmap, nullptr);
  check_egl();  // judged whether or not a surface was made
  if (surface != EGL_NO_SURFACE) destroy_check_surface(surface);
  drained("eglCopyBuffers", [&] { eglCopyBuffers(h.display, h.surface, pixmap); });
  native_destroy_pixmap(pixmap);
}
