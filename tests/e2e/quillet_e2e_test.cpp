// quillet_cl as a whole program: on Mesa's headless platform, without any
// usable display, and built against the recording fake.
#include <gtest/gtest.h>

#include <string>

#include "run_program.h"

namespace {

const char BANNER[] = "OpenGL ES Quillet.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\n";

ProgramEnv surfaceless() {
  ProgramEnv env;
  env.set["EGL_PLATFORM"] = "surfaceless";
  env.unset = {"DISPLAY", "WAYLAND_DISPLAY"};
  return env;
}

ProgramEnv no_display() {
  ProgramEnv env;
  env.unset = {"DISPLAY", "WAYLAND_DISPLAY", "EGL_PLATFORM"};
  return env;
}

ProgramEnv fake(const std::string& scenario) {
  ProgramEnv env;
  env.set["FAKEGL_SCENARIO"] = scenario;
  return env;
}

bool starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

TEST(QuilletSurfaceless, BannerThenSetUpWithNothingOnStderr) {
  const ProgramResult got = run_program(QUILLET_CL, {}, surfaceless());
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_TRUE(starts_with(got.out, BANNER)) << got.out;
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(got.out.find("Config requested not found."), std::string::npos);
}

TEST(QuilletNoDisplay, BothAttemptsFailAndTheRunEndsWithStatusZero) {
  const ProgramResult got = run_program(QUILLET_CL, {}, no_display());
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, std::string(BANNER) + "Config requested not found.\n");
  EXPECT_EQ(got.err, "Can't initialize EGL display\nCan't initialize EGL display\n");
}

TEST(QuilletOptions, HelpAndOptionErrorsExitWithStatusZero) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"-h"},
       "Options:\n\t-h\t\tPrint this help screen.\n\t-l\t<file>\tCreate a logfile.\n"
       "\t-v\t\tVerbose mode ON.\n\n"},
      {{"-x"}, "-x (Bad option).\n"},
      {{"-l"}, "-l (No logfile name).\n\n"},
  };
  for (const auto& c : cases) {
    const ProgramResult got = run_program(QUILLET_CL, c.args, no_display());
    EXPECT_EQ(got.exit_status, 0) << c.args[0];
    EXPECT_EQ(got.out, c.out) << c.args[0];
    EXPECT_EQ(got.err, "") << c.args[0];
  }
}

TEST(QuilletFake, NoConfigurationEndsWithConfigNotFound) {
  const ProgramResult got = run_program(QUILLET_CL_FAKE, {}, fake("configs="));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, std::string(BANNER) + "Config requested not found.\n");
  EXPECT_EQ(got.err, "");
}

TEST(QuilletFake, SecondAttemptWithoutStencilReachesTheRun) {
  const std::string dir = make_temp_dir();
  const ProgramResult got =
      run_program(QUILLET_CL_FAKE, {}, fake("configs=p:d24;log=" + dir + "/calls.txt"));
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
      run_program(QUILLET_CL_FAKE, {"-l", log}, fake("fail=eglCreateContext:1:0x3003;fail=eglCreateContext:2:0x3003"));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.err, "Can't create a context!\nCan't create a context!\n");
  EXPECT_EQ(read_file(log), std::string(BANNER) + "Config requested not found.\n");
}

}  // namespace
