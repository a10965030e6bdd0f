// quillet_cl as a whole program: on Mesa's headless platform (llvmpipe and
// softpipe), on X11 under Xvfb, without any usable display, and built against
// the recording fake.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "run_program.h"

namespace {

const char BANNER[] = "OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\n";

bool starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::size_t count_of(const std::string& text, const std::string& needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
  return count;
}

const char PASSED[] = "quillet (fixed point) passed.\n\n";
const char FRAME_COUNT[] = "\n5452 Combinations.\n";

// The three whole runs on a real EGL/GLES platform: quiet, verbose, and
// verbose with a log file. The verbose trace depends on the drivers' tables
// only, so it must equal the trace of the build against the recording fake.
void expect_three_passing_runs(const ProgramEnv& env) {
  const ProgramResult quiet = run_program(QUILLET_CL, {}, env);
  EXPECT_EQ(quiet.exit_status, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, std::string(BANNER) + PASSED);

  const ProgramResult reference = run_program(QUILLET_CL_FAKE, {"-v"}, fake_env(""));
  ASSERT_TRUE(ends_with(reference.out, std::string(FRAME_COUNT) + PASSED));

  const ProgramResult verbose = run_program(QUILLET_CL, {"-v"}, env);
  EXPECT_EQ(verbose.exit_status, 0);
  EXPECT_EQ(verbose.err, "");
  EXPECT_TRUE(starts_with(verbose.out, BANNER));
  EXPECT_TRUE(ends_with(verbose.out, std::string(FRAME_COUNT) + PASSED));
  EXPECT_EQ(count_of(verbose.out, "Hint"), 5452u) << "one Hint line per frame";
  EXPECT_TRUE(verbose.out == reference.out) << "the trace differs from the fake build's";

  const std::string dir = make_temp_dir();
  const std::string log = dir + "/quillet.log";
  const ProgramResult logged = run_program(QUILLET_CL, {"-v", "-l", log}, env);
  EXPECT_EQ(logged.exit_status, 0);
  EXPECT_EQ(logged.err, "");
  const std::string created = "Logfile " + log + " created.\n\n";
  ASSERT_TRUE(starts_with(logged.out, created));
  EXPECT_TRUE(logged.out.substr(created.size()) == verbose.out) << "the log run printed something else";
  std::string expected_log = logged.out.substr(created.size());
  const std::size_t at = expected_log.rfind(FRAME_COUNT);
  ASSERT_NE(at, std::string::npos);
  expected_log.erase(at, std::string(FRAME_COUNT).size());
  const std::string log_text = read_file(log);
  EXPECT_TRUE(log_text == expected_log)
      << "log of " << log_text.size() << " bytes, expected " << expected_log.size();
  EXPECT_EQ(log_text.find("Combinations"), std::string::npos);
}

TEST(QuilletSurfaceless, BannerThenSetUpWithNothingOnStderr) {
  const ProgramResult got = run_program(QUILLET_CL, {}, surfaceless_env());
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_TRUE(starts_with(got.out, BANNER)) << got.out;
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(got.out.find("Config requested not found."), std::string::npos);
}

TEST(QuilletSurfaceless, WholeRunsPassOnLlvmpipe) {
  expect_three_passing_runs(surfaceless_env());
}

TEST(QuilletSoftpipe, WholeRunsPass) {
  expect_three_passing_runs(softpipe_env());
}

TEST(QuilletX11, WholeRunsPass) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under xvfb-run";
  expect_three_passing_runs(x11_env());
}

TEST(QuilletNoDisplay, BothAttemptsFailAndTheRunEndsWithStatusZero) {
  const ProgramResult got = run_program(QUILLET_CL, {}, no_display_env());
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, std::string(BANNER) + "Config requested not found.\n");
  EXPECT_EQ(got.err, "Can't initialize EGL display\nCan't initialize EGL display\n");
}

TEST(QuilletOptions, HelpAndOptionErrorsExitWithStatusZero) {
  for (const StoppingCommandLine& c : stopping_command_lines()) {
    const ProgramResult got = run_program(QUILLET_CL, c.args, no_display_env());
    EXPECT_EQ(got.exit_status, 0) << c.args[0];
    EXPECT_EQ(got.out, c.out) << c.args[0];
    EXPECT_EQ(got.err, "") << c.args[0];
  }
}

TEST(QuilletFake, NoConfigurationEndsWithConfigNotFound) {
  const ProgramResult got = run_program(QUILLET_CL_FAKE, {}, fake_env("configs="));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, std::string(BANNER) + "Config requested not found.\n");
  EXPECT_EQ(got.err, "");
}

TEST(QuilletFake, SecondAttemptWithoutStencilReachesTheRun) {
  const std::string dir = make_temp_dir();
  const ProgramResult got =
      run_program(QUILLET_CL_FAKE, {}, fake_env("configs=p:d24;log=" + dir + "/calls.txt"));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_TRUE(starts_with(got.out, BANNER));
  EXPECT_EQ(got.out.find("Config requested not found."), std::string::npos);
  const std::string calls = read_file(dir + "/calls.txt");
  EXPECT_NE(calls.find("eglMakeCurrent(dpy, surf1, surf1, ctx1) = EGL_TRUE"), std::string::npos) << calls;
  EXPECT_NE(calls.find("eglTerminate(dpy) = EGL_TRUE"), std::string::npos) << calls;
}

TEST(QuilletFake, SetUpFailureMessagesGoToStderrOnlyAndNeverToTheLog) {
  const std::string dir = make_temp_dir();
  const std::string log = dir + "/run.log";
  const ProgramResult got =
      run_program(QUILLET_CL_FAKE, {"-l", log},
                  fake_env("fail=eglCreateContext:1:0x3003;fail=eglCreateContext:2:0x3003"));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.err, "Can't create a context!\nCan't create a context!\n");
  EXPECT_EQ(read_file(log), std::string(BANNER) + "Config requested not found.\n");
}

}  // namespace
