// brindle as a whole program against the recording fake: options, verdicts
// and exit status, the golden verbose trace and call record of a passing run,
// failures at a sample of steps, and which checks classify and which drain.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

const char BANNER[] = "EGL Brindle.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\n";
const char PASSED[] = "brindle passed.\n\n";
const char VERBOSE_FAILED[] = "\nbrindle failed.\n\n";

// Window, pbuffer and pixmap configurations, null native handles refused:
// the window is refused and a pbuffer becomes the main surface.
const char PBUFFER_MAIN[] = "configs=wpx:d24";

std::string golden(const std::string& name) {
  const std::string text = read_file(std::string(BRINDLE_GOLDEN_DIR) + "/" + name);
  EXPECT_FALSE(text.empty()) << name;
  return text;
}

bool starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool ends_with(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

TEST(BrindleFake, HelpAndOptionErrorsExitWithStatusOneBeforeAnyEglCall) {
  const std::string dir = make_temp_dir();
  for (const StoppingCommandLine& c : stopping_command_lines()) {
    const std::string record = dir + "/calls.txt";
    const ProgramResult got = run_program(BRINDLE_FAKE, c.args, fake_env("log=" + record));
    EXPECT_EQ(got.exit_status, 1) << c.args[0];
    EXPECT_EQ(got.out, c.out) << c.args[0];
    EXPECT_EQ(got.err, "") << c.args[0];
    // The fake writes its record at exit once an EGL function has been called.
    EXPECT_FALSE(exists(record)) << c.args[0];
  }
}

TEST(BrindleFake, QuietPassingRunPrintsBannerAndVerdictOnly) {
  for (const char* scenario :
       {"", PBUFFER_MAIN, "configs=wpx:d24;native=accept", "configs=x:d24;native=accept"}) {
    const ProgramResult got = run_program(BRINDLE_FAKE, {}, fake_env(scenario));
    EXPECT_EQ(got.exit_status, 0) << scenario;
    EXPECT_EQ(got.out, std::string(BANNER) + PASSED) << scenario;
    EXPECT_EQ(got.err, "") << scenario;
  }
}

TEST(BrindleFake, VerboseTraceOfAPbufferMainRunMatchesTheGoldenText) {
  const ProgramResult got = run_program(BRINDLE_FAKE, {"-v"}, fake_env(PBUFFER_MAIN));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, golden("pbuffer_main_trace.txt"));
  EXPECT_EQ(got.err, "");
}

TEST(BrindleFake, CallRecordOfAPbufferMainRunMatchesTheGoldenRecord) {
  const std::string record = make_temp_dir() + "/calls.txt";
  const ProgramResult got =
      run_program(BRINDLE_FAKE, {}, fake_env(std::string(PBUFFER_MAIN) + ";log=" + record));
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(read_file(record), golden("pbuffer_main_calls.txt"));
}

TEST(BrindleFake, LogFileHoldsEveryLineFromTheBannerOn) {
  const std::string log = make_temp_dir() + "/brindle.log";
  const ProgramResult got = run_program(BRINDLE_FAKE, {"-v", "-l", log}, fake_env(PBUFFER_MAIN));
  const std::string trace = golden("pbuffer_main_trace.txt");
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, "Logfile " + log + " created.\n\n" + trace);
  EXPECT_EQ(read_file(log), trace);
}

TEST(BrindleFake, FailingRunWritesItsVerdictToTheLogFile) {
  const std::string log = make_temp_dir() + "/brindle.log";
  const ProgramResult got = run_program(BRINDLE_FAKE, {"-l", log}, fake_env("fail=eglInitialize:1:0x3001"));
  EXPECT_EQ(got.exit_status, 1);
  EXPECT_EQ(read_file(log), std::string(BANNER) + "brindle failed.\n\n");
}

struct StepCase {
  std::string scenario;
  int status;
  std::string tail;  // the trace lines just before the verdict
};

TEST(BrindleFake, FailingCodeAtAStepNamesThatCallLast) {
  const std::vector<StepCase> cases = {
      {"fail=eglGetProcAddress:1:0x300C", 1, "eglGetError\neglGetProcAddress with empty string\n"},
      {"fail=eglGetDisplay:1:0x3008", 1, "eglGetProcAddress with empty string\neglGetDisplay\n"},
      {"fail=eglInitialize:1:0x3001", 1, "eglGetDisplay\neglInitialize\n"},
      {"nodisplay", 1, "eglGetDisplay\neglInitialize\n"},
      {"fail=eglQueryString:2:0x300C", 1, "eglQueryString\n\tEGL_VENDOR\n\tEGL_VERSION\n"},
      {"fail=eglGetConfigs:1:0x3004", 1, "\tEGL_EXTENSIONS\neglGetConfigs NULL config\n"},
      {"fail=eglGetConfigs:2:0x3002", 1, "eglGetConfigs NULL config\neglGetConfigs with config\n"},
      {"fail=eglChooseConfig:1:0x3004", 1, "eglGetConfigs with config\neglChooseConfig NULL config\n"},
      {"fail=eglChooseConfig:2:0x3004", 1, "eglChooseConfig NULL config\neglChooseConfig NULL attrib_list\n"},
      {"fail=eglChooseConfig:3:0x3004", 1,
       "eglChooseConfig NULL attrib_list\neglChooseConfig with attrib_list and config\n"},
      {"fail=eglDestroyContext:1:0x3002", 1,
       "eglChooseConfig with attrib_list and config\neglDestroyContext\n"},
      // The window search of the chain has no message of its own.
      {"fail=eglChooseConfig:4:0x3008", 1,
       "eglChooseConfig with attrib_list and config\neglDestroyContext\n"},
      {"fail=eglGetConfigAttrib:1:0x3004", 1, "eglDestroyContext\neglGetConfigAttrib\n"},
      {"fail=eglCreateContext:2:0x3008", 1, "eglCreatePbufferSurface\neglCreateContext\n"},
      {"fail=eglMakeCurrent:1:0x3002", 1, "eglCreateContext\neglMakeCurrent\n"},
      {"fail=eglGetCurrentDisplay:1:0x3008", 1, "eglMakeCurrent\neglGetCurrentDisplay\n"},
      {"fail=eglGetCurrentSurface:2:0x300C", 1, "eglGetCurrentSurface\n\tEGL_DRAW\n\tEGL_READ\n"},
      {"fail=eglGetConfigAttrib:24:0x3004", 1, "\tEGL_MAX_PBUFFER_HEIGHT\n\tEGL_MAX_PBUFFER_PIXELS\n"},
      {"fail=eglGetCurrentContext:1:0x3002", 1, "\tEGL_READ\neglGetCurrentContext\n"},
      {"fail=eglQuerySurface:1:0x300D", 1, "eglQuerySurface\n\tEGL_CONFIG_ID\n"},
      {"fail=eglQuerySurface:3:0x300D", 1, "\tEGL_LARGEST_PBUFFER\n\tEGL_WIDTH\n"},
      {"fail=eglQueryContext:1:0x3008", 1, "eglQueryContext\n\tEGL_CONFIG_ID\n"},
      {"fail=eglQueryContext:1:0x3006", 0, ""},  // EGL_BAD_CONTEXT passes
      {"fail=eglSwapBuffers:1:0x300D", 1, "\tEGL_CONFIG_ID\neglSwapBuffers\n"},
      {"fail=eglWaitGL:1:0x3002", 1, "eglSwapBuffers\neglWaitGL\n"},
      {"fail=eglWaitNative:1:0x300C", 1, "eglWaitNative\n\tEGL_CORE_NATIVE_ENGINE\n"},
      {"fail=eglWaitNative:1:0x3007", 0, ""},  // EGL_BAD_CURRENT_SURFACE passes
      {"fail=eglMakeCurrent:2:0x3008", 1, "\tEGL_CORE_NATIVE_ENGINE\neglMakeCurrent NULL\n"},
      {"fail=eglDestroySurface:1:0x300D", 1, "eglMakeCurrent NULL\neglDestroySurface\n"},
      {"fail=eglDestroyContext:2:0x3008", 1, "eglDestroySurface\neglDestroyContext\n"},
      {"fail=eglTerminate:1:0x3008", 1, "eglDestroyContext\neglTerminate\n"},
      {"fail=eglTerminate:1:0x3003", 0, ""},  // EGL_BAD_ALLOC passes
      // No surface of any kind: the run ends right after the pixmap attempt.
      {"configs=", 1, "eglDestroyContext\neglGetConfigAttrib\n"},
      {"configs=wpx:d24;fail=eglCreatePbufferSurface:1:0x3003", 1,
       "eglGetConfigAttrib\neglCreateWindowSurface\neglCreatePbufferSurface\neglCreatePixmapSurface\n"},
      // The chain judges neither a refused window nor a refused pbuffer.
      {"configs=wpx:d24;fail=eglCreateWindowSurface:1:0x300D", 0, ""},
      {"configs=px:d24;native=accept;fail=eglCreatePbufferSurface:1:0x300C", 0, ""},
      // The pbuffer search of the chain is judged, without a message.
      {"configs=wpx:d24;fail=eglChooseConfig:5:0x3004", 1, "eglGetConfigAttrib\neglCreateWindowSurface\n"},
      // Follow-up checks: window and pbuffer drain a refused creation, the
      // pixmap check judges it; the copies are drained.
      {"configs=wpx:d24;fail=eglCreateWindowSurface:2:0x3004", 0, ""},
      {"configs=wpx:d24;native=accept;fail=eglCreatePbufferSurface:1:0x3004", 0, ""},
      {"configs=wpx:d24;fail=eglCreatePixmapSurface:1:0x3004", 1,
       "eglCreateWindowSurface\neglSwapBuffers\neglCreatePixmapSurface\n"},
      {"configs=wpx:d24;fail=eglCopyBuffers:1:0x300D", 0, ""},
      {"configs=x:d24;native=accept;fail=eglCopyBuffers:1:0x3002", 0, ""},
      {"configs=wpx:d24;fail=eglChooseConfig:6:0x3004", 0, ""},  // window check search: drained
      {"configs=wpx:d24;fail=eglGetConfigAttrib:25:0x3004", 1,   // window check visual id: judged
       "eglQueryContext\n\tEGL_CONFIG_ID\n"},
      // Only the window check swaps the main surface.
      {"configs=wpx:d24;fail=eglSwapBuffers:1:0x300D", 1,
       "\tEGL_CONFIG_ID\neglCreateWindowSurface\neglSwapBuffers\n"},
      {"configs=wpx:d24;native=accept;fail=eglDestroySurface:1:0x300D", 1,
       "eglQueryContext\n\tEGL_CONFIG_ID\neglCreatePbufferSurface\neglDestroySurface\n"},
  };
  const std::string dir = make_temp_dir();
  for (const StepCase& c : cases) {
    const std::string record = dir + "/calls.txt";
    const ProgramResult got = run_program(BRINDLE_FAKE, {"-v"}, fake_env(c.scenario + ";log=" + record));
    EXPECT_EQ(got.exit_status, c.status) << c.scenario;
    EXPECT_EQ(got.err, "") << c.scenario;
    const std::string calls = read_file(record);
    if (c.status == 0) {
      EXPECT_TRUE(ends_with(got.out, std::string("eglTerminate\n\n") + PASSED)) << c.scenario << "\n"
                                                                                << got.out;
      continue;
    }
    EXPECT_TRUE(starts_with(got.out, BANNER + golden("enumeration_check.txt"))) << c.scenario;
    EXPECT_TRUE(ends_with(got.out, c.tail + VERBOSE_FAILED)) << c.scenario << "\n" << got.out;
    EXPECT_EQ(got.out.find(PASSED), std::string::npos) << c.scenario;
    // The run stops at the failing read or the refused pixmap: nothing is
    // released on the way out.
    const std::vector<std::string> lines = lines_of(calls);
    ASSERT_FALSE(lines.empty()) << c.scenario;
    EXPECT_TRUE(starts_with(lines.back(), "eglGetError()") ||
                starts_with(lines.back(), "eglCreatePixmapSurface("))
        << c.scenario << ": " << lines.back();
    EXPECT_EQ(calls.find("eglTerminate(dpy) = EGL_TRUE"), std::string::npos) << c.scenario;
  }
}

TEST(BrindleFake, FirstErrorReadIsDrainedAndTheSecondIsJudged) {
  const int failing[] = {0x3001, 0x3002, 0x3004, 0x3008, 0x300C, 0x300D};
  for (int code : failing) {
    const std::string hex = std::to_string(code);
    const ProgramResult drained = run_program(BRINDLE_FAKE, {}, fake_env("fail=eglGetError:1:" + hex));
    EXPECT_EQ(drained.exit_status, 0) << code;
    EXPECT_EQ(drained.out, std::string(BANNER) + PASSED) << code;
    const ProgramResult judged = run_program(BRINDLE_FAKE, {"-v"}, fake_env("fail=eglGetError:2:" + hex));
    EXPECT_EQ(judged.exit_status, 1) << code;
    EXPECT_TRUE(ends_with(judged.out,
                          std::string("eglGetError\neglGetProcAddress with empty string\n") + VERBOSE_FAILED))
        << judged.out;
    const ProgramResult quiet = run_program(BRINDLE_FAKE, {}, fake_env("fail=eglGetError:2:" + hex));
    EXPECT_EQ(quiet.exit_status, 1) << code;
    EXPECT_EQ(quiet.out, std::string(BANNER) + "brindle failed.\n\n") << code;
  }
}

// Whether the error read that follows a call is a drain. The record line
// before an eglGetError is the call whose error it reads.
bool drained_after(const std::string& previous) {
  if (previous.empty()) return true;  // the first read of the run
  if (starts_with(previous, "eglCopyBuffers(")) return true;
  // A follow-up check's own search: read only when it found nothing.
  if (starts_with(previous, "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, ") &&
      previous.find(", EGL_NONE}, ptr, 1, ptr)") != std::string::npos &&
      previous.find("EGL_RED_SIZE") == std::string::npos)
    return true;
  // A window or pbuffer creation of a follow-up check that made nothing.
  if ((starts_with(previous, "eglCreateWindowSurface(") ||
       starts_with(previous, "eglCreatePbufferSurface(")) &&
      ends_with(previous, "= EGL_NO_SURFACE"))
    return true;
  return false;
}

struct ReadCase {
  const char* scenario;
  int drains;  // error reads of a passing run that are not judged
};

TEST(BrindleFake, EveryErrorReadIsJudgedExceptTheDrains) {
  const std::vector<ReadCase> cases = {
      {PBUFFER_MAIN, 3},                                                         // start, window check, copy
      {"configs=wpx:d24;native=accept", 2},                                      // start, copy
      {"configs=wx:d24;native=accept;fail=eglCreateWindowSurface:1:0x300B", 3},  // start, copy, pbuffer check
      {"configs=p:d24", 3},                                                      // start, both check searches
  };
  const std::string dir = make_temp_dir();
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.scenario);
    const std::string record = dir + "/calls.txt";
    const ProgramResult passing =
        run_program(BRINDLE_FAKE, {"-v"}, fake_env(std::string(c.scenario) + ";log=" + record));
    ASSERT_EQ(passing.exit_status, 0);
    const std::vector<std::string> calls = lines_of(read_file(record));
    int read = 0;
    int drains = 0;
    std::string previous;
    for (const std::string& line : calls) {
      if (!starts_with(line, "eglGetError()")) {
        previous = line;
        continue;
      }
      ++read;
      const bool drained = drained_after(previous);
      drains += drained ? 1 : 0;
      previous = line;
      const std::string scenario =
          std::string(c.scenario) + ";fail=eglGetError:" + std::to_string(read) + ":0x300C";
      const ProgramResult got = run_program(BRINDLE_FAKE, {"-v"}, fake_env(scenario));
      if (drained) {
        EXPECT_EQ(got.exit_status, 0) << scenario << " after " << line;
        EXPECT_EQ(got.out, passing.out) << scenario;
        continue;
      }
      EXPECT_EQ(got.exit_status, 1) << scenario;
      ASSERT_TRUE(ends_with(got.out, VERBOSE_FAILED)) << scenario;
      // The trace up to the failure is the passing trace cut at a line end.
      const std::string before = got.out.substr(0, got.out.size() - (sizeof VERBOSE_FAILED - 1));
      EXPECT_TRUE(starts_with(passing.out, before)) << scenario;
      EXPECT_TRUE(ends_with(before, "\n")) << scenario;
      EXPECT_LT(before.size(), passing.out.size() - (sizeof PASSED - 1)) << scenario;
    }
    EXPECT_EQ(drains, c.drains);
    EXPECT_GT(read, 50);
  }
}

}  // namespace
