// brindle as a whole program on Mesa: on the headless platform, on x11 under
// Xvfb (run this binary under xvfb-run for the BrindleX11 cases), and without
// any usable display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

const char BANNER[] = "EGL Brindle.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\n";
const char PASSED[] = "brindle passed.\n\n";

std::string golden(const std::string& name) {
  const std::string text = read_file(std::string(BRINDLE_GOLDEN_DIR) + "/" + name);
  EXPECT_FALSE(text.empty()) << name;
  return text;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

bool ends_with(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A verbose run with a log file: passes, and the log holds everything printed
// from the banner on.
std::string verbose_run_with_log(const ProgramEnv& env) {
  const std::string log = make_temp_dir() + "/brindle.log";
  const ProgramResult got = run_program(BRINDLE, {"-v", "-l", log}, env);
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.err, "");
  const std::string created = "Logfile " + log + " created.\n\n";
  EXPECT_EQ(got.out.compare(0, created.size(), created), 0) << got.out;
  const std::string trace = got.out.substr(std::min(created.size(), got.out.size()));
  EXPECT_EQ(read_file(log), trace);
  EXPECT_EQ(trace.compare(0, sizeof BANNER - 1, BANNER), 0) << trace;
  EXPECT_TRUE(contains(trace, golden("enumeration_check.txt"))) << trace;
  EXPECT_TRUE(ends_with(trace, std::string("eglTerminate\n\n") + PASSED)) << trace;
  return trace;
}

TEST(BrindleSurfaceless, QuietRunPasses) {
  const ProgramResult got = run_program(BRINDLE, {}, surfaceless_env());
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, std::string(BANNER) + PASSED);
  EXPECT_EQ(got.err, "");
}

TEST(BrindleSurfaceless, VerboseRunWithLogFilePassesOnAPbufferAlone) {
  const std::string trace = verbose_run_with_log(surfaceless_env());
  // Pbuffer configurations only: no window is tried, and neither follow-up
  // check finds a configuration of its kind.
  EXPECT_FALSE(contains(trace, "eglCreateWindowSurface\n")) << trace;
  EXPECT_FALSE(contains(trace, "eglCreatePixmapSurface\n")) << trace;
  EXPECT_TRUE(contains(trace, "eglGetConfigAttrib\neglCreatePbufferSurface\neglCreateContext\n")) << trace;
  EXPECT_TRUE(contains(trace, "eglQueryContext\n\tEGL_CONFIG_ID\neglSwapBuffers\neglWaitGL\n")) << trace;
}

TEST(BrindleX11, QuietRunPasses) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run -a";
  const ProgramResult got = run_program(BRINDLE, {}, x11_env());
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, std::string(BANNER) + PASSED);
  EXPECT_EQ(got.err, "");
}

TEST(BrindleX11, NullWindowIsRefusedAndTheTraceMatchesThePbufferMainGolden) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run -a";
  // Window, pbuffer and pixmap configurations exist and the null native
  // window is refused: the same course as the fake's pbuffer-main run.
  EXPECT_EQ(verbose_run_with_log(x11_env()), golden("pbuffer_main_trace.txt"));
}

TEST(BrindleNoDisplay, FailsAtEglInitializeWithStatusOne) {
  const ProgramResult verbose = run_program(BRINDLE, {"-v"}, no_display_env());
  EXPECT_EQ(verbose.exit_status, 1);
  EXPECT_EQ(verbose.out,
            std::string(BANNER) + golden("enumeration_check.txt") +
                "eglGetError\neglGetProcAddress with empty string\neglGetDisplay\neglInitialize\n"
                "\nbrindle failed.\n\n");
  const ProgramResult quiet = run_program(BRINDLE, {}, no_display_env());
  EXPECT_EQ(quiet.exit_status, 1);
  EXPECT_EQ(quiet.out, std::string(BANNER) + "brindle failed.\n\n");
}

TEST(BrindleOptions, HelpAndOptionErrorsExitWithStatusOne) {
  for (const StoppingCommandLine& c : stopping_command_lines()) {
    const ProgramResult got = run_program(BRINDLE, c.args, no_display_env());
    EXPECT_EQ(got.exit_status, 1) << c.args[0];
    EXPECT_EQ(got.out, c.out) << c.args[0];
    EXPECT_EQ(got.err, "") << c.args[0];
  }
}

}  // namespace
