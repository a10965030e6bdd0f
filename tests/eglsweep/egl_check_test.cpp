// Error classification: the class of every code, check_egl's single error
// read, and the failure exit.
#include <EGL/egl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "eglsweep/egl_check.h"
#include "exit_output.h"
#include "fakegl.h"
#include "harness/harness.h"

namespace {

struct CodeCase {
  EGLint code;
  const char* name;
  bool fails;
};

// The EGL 1.0 codes and values around and far outside their range.
const std::vector<CodeCase> CODES = {
    {EGL_SUCCESS, "EGL_SUCCESS", false},
    {EGL_NOT_INITIALIZED, "EGL_NOT_INITIALIZED", true},
    {EGL_BAD_ACCESS, "EGL_BAD_ACCESS", true},
    {EGL_BAD_ALLOC, "EGL_BAD_ALLOC", false},
    {EGL_BAD_ATTRIBUTE, "EGL_BAD_ATTRIBUTE", true},
    {EGL_BAD_CONFIG, "EGL_BAD_CONFIG", false},
    {EGL_BAD_CONTEXT, "EGL_BAD_CONTEXT", false},
    {EGL_BAD_CURRENT_SURFACE, "EGL_BAD_CURRENT_SURFACE", false},
    {EGL_BAD_DISPLAY, "EGL_BAD_DISPLAY", true},
    {EGL_BAD_MATCH, "EGL_BAD_MATCH", false},
    {EGL_BAD_NATIVE_PIXMAP, "EGL_BAD_NATIVE_PIXMAP", false},
    {EGL_BAD_NATIVE_WINDOW, "EGL_BAD_NATIVE_WINDOW", false},
    {EGL_BAD_PARAMETER, "EGL_BAD_PARAMETER", true},
    {EGL_BAD_SURFACE, "EGL_BAD_SURFACE", true},
    {0x300E, "EGL_CONTEXT_LOST", false},
    {0x300F, "0x300F", false},
    {0x3011, "0x3011", false},
    {0x2FFF, "0x2FFF", false},
    {0x2FFB, "0x2FFB", false},
    {0x3020, "0x3020", false},
    {0x13001, "0x13001", false},
    {0x13004, "0x13004", false},
    {-1, "-1", false},
    {INT32_MIN, "INT32_MIN", false},
    {INT32_MAX, "INT32_MAX", false},
};

bool in_failing_set(EGLint code) {
  const EGLint failing[] = {EGL_NOT_INITIALIZED, EGL_BAD_ACCESS,    EGL_BAD_ATTRIBUTE,
                            EGL_BAD_DISPLAY,     EGL_BAD_PARAMETER, EGL_BAD_SURFACE};
  for (EGLint f : failing) {
    if (f == code) return true;
  }
  return false;
}

class Classification : public testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    harness_state.verbose_level = 1;
  }
  void TearDown() override { harness_state.verbose_level = 0; }
};

TEST_F(Classification, ExactlySixCodesFailAcrossAndAroundTheRange) {
  for (const CodeCase& c : CODES) {
    EXPECT_EQ(egl_code_fails(c.code), c.fails ? 1 : 0) << c.name;
  }
  for (EGLint code = 0x2E00; code <= 0x3200; ++code) {
    EXPECT_EQ(egl_code_fails(code), in_failing_set(code) ? 1 : 0) << std::hex << code;
  }
  EXPECT_EQ(egl_code_fails(0), 0);
}

TEST_F(Classification, PassingCodesReturnAfterOneErrorRead) {
  for (const CodeCase& c : CODES) {
    if (c.fails) continue;
    SCOPED_TRACE(c.name);
    fake_reset();
    fake_fail("eglGetError", 1, c.code);
    testing::internal::CaptureStdout();
    check_egl();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(fake_call_count("eglGetError"), 1);
  }
}

TEST_F(Classification, FailingCodesEndTheRunWithStatusOne) {
  for (const CodeCase& c : CODES) {
    if (!c.fails) continue;
    SCOPED_TRACE(c.name);
    fake_reset();
    fake_fail("eglGetError", 1, c.code);
    harness_state.verbose_level = 1;
    EXPECT_EXIT_OUTPUT(check_egl(), 1, "\nbrindle failed.\n\n");
    harness_state.verbose_level = 0;
    EXPECT_EXIT_OUTPUT(check_egl(), 1, "brindle failed.\n\n");
  }
}

TEST_F(Classification, ReadsTheErrorOfTheCallBeforeIt) {
  EGLint major = 0;
  EGLint minor = 0;
  eglInitialize(EGL_NO_DISPLAY, &major, &minor);  // leaves EGL_BAD_DISPLAY pending
  EXPECT_EXIT_OUTPUT(check_egl(), 1, "\nbrindle failed.\n\n");

  fake_reset();
  eglInitialize(eglGetDisplay(EGL_DEFAULT_DISPLAY), &major, &minor);
  EGLint value = 0;
  eglGetConfigAttrib(eglGetDisplay(EGL_DEFAULT_DISPLAY), nullptr, EGL_RED_SIZE, &value);
  EXPECT_EQ(fake_pending_egl_error(), EGL_BAD_CONFIG);
  testing::internal::CaptureStdout();
  check_egl();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(fake_pending_egl_error(), EGL_SUCCESS);  // the read cleared it
}

TEST_F(Classification, FailRunWritesTheVerdictToTheLogFileToo) {
  char path[] = "/tmp/failrun.XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_EXIT_OUTPUT(
      {
        harness_state.log_file = std::fopen(path, "w");
        fail_run();
      },
      1, "\nbrindle failed.\n\n");
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "\nbrindle failed.\n\n");
  std::remove(path);
}

}  // namespace
