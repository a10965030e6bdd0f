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

// Word of the configuration attribute list that holds the surface kind; after
// the surface chain it names the kind of the main surface.
constexpr std::size_t SURFACE_KIND_WORD = 1;
constexpr std::size_t CONFIG_ATTRIBS_SIZE = 7;

// Value lists walked by the sweep's loops.
#define EGL_VALUE(name) \
  { name, #name }

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
  EGLint config_attribs[CONFIG_ATTRIBS_SIZE];  // the surface kind is word 1
  EGLint num_config;                           // count output of every configuration search
  EGLint visual_id;                            // native visual id for the window and pixmap hooks
  EGLint scratch;                              // output of the attribute and query loops, never read
  EGLint major;                                // outputs of eglInitialize, never read
  EGLint minor;
  EGLNativeWindowType native_window;  // the chain's window, null until made
  EGLNativePixmapType native_pixmap;  // the chain's pixmap, null until made
};

EGLint surface_kind(const SweepLocals* locals) {
  return locals->config_attribs[SURFACE_KIND_WORD];
}

// Searches a configuration of the given surface kind into the main
// configuration; the count goes to num_config.
void choose_main_config(SweepLocals* locals, EGLint kind) {
  locals->config_attribs[SURFACE_KIND_WORD] = kind;
  eglChooseConfig(sweep_handles.display, locals->config_attribs, &sweep_handles.config, 1,
                  &locals->num_config);
  check_egl();
}

// Native display, error state, display and its strings.
void start_display(SweepLocals* locals) {
  sweep_handles.native_display = native_open_display();
  log_message(1, "eglGetError\n");
  eglGetError();  // drained: an error left by an earlier user of EGL is not judged
  log_message(1, "eglGetProcAddress with empty string\n");
  eglGetProcAddress("");
  check_egl();
  log_message(1, "eglGetDisplay\n");
  sweep_handles.display = eglGetDisplay(sweep_handles.native_display);
  check_egl();
  log_message(1, "eglInitialize\n");
  eglInitialize(sweep_handles.display, &locals->major, &locals->minor);
  check_egl();
  log_message(1, "eglQueryString\n");
  for (const ValueEntry* entry = QUERY_STRING_LIST; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    eglQueryString(sweep_handles.display, entry->value);
    check_egl();
  }
}

// Configuration queries with null arrays and lists, a context made and
// destroyed at once, then the search for a window configuration.
void search_configurations(SweepLocals* locals) {
  const EGLDisplay display = sweep_handles.display;
  log_message(1, "eglGetConfigs NULL config\n");
  eglGetConfigs(display, nullptr, 0, &locals->num_config);
  check_egl();
  log_message(1, "eglGetConfigs with config\n");
  eglGetConfigs(display, &sweep_handles.config, 1, &locals->num_config);
  check_egl();
  log_message(1, "eglChooseConfig NULL config\n");
  eglChooseConfig(display, locals->config_attribs, nullptr, 1, &locals->num_config);
  check_egl();
  log_message(1, "eglChooseConfig NULL attrib_list\n");
  eglChooseConfig(display, nullptr, &sweep_handles.config, 1, &locals->num_config);
  check_egl();
  log_message(1, "eglChooseConfig with attrib_list and config\n");
  eglChooseConfig(display, locals->config_attribs, &sweep_handles.config, 1, &locals->num_config);
  check_egl();

  // Only the destruction of the temporary context is judged.
  const EGLContext temporary = eglCreateContext(display, sweep_handles.config, EGL_NO_CONTEXT, nullptr);
  log_message(1, "eglDestroyContext\n");
  eglDestroyContext(display, temporary);
  check_egl();

  choose_main_config(locals, EGL_WINDOW_BIT);
  log_message(1, "eglGetConfigAttrib\n");
  eglGetConfigAttrib(display, sweep_handles.config, EGL_NATIVE_VISUAL_ID, &locals->visual_id);
  check_egl();
}

// The surface chain: a window, else a pbuffer, else a pixmap becomes the main
// surface. The errors of refused creations are not judged; the error of the
// creation that made the surface is. No surface at all ends the run.
void make_main_surface(SweepLocals* locals) {
  const EGLDisplay display = sweep_handles.display;
  if (locals->num_config >= 1) {
    locals->native_window = native_create_window("brindle", SURFACE_WIDTH, SURFACE_HEIGHT, locals->visual_id);
    log_message(1, "eglCreateWindowSurface\n");
    sweep_handles.surface =
        eglCreateWindowSurface(display, sweep_handles.config, locals->native_window, nullptr);
    if (sweep_handles.surface == EGL_NO_SURFACE) {
      // The clean-up at the end releases only the main surface's native
      // object, so a refused window is released here.
      native_destroy_window(locals->native_window);
      locals->native_window = 0;
    }
  }

  if (sweep_handles.surface == EGL_NO_SURFACE) {
    choose_main_config(locals, EGL_PBUFFER_BIT);
    if (locals->num_config >= 1) {
      log_message(1, "eglCreatePbufferSurface\n");
      sweep_handles.surface = eglCreatePbufferSurface(display, sweep_handles.config, MAIN_PBUFFER_ATTRIBS);
    }
  }

  if (sweep_handles.surface == EGL_NO_SURFACE) {
    choose_main_config(locals, EGL_PIXMAP_BIT);
    if (locals->num_config >= 1) {
      eglGetConfigAttrib(display, sweep_handles.config, EGL_NATIVE_VISUAL_ID, &locals->visual_id);
      check_egl();
      locals->native_pixmap = native_create_pixmap(SURFACE_WIDTH, SURFACE_HEIGHT, locals->visual_id);
      log_message(1, "eglCreatePixmapSurface\n");
      sweep_handles.surface =
          eglCreatePixmapSurface(display, sweep_handles.config, locals->native_pixmap, nullptr);
    }
    if (sweep_handles.surface == EGL_NO_SURFACE) {
      fail_run();
    }
  }
  check_egl();
}

// The main context, made current on the main surface.
void make_main_context() {
  log_message(1, "eglCreateContext\n");
  sweep_handles.context =
      eglCreateContext(sweep_handles.display, sweep_handles.config, EGL_NO_CONTEXT, nullptr);
  check_egl();
  log_message(1, "eglMakeCurrent\n");
  eglMakeCurrent(sweep_handles.display, sweep_handles.surface, sweep_handles.surface, sweep_handles.context);
  check_egl();
}

// Current display, surfaces and context, then every attribute of the
// configuration, the main surface and the main context.
void query_current_state(SweepLocals* locals) {
  const EGLDisplay display = sweep_handles.display;
  log_message(1, "eglGetCurrentDisplay\n");
  eglGetCurrentDisplay();
  check_egl();
  log_message(1, "eglGetCurrentSurface\n");
  for (const ValueEntry* entry = CURRENT_SURFACE_LIST; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    eglGetCurrentSurface(entry->value);
    check_egl();
  }
  log_message(1, "eglGetCurrentContext\n");
  eglGetCurrentContext();
  check_egl();
  log_message(1, "eglGetConfigAttrib\n");
  for (const ValueEntry* entry = CONFIG_ATTRIBUTE_LIST; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    eglGetConfigAttrib(display, sweep_handles.config, entry->value, &locals->scratch);
    check_egl();
  }
  log_message(1, "eglQuerySurface\n");
  for (const ValueEntry* entry = SURFACE_QUERY_LIST; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    eglQuerySurface(display, sweep_handles.surface, entry->value, &locals->scratch);
    check_egl();
  }
  log_message(1, "eglQueryContext\n");
  for (const ValueEntry* entry = CONTEXT_QUERY_LIST; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    eglQueryContext(display, sweep_handles.context, entry->value, &locals->scratch);
    check_egl();
  }
}

// Surfaces of the two kinds the main surface is not; a pixmap main surface
// is first copied to its own pixmap.
void run_follow_up_checks(const SweepLocals* locals) {
  switch (surface_kind(locals)) {
    case EGL_PIXMAP_BIT:
      log_message(1, "eglCopyBuffers\n");
      eglCopyBuffers(sweep_handles.display, sweep_handles.surface, locals->native_pixmap);
      eglGetError();  // drained
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
  switch (surface_kind(locals)) {
    case EGL_PIXMAP_BIT: native_destroy_pixmap(locals->native_pixmap); break;
    case EGL_WINDOW_BIT: native_destroy_window(locals->native_window); break;
    default: break;
  }
}

// Swap and waits on the main surface, then everything is released in the
// reverse order of its making.
void finish_sweep(const SweepLocals* locals) {
  const EGLDisplay display = sweep_handles.display;
  log_message(1, "eglSwapBuffers\n");
  eglSwapBuffers(display, sweep_handles.surface);
  check_egl();
  log_message(1, "eglWaitGL\n");
  eglWaitGL();
  check_egl();
  log_message(1, "eglWaitNative\n");
  for (const ValueEntry* entry = WAIT_NATIVE_LIST; entry->value != VALUE_LIST_END; ++entry) {
    log_message(1, "\t%s\n", entry->name);
    eglWaitNative(entry->value);
    check_egl();
  }
  log_message(1, "eglMakeCurrent NULL\n");
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  check_egl();
  log_message(1, "eglDestroySurface\n");
  eglDestroySurface(display, sweep_handles.surface);
  check_egl();
  release_main_native_object(locals);
  log_message(1, "eglDestroyContext\n");
  eglDestroyContext(display, sweep_handles.context);
  check_egl();
  log_message(1, "eglTerminate\n");
  eglTerminate(display);
  check_egl();
  native_close_display(sweep_handles.native_display);
  log_message(1, "\n");
}

}  // namespace

void run_sweep() {
  SweepLocals locals = {
      {EGL_SURFACE_TYPE, 0, EGL_RED_SIZE, 1, EGL_DEPTH_SIZE, 12, EGL_NONE}, 0, 0, 0, 0, 0, 0, 0};
  start_display(&locals);
  search_configurations(&locals);
  make_main_surface(&locals);
  make_main_context();
  query_current_state(&locals);
  run_follow_up_checks(&locals);
  finish_sweep(&locals);
}

void test_window_surface() {
  const EGLDisplay display = sweep_handles.display;
  EGLConfig config = nullptr;
  EGLint count = 0;
  EGLint visual_id = 0;
  if (eglChooseConfig(display, WINDOW_CONFIG_ATTRIBS, &config, 1, &count) == EGL_FALSE || count == 0) {
    eglGetError();  // drained
    return;
  }
  eglGetConfigAttrib(display, config, EGL_NATIVE_VISUAL_ID, &visual_id);
  check_egl();
  const EGLNativeWindowType window = native_create_window("name", SURFACE_WIDTH, SURFACE_HEIGHT, visual_id);
  log_message(1, "eglCreateWindowSurface\n");
  const EGLSurface surface = eglCreateWindowSurface(display, config, window, nullptr);
  if (surface != EGL_NO_SURFACE) {
    check_egl();
    log_message(1, "eglDestroySurface\n");
    eglDestroySurface(display, surface);
    check_egl();
  } else {
    eglGetError();  // drained
  }
  log_message(1, "eglSwapBuffers\n");
  eglSwapBuffers(display, sweep_handles.surface);
  check_egl();
  native_destroy_window(window);
}

void test_pbuffer_surface() {
  const EGLDisplay display = sweep_handles.display;
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (eglChooseConfig(display, PBUFFER_CONFIG_ATTRIBS, &config, 1, &count) == EGL_FALSE || count == 0) {
    eglGetError();  // drained
    return;
  }
  log_message(1, "eglCreatePbufferSurface\n");
  const EGLSurface surface = eglCreatePbufferSurface(display, config, PBUFFER_SURFACE_ATTRIBS);
  if (surface == EGL_NO_SURFACE) {
    eglGetError();  // drained
    return;
  }
  check_egl();
  log_message(1, "eglDestroySurface\n");
  eglDestroySurface(display, surface);
  check_egl();
}

void test_pixmap_surface() {
  const EGLDisplay display = sweep_handles.display;
  EGLConfig config = nullptr;
  EGLint count = 0;
  EGLint visual_id = 0;
  if (eglChooseConfig(display, PIXMAP_CONFIG_ATTRIBS, &config, 1, &count) == EGL_FALSE || count == 0) {
    eglGetError();  // drained
    return;
  }
  eglGetConfigAttrib(display, config, EGL_NATIVE_VISUAL_ID, &visual_id);
  check_egl();
  const EGLNativePixmapType pixmap = native_create_pixmap(SURFACE_WIDTH, SURFACE_HEIGHT, visual_id);
  log_message(1, "eglCreatePixmapSurface\n");
  const EGLSurface surface = eglCreatePixmapSurface(display, config, pixmap, nullptr);
  check_egl();  // judged whether or not a surface was made
  if (surface != EGL_NO_SURFACE) {
    log_message(1, "eglDestroySurface\n");
    eglDestroySurface(display, surface);
    check_egl();
  }
  log_message(1, "eglCopyBuffers\n");
  eglCopyBuffers(display, sweep_handles.surface, pixmap);
  eglGetError();  // drained
  native_destroy_pixmap(pixmap);
}
