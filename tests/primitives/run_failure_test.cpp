// quillet_cl built against the recording fake, run as a whole program with a
// GL error injected at chosen calls: what it prints, where it stops, and that
// it always leaves through end_run with exit status 0. The expected output is
// built from the status blocks of a passing run in this process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_capture.h"
#include "run_program.h"

namespace {

const char BANNER[] = "OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\n";
const char FAILED[] = "quillet (fixed point) failed.\n\n";
const char PASSED[] = "quillet (fixed point) passed.\n\n";

std::string function_of(const std::string& call) {
  return call.substr(0, call.find('('));
}

// Where the nth call of a GL function falls in a passing run.
struct Place {
  enum Part { PRELUDE, SETS, DRAWING, NOWHERE } part;
  std::size_t frame;  // 0-based frame for SETS and DRAWING
};

Place locate(const SplitRecord& record, const std::string& function, int nth) {
  int seen = 0;
  for (const std::string& call : record.prelude) {
    if (function_of(call) == function && ++seen == nth) return {Place::PRELUDE, 0};
  }
  for (std::size_t f = 0; f < record.frames.size(); ++f) {
    for (const std::string& call : record.frames[f].sets) {
      if (function_of(call) == function && ++seen == nth) return {Place::SETS, f};
    }
    for (const std::string& call : record.frames[f].drawing) {
      if (function_of(call) == function && ++seen == nth) return {Place::DRAWING, f};
    }
  }
  return {Place::NOWHERE, 0};
}

struct Passing {
  std::vector<std::string> blocks;
  SplitRecord record;
};

const Passing& passing() {
  static const Passing got = [] {
    Passing p;
    std::string tail;
    p.blocks = split_status_blocks(verbose_run().out, &tail);
    p.record = split_record(verbose_run().calls);
    return p;
  }();
  return got;
}

// Status blocks of frames 0 to last (0-based), each closed by its empty line.
std::string blocks_through(std::size_t last) {
  std::string text;
  for (std::size_t f = 0; f <= last; ++f) text += passing().blocks.at(f) + "\n";
  return text;
}

int count_of(const std::string& text, const std::string& needle) {
  int count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

struct Fault {
  const char* function;
  int nth;
  const char* what;
};

// A GL error raised by a driver's own calls (its set, or the init of Fog,
// Lighting and Texture) is found by its check_gl: an empty line at level 1 and
// the failed verdict. One left pending by the frame set-up or the drawing is
// found by the dispatcher's next check: the phase's message, then the verdict.
TEST(RunFailure, InjectedGlErrorEndsTheRunWithTheFailedVerdict) {
  const std::vector<Fault> faults = {
      {"glLoadMatrixx", 1, "frame set-up, found after the first init"},
      {"glClear", 1, "frame set-up, found after the first init"},
      {"glFogxv", 2, "Fog's init"},
      {"glLightxv", 80, "Lighting's init, the last light"},
      {"glEnable", 8, "Lighting's init, the last light's enable"},
      {"glTexEnvxv", 1, "Texture's init"},
      {"glHint", 1, "Hint's disabled form in the first frame"},
      {"glHint", 5, "Hint's first frame"},
      {"glDisable", 30, "a disabled form in a later frame"},
      {"glBlendFunc", 9, "Blend's ninth frame"},
      {"glDepthRangex", 8, "Depth's last frame"},
      {"glFogxv", 5, "Fog's first frame"},
      {"glLightModelxv", 3, "Lighting's second frame"},
      {"glScissor", 2, "Scissor's frame"},
      {"glShadeModel", 100, "Shading's disabled form"},
      {"glStencilOp", 217, "Stencil's 217th frame"},
      {"glTexImage2D", 3600, "Texture's last frame, the run's last set"},
      {"glDrawArrays", 1, "the first frame's drawing, found by the next Status"},
      {"glDrawArrays", 17, "a drawing of Hint's, found by its Update"},
      {"glFlush", 300, "a drawing in a later frame"},
      {"glPointSizex", 5452, "the last frame's drawing, found by Texture's last Update"},
  };
  const std::string dir = make_temp_dir();
  for (const Fault& f : faults) {
    const Place place = locate(passing().record, f.function, f.nth);
    ASSERT_NE(place.part, Place::NOWHERE) << f.what;
    const std::string calls_path = dir + "/" + f.function + std::to_string(f.nth);
    const std::string scenario =
        std::string("fail=") + f.function + ":" + std::to_string(f.nth) + ":0x502;log=" + calls_path;

    std::string expected = BANNER;
    int frames_drawn = 0;
    const bool own_check =
        place.part == Place::SETS ||
        (place.part == Place::PRELUDE &&
         (std::string(f.function) == "glFogxv" || std::string(f.function) == "glLightxv" ||
          std::string(f.function) == "glEnable" || std::string(f.function) == "glTexEnvxv"));
    if (place.part == Place::PRELUDE) {
      expected += own_check ? "\n" : "quillet failed (driver init).\n\n";
    } else if (place.part == Place::SETS) {
      expected += blocks_through(place.frame) + "\n";
      frames_drawn = static_cast<int>(place.frame);
    } else if (place.frame == 0) {
      // No row is enabled in the first frame, so no Update check runs: the
      // next frame's first Status check finds the error.
      expected += blocks_through(0) + "Hint.\n\tGL_POINT_SMOOTH_HINT, GL_NICEST.\n" +
                  "quillet failed (driver status).\n\n";
      frames_drawn = 1;
    } else {
      expected += blocks_through(place.frame) + "quillet failed (driver update).\n\n";
      frames_drawn = static_cast<int>(place.frame) + 1;
    }
    expected += FAILED;

    const ProgramResult got = run_program(QUILLET_CL_FAKE, {"-v"}, fake_env(scenario));
    EXPECT_EQ(got.exit_status, 0) << f.what;
    EXPECT_EQ(got.err, "") << f.what;
    EXPECT_EQ(first_difference(got.out, expected), "") << f.what;
    EXPECT_EQ(got.out.find(PASSED), std::string::npos) << f.what;
    const std::string calls = read_file(calls_path);
    EXPECT_EQ(count_of(calls, "glDrawArrays(GL_POINTS"), frames_drawn) << f.what;
    EXPECT_EQ(calls.substr(calls.size() - std::string("eglTerminate(dpy) = EGL_TRUE\n").size()),
              "eglTerminate(dpy) = EGL_TRUE\n")
        << f.what;
  }
}

TEST(RunFailure, WithoutVerboseOnlyTheVerdictFollowsTheBanner) {
  const struct {
    const char* scenario;
    const char* out;
  } cases[] = {
      {"fail=glBlendFunc:9:0x500", FAILED},
      {"fail=glTexEnvxv:1:0x500", FAILED},
      {"fail=glClear:1:0x505", "quillet failed (driver init).\n\nquillet (fixed point) failed.\n\n"},
      {"fail=glDrawArrays:40:0x505", "quillet failed (driver update).\n\nquillet (fixed point) failed.\n\n"},
      {"fail=glDrawArrays:2:0x505", "quillet failed (driver status).\n\nquillet (fixed point) failed.\n\n"},
  };
  for (const auto& c : cases) {
    const ProgramResult got = run_program(QUILLET_CL_FAKE, {}, fake_env(c.scenario));
    EXPECT_EQ(got.exit_status, 0) << c.scenario;
    EXPECT_EQ(first_difference(got.out, std::string(BANNER) + c.out), "") << c.scenario;
  }
}

// The log file receives everything from the banner on, the failure lines too.
TEST(RunFailure, LogFileHoldsTheFailureToo) {
  const std::string dir = make_temp_dir();
  const std::string log = dir + "/run.log";
  const ProgramResult got =
      run_program(QUILLET_CL_FAKE, {"-v", "-l", log}, fake_env("fail=glStencilOp:2:0x500"));
  const std::string created = "Logfile " + log + " created.\n\n";
  ASSERT_EQ(got.out.compare(0, created.size(), created), 0) << got.out.substr(0, 200);
  EXPECT_EQ(first_difference(read_file(log), got.out.substr(created.size())), "");
  EXPECT_EQ(got.out.substr(got.out.size() - 2 - std::string(FAILED).size()), std::string("\n\n") + FAILED);
}

// Without a stencil buffer the second set-up attempt succeeds and the run is
// the same: the Stencil driver still walks its 1728 combinations.
TEST(RunWithoutStencil, StencilDriverStillRuns) {
  const std::string dir = make_temp_dir();
  const std::string calls_path = dir + "/calls";
  const ProgramResult got = run_program(QUILLET_CL_FAKE, {"-v"}, fake_env("configs=p:d24;log=" + calls_path));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(first_difference(got.out, BANNER + verbose_run().out), "");
  const std::string calls = read_file(calls_path);
  EXPECT_NE(calls.find("EGL_DEPTH_SIZE, 12, EGL_NONE}"), std::string::npos);
  EXPECT_EQ(count_of(calls, "glStencilFunc("), 1728);
  EXPECT_EQ(count_of(calls, "glDrawArrays(GL_TRIANGLES"), 5452);
}

// With -v and -l the log file holds standard output from the banner on, less
// the frame-count line.
TEST(RunWholeProgram, VerboseRunWithLogFile) {
  const std::string dir = make_temp_dir();
  const std::string log = dir + "/run.log";
  const ProgramResult got = run_program(QUILLET_CL_FAKE, {"-v", "-l", log}, fake_env(""));
  EXPECT_EQ(got.exit_status, 0);
  const std::string created = "Logfile " + log + " created.\n\n";
  EXPECT_EQ(first_difference(got.out, created + BANNER + verbose_run().out), "");
  std::string expected_log = got.out.substr(created.size());
  const std::string count_line = "\n5452 Combinations.\n";
  const std::size_t at = expected_log.find(count_line);
  ASSERT_NE(at, std::string::npos);
  expected_log.erase(at, count_line.size());
  EXPECT_EQ(first_difference(read_file(log), expected_log), "");
}

}  // namespace
