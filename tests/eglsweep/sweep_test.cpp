// The sweep in-process against the fake, with recording native hooks: the
// surface chain, the follow-up checks and the native objects of each case.
#include <EGL/egl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "eglsweep/sweep.h"
#include "fakegl.h"
#include "harness/harness.h"
#include "native_recording.h"

namespace {

const char* const EGL_1_0_ENTRY_POINTS[] = {"eglGetError",
                                            "eglGetDisplay",
                                            "eglInitialize",
                                            "eglTerminate",
                                            "eglQueryString",
                                            "eglGetProcAddress",
                                            "eglGetConfigs",
                                            "eglChooseConfig",
                                            "eglGetConfigAttrib",
                                            "eglCreateWindowSurface",
                                            "eglCreatePixmapSurface",
                                            "eglCreatePbufferSurface",
                                            "eglDestroySurface",
                                            "eglQuerySurface",
                                            "eglCreateContext",
                                            "eglDestroyContext",
                                            "eglMakeCurrent",
                                            "eglGetCurrentContext",
                                            "eglGetCurrentSurface",
                                            "eglGetCurrentDisplay",
                                            "eglQueryContext",
                                            "eglWaitGL",
                                            "eglWaitNative",
                                            "eglSwapBuffers",
                                            "eglCopyBuffers"};
static_assert(sizeof EGL_1_0_ENTRY_POINTS / sizeof EGL_1_0_ENTRY_POINTS[0] == 25,
              "EGL 1.0 has 25 entry points");

const char PBUFFER_SEARCH[] =
    "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 1, EGL_RED_SIZE, 1, EGL_DEPTH_SIZE, 12, EGL_NONE}, ptr, 1, ptr) "
    "= EGL_TRUE";
const char PIXMAP_SEARCH[] =
    "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 2, EGL_RED_SIZE, 1, EGL_DEPTH_SIZE, 12, EGL_NONE}, ptr, 1, ptr) "
    "= EGL_TRUE";
const char MAIN_PBUFFER[] =
    "eglCreatePbufferSurface(dpy, cfg1, {EGL_WIDTH, 48, EGL_HEIGHT, 48, EGL_NONE}) = surf1";
const char VISUAL_QUERY[] = "eglGetConfigAttrib(dpy, cfg1, EGL_NATIVE_VISUAL_ID, ptr) = EGL_TRUE";
const char NO_ERROR[] = "eglGetError() = 0x3000";
const char RELEASE_CURRENT[] =
    "eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) = EGL_TRUE";

struct SweepRun {
  std::string trace;
  std::vector<std::string> calls;
};

// A passing sweep in verbose mode under the scenario; native objects or null handles.
SweepRun run_passing(const std::string& scenario, bool native_objects) {
  EXPECT_TRUE(fake_load_scenario(scenario)) << scenario;
  native_recording_reset(native_objects);
  sweep_handles = SweepHandles{};
  harness_state.verbose_level = 1;
  testing::internal::CaptureStdout();
  run_sweep();
  SweepRun run{testing::internal::GetCapturedStdout(), fake_calls()};
  harness_state.verbose_level = 0;
  return run;
}

std::string function_of(const std::string& line) {
  return line.substr(0, line.find('('));
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The lines of the record from the first occurrence of block[0] on equal block.
testing::AssertionResult has_block(const std::vector<std::string>& calls,
                                   const std::vector<std::string>& block) {
  const auto start = std::find(calls.begin(), calls.end(), block.front());
  if (start == calls.end()) return testing::AssertionFailure() << "missing: " << block.front();
  for (std::size_t i = 0; i < block.size(); ++i) {
    if (start + static_cast<std::ptrdiff_t>(i) == calls.end())
      return testing::AssertionFailure() << "record ends before: " << block[i];
    if (start[static_cast<std::ptrdiff_t>(i)] != block[i])
      return testing::AssertionFailure() << "line " << i << " of block: expected " << block[i] << ", got "
                                         << start[static_cast<std::ptrdiff_t>(i)];
  }
  return testing::AssertionSuccess();
}

int count_of(const std::vector<std::string>& calls, const std::string& line) {
  return static_cast<int>(std::count(calls.begin(), calls.end(), line));
}

class Sweep : public testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    native_recording_reset(false);
  }
  void TearDown() override { harness_state.verbose_level = 0; }
};

TEST_F(Sweep, PassingRunCallsEveryEgl10EntryPointAndNoOther) {
  const SweepRun run = run_passing("configs=wpx:d24", false);
  for (const char* name : EGL_1_0_ENTRY_POINTS) {
    EXPECT_GE(fake_call_count(name), 1) << name;
  }
  const std::set<std::string> known(std::begin(EGL_1_0_ENTRY_POINTS), std::end(EGL_1_0_ENTRY_POINTS));
  for (const std::string& line : run.calls) {
    const std::string name = function_of(line);
    if (name.compare(0, 3, "egl") == 0) {
      EXPECT_EQ(known.count(name), 1u) << line;
    }
  }
}

TEST_F(Sweep, EveryPassingScenarioStaysWithinEgl10) {
  const std::vector<std::string> scenarios = {"", "configs=wpx:d24", "configs=wpx:d24;native=accept",
                                              "configs=x:d24;native=accept",
                                              "configs=wpx:d24;native=accept;fail=eglCreateWindowSurface:1:"
                                              "0x300B;fail=eglCreatePbufferSurface:1:0x3003"};
  const std::set<std::string> known(std::begin(EGL_1_0_ENTRY_POINTS), std::end(EGL_1_0_ENTRY_POINTS));
  for (const std::string& scenario : scenarios) {
    const SweepRun run = run_passing(scenario, false);
    for (const std::string& line : run.calls) {
      const std::string name = function_of(line);
      EXPECT_TRUE(known.count(name) == 1 || name.compare(0, 7, "native_") == 0) << scenario << ": " << line;
    }
    EXPECT_EQ(run.calls.back(), "native_close_display(0)") << scenario;
  }
}

TEST_F(Sweep, WithoutVerboseTheSweepPrintsNothing) {
  ASSERT_TRUE(fake_load_scenario("configs=wpx:d24"));
  sweep_handles = SweepHandles{};
  testing::internal::CaptureStdout();
  run_sweep();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(fake_call_count("eglTerminate"), 1);
}

TEST_F(Sweep, NoWindowConfigurationGoesStraightToAPbuffer) {
  const SweepRun run = run_passing("configs=p:d24", false);
  EXPECT_FALSE(contains(run.trace, "eglCreateWindowSurface\n")) << run.trace;
  EXPECT_EQ(fake_call_count("eglCreateWindowSurface"), 0);
  EXPECT_TRUE(contains(run.trace, "eglGetConfigAttrib\neglCreatePbufferSurface\neglCreateContext\n"))
      << run.trace;
  EXPECT_TRUE(has_block(run.calls, {VISUAL_QUERY, NO_ERROR, PBUFFER_SEARCH, NO_ERROR, MAIN_PBUFFER, NO_ERROR,
                                    "eglCreateContext(dpy, cfg1, EGL_NO_CONTEXT, NULL) = ctx2", NO_ERROR,
                                    "eglMakeCurrent(dpy, surf1, surf1, ctx2) = EGL_TRUE"}));
  // Both follow-up checks find no configuration of their kind: each drains and returns.
  EXPECT_TRUE(has_block(
      run.calls, {"eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 4, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE", NO_ERROR,
                  "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 2, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE", NO_ERROR,
                  "eglSwapBuffers(dpy, surf1) = EGL_TRUE"}));
  EXPECT_TRUE(contains(run.trace, "eglQueryContext\n\tEGL_CONFIG_ID\neglSwapBuffers\neglWaitGL\n"))
      << run.trace;
  EXPECT_EQ(fake_call_count("eglCopyBuffers"), 0);
}

TEST_F(Sweep, NullNativeWindowIsRefusedAndAPbufferBecomesTheMainSurface) {
  const SweepRun run = run_passing("configs=wpx:d24", false);
  EXPECT_TRUE(
      has_block(run.calls, {VISUAL_QUERY, NO_ERROR, "native_create_window(\"brindle\", 48, 48, 33) = 0",
                            "eglCreateWindowSurface(dpy, cfg1, 0, NULL) = EGL_NO_SURFACE",
                            "native_destroy_window(0)", PBUFFER_SEARCH, NO_ERROR, MAIN_PBUFFER, NO_ERROR}));
  // Window check: its refused creation is drained; it swaps the main surface.
  // Pixmap check: EGL_BAD_NATIVE_PIXMAP passes; the copy is drained.
  EXPECT_TRUE(has_block(
      run.calls, {"eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 4, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE",
                  VISUAL_QUERY, NO_ERROR, "native_create_window(\"name\", 48, 48, 33) = 0",
                  "eglCreateWindowSurface(dpy, cfg1, 0, NULL) = EGL_NO_SURFACE", "eglGetError() = 0x300B",
                  "eglSwapBuffers(dpy, surf1) = EGL_TRUE", NO_ERROR, "native_destroy_window(0)",
                  "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 2, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE",
                  VISUAL_QUERY, NO_ERROR, "native_create_pixmap(48, 48, 33) = 0",
                  "eglCreatePixmapSurface(dpy, cfg1, 0, NULL) = EGL_NO_SURFACE", "eglGetError() = 0x300A",
                  "eglCopyBuffers(dpy, surf1, 0) = EGL_FALSE", "eglGetError() = 0x300A",
                  "native_destroy_pixmap(0)", "eglSwapBuffers(dpy, surf1) = EGL_TRUE"}));
  EXPECT_TRUE(contains(run.trace, "eglGetConfigAttrib\neglCreateWindowSurface\neglCreatePbufferSurface\n"));
  EXPECT_TRUE(contains(run.trace,
                       "\tEGL_CONFIG_ID\neglCreateWindowSurface\neglSwapBuffers\neglCreatePixmapSurface\n"
                       "eglCopyBuffers\neglSwapBuffers\neglWaitGL\n"))
      << run.trace;
  // A pbuffer main surface has no native object to release at the end.
  EXPECT_TRUE(
      has_block(run.calls, {"eglWaitNative(EGL_CORE_NATIVE_ENGINE) = EGL_TRUE", NO_ERROR, RELEASE_CURRENT}));
}

TEST_F(Sweep, WindowMainSurfaceIsFollowedByPbufferThenPixmapChecks) {
  const SweepRun run = run_passing("configs=wpx:d24", true);
  EXPECT_EQ(run.calls.front(), "native_open_display() = native1");
  EXPECT_TRUE(has_block(run.calls, {"native_create_window(\"brindle\", 48, 48, 33) = native2",
                                    "eglCreateWindowSurface(dpy, cfg1, native2, NULL) = surf1", NO_ERROR,
                                    "eglCreateContext(dpy, cfg1, EGL_NO_CONTEXT, NULL) = ctx2"}));
  EXPECT_TRUE(has_block(
      run.calls,
      {"eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 1, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE",
       "eglCreatePbufferSurface(dpy, cfg1, {EGL_WIDTH, 48, EGL_HEIGHT, 48, EGL_LARGEST_PBUFFER, 1, "
       "EGL_NONE}) = surf2",
       NO_ERROR, "eglDestroySurface(dpy, surf2) = EGL_TRUE", NO_ERROR,
       "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 2, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE", VISUAL_QUERY,
       NO_ERROR, "native_create_pixmap(48, 48, 33) = native3",
       "eglCreatePixmapSurface(dpy, cfg1, native3, NULL) = surf3", NO_ERROR,
       "eglDestroySurface(dpy, surf3) = EGL_TRUE", NO_ERROR, "eglCopyBuffers(dpy, surf1, native3) = EGL_TRUE",
       NO_ERROR, "native_destroy_pixmap(native3)", "eglSwapBuffers(dpy, surf1) = EGL_TRUE"}));
  // The main window goes after eglWaitNative, while its surface is still current.
  EXPECT_TRUE(has_block(run.calls, {"eglWaitNative(EGL_CORE_NATIVE_ENGINE) = EGL_TRUE", NO_ERROR,
                                    "native_destroy_window(native2)", RELEASE_CURRENT, NO_ERROR,
                                    "eglDestroySurface(dpy, surf1) = EGL_TRUE"}));
  EXPECT_EQ(count_of(run.calls, "native_destroy_window(native2)"), 1);
  EXPECT_EQ(fake_call_count("eglCreateWindowSurface"), 1);  // no window check
  EXPECT_TRUE(contains(run.trace,
                       "\tEGL_CONFIG_ID\neglCreatePbufferSurface\neglDestroySurface\neglCreatePixmapSurface\n"
                       "eglDestroySurface\neglCopyBuffers\neglSwapBuffers\neglWaitGL\n"))
      << run.trace;
  EXPECT_TRUE(
      has_block(run.calls, {"eglTerminate(dpy) = EGL_TRUE", NO_ERROR, "native_close_display(native1)"}));
  EXPECT_EQ(run.calls.back(), "native_close_display(native1)");
}

TEST_F(Sweep, PixmapMainSurfaceIsCopiedThenWindowThenPbufferChecks) {
  const SweepRun run = run_passing(
      "configs=wpx:d24;fail=eglCreateWindowSurface:1:0x300B;fail=eglCreatePbufferSurface:1:0x3003", true);
  EXPECT_TRUE(has_block(
      run.calls,
      {"native_create_window(\"brindle\", 48, 48, 33) = native2",
       "eglCreateWindowSurface(dpy, cfg1, native2, NULL) = EGL_NO_SURFACE", "native_destroy_window(native2)",
       PBUFFER_SEARCH, NO_ERROR,
       "eglCreatePbufferSurface(dpy, cfg1, {EGL_WIDTH, 48, EGL_HEIGHT, 48, EGL_NONE}) = "
       "EGL_NO_SURFACE",
       PIXMAP_SEARCH, NO_ERROR, VISUAL_QUERY, NO_ERROR, "native_create_pixmap(48, 48, 33) = native3",
       "eglCreatePixmapSurface(dpy, cfg1, native3, NULL) = surf1", NO_ERROR,
       "eglCreateContext(dpy, cfg1, EGL_NO_CONTEXT, NULL) = ctx2"}));
  EXPECT_TRUE(has_block(run.calls,
                        {"eglCopyBuffers(dpy, surf1, native3) = EGL_TRUE", NO_ERROR,
                         "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 4, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE",
                         VISUAL_QUERY, NO_ERROR, "native_create_window(\"name\", 48, 48, 33) = native4",
                         "eglCreateWindowSurface(dpy, cfg1, native4, NULL) = surf2", NO_ERROR,
                         "eglDestroySurface(dpy, surf2) = EGL_TRUE", NO_ERROR,
                         "eglSwapBuffers(dpy, surf1) = EGL_TRUE", NO_ERROR, "native_destroy_window(native4)",
                         "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 1, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE",
                         "eglCreatePbufferSurface(dpy, cfg1, {EGL_WIDTH, 48, EGL_HEIGHT, 48, "
                         "EGL_LARGEST_PBUFFER, 1, EGL_NONE}) = surf3",
                         NO_ERROR, "eglDestroySurface(dpy, surf3) = EGL_TRUE", NO_ERROR,
                         "eglSwapBuffers(dpy, surf1) = EGL_TRUE"}));
  EXPECT_TRUE(has_block(run.calls, {"eglWaitNative(EGL_CORE_NATIVE_ENGINE) = EGL_TRUE", NO_ERROR,
                                    "native_destroy_pixmap(native3)", RELEASE_CURRENT}));
  EXPECT_EQ(fake_call_count("eglCreatePixmapSurface"), 1);  // no pixmap check
  EXPECT_TRUE(
      contains(run.trace,
               "eglGetConfigAttrib\neglCreateWindowSurface\neglCreatePbufferSurface\neglCreatePixmapSurface\n"
               "eglCreateContext\n"))
      << run.trace;
  EXPECT_TRUE(
      contains(run.trace,
               "\tEGL_CONFIG_ID\neglCopyBuffers\neglCreateWindowSurface\neglDestroySurface\neglSwapBuffers\n"
               "eglCreatePbufferSurface\neglDestroySurface\neglSwapBuffers\neglWaitGL\n"))
      << run.trace;
}

TEST_F(Sweep, PixmapOnlyPlatformCopiesTheMainSurfaceToItsNullPixmap) {
  const SweepRun run = run_passing("configs=x:d24;native=accept", false);
  EXPECT_TRUE(has_block(run.calls, {"native_create_pixmap(48, 48, 0) = 0",
                                    "eglCreatePixmapSurface(dpy, cfg1, 0, NULL) = surf1", NO_ERROR}));
  EXPECT_TRUE(has_block(
      run.calls, {"eglCopyBuffers(dpy, surf1, 0) = EGL_FALSE", "eglGetError() = 0x300A",
                  "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 4, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE", NO_ERROR,
                  "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 1, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE", NO_ERROR,
                  "eglSwapBuffers(dpy, surf1) = EGL_TRUE"}));
  EXPECT_FALSE(contains(run.trace, "eglCreateWindowSurface\n"));
  EXPECT_FALSE(contains(run.trace, "eglCreatePbufferSurface\n"));
}

struct BalanceCase {
  const char* scenario;
  int windows;  // native windows the run makes
  int pixmaps;  // native pixmaps the run makes
};

TEST_F(Sweep, EveryNativeObjectIsReleasedExactlyOnce) {
  const std::vector<BalanceCase> cases = {
      {"configs=p:d24", 0, 0},
      {"configs=wpx:d24", 1, 1},                                       // window main; pixmap check
      {"configs=wpx:d24;fail=eglCreateWindowSurface:1:0x300B", 2, 1},  // refused window; both checks
      {"configs=wx:d24;fail=eglCreateWindowSurface:1:0x300B", 2, 1},   // pixmap main; window check
      {"configs=x:d24", 0, 1},                                         // pixmap main alone
      {"configs=w:d24,p:d24,x:d24", 1, 1},                             // one kind per configuration
  };
  for (const BalanceCase& c : cases) {
    SCOPED_TRACE(c.scenario);
    const SweepRun run = run_passing(c.scenario, true);
    std::map<std::string, int> made;      // handle -> kind ("window"/"pixmap")
    std::map<std::string, int> released;  // handle -> release count
    int windows = 0;
    int pixmaps = 0;
    for (const std::string& line : run.calls) {
      const std::string name = function_of(line);
      const std::size_t eq = line.find(" = ");
      if (name == "native_create_window" || name == "native_create_pixmap") {
        const std::string handle = line.substr(eq + 3);
        EXPECT_EQ(made.count(handle), 0u) << line;
        made[handle] = name == "native_create_window" ? 1 : 2;
        (name == "native_create_window" ? windows : pixmaps) += 1;
      } else if (name == "native_destroy_window" || name == "native_destroy_pixmap") {
        const std::string handle = line.substr(name.size() + 1, line.size() - name.size() - 2);
        EXPECT_EQ(made[handle], name == "native_destroy_window" ? 1 : 2) << line;
        released[handle] += 1;
      }
    }
    EXPECT_EQ(windows, c.windows);
    EXPECT_EQ(pixmaps, c.pixmaps);
    for (const auto& object : made) EXPECT_EQ(released[object.first], 1) << object.first;
    EXPECT_EQ(count_of(run.calls, "native_open_display() = native1"), 1);
    EXPECT_EQ(count_of(run.calls, "native_close_display(native1)"), 1);
    EXPECT_EQ(run.calls.back(), "native_close_display(native1)");
  }
}

TEST_F(Sweep, DisplayFromTheNativeHookIsTheOneEglGetDisplayReceives) {
  const SweepRun null_run = run_passing("", false);
  EXPECT_TRUE(has_block(null_run.calls,
                        {"native_open_display() = 0", "eglGetError() = 0x3000", "eglGetProcAddress(\"\")",
                         NO_ERROR, "eglGetDisplay(EGL_DEFAULT_DISPLAY) = dpy"}));
  const SweepRun object_run = run_passing("", true);
  EXPECT_EQ(count_of(object_run.calls, "eglGetDisplay(native) = dpy"), 1);
}

TEST_F(Sweep, SearchCountsAndVisualIdStartAtZero) {
  // Every search before the window search fails with a passing code and
  // writes no count: the chain sees 0 and tries no window.
  const SweepRun no_count = run_passing(
      "configs=wpx:d24;fail=eglGetConfigs:1:0x3005;fail=eglGetConfigs:2:0x3005;fail=eglChooseConfig:1:0x3005;"
      "fail=eglChooseConfig:2:0x3005;fail=eglChooseConfig:3:0x3005;fail=eglChooseConfig:4:0x3005",
      false);
  EXPECT_TRUE(contains(no_count.trace, "eglGetConfigAttrib\neglCreatePbufferSurface\n")) << no_count.trace;
  EXPECT_EQ(count_of(no_count.calls, "native_create_window(\"brindle\", 48, 48, 0) = 0"), 0);

  // The visual id query fails with a passing code: the window hook gets 0.
  const SweepRun no_visual = run_passing("configs=wpx:d24;fail=eglGetConfigAttrib:1:0x3005", true);
  EXPECT_EQ(count_of(no_visual.calls, "native_create_window(\"brindle\", 48, 48, 0) = native2"), 1);
}

TEST_F(Sweep, ChainReadsTheCountWithoutLookingAtTheSearchResult) {
  // The window search fails with a passing code after the first searches
  // found one configuration: the count of 1 stands, and a window is tried
  // on the configuration already held.
  const SweepRun run = run_passing("configs=p:d24;fail=eglChooseConfig:4:0x3005", false);
  EXPECT_TRUE(has_block(run.calls, {"native_create_window(\"brindle\", 48, 48, 0) = 0",
                                    "eglCreateWindowSurface(dpy, cfg1, 0, NULL) = EGL_NO_SURFACE",
                                    "native_destroy_window(0)", PBUFFER_SEARCH}));
}

}  // namespace
