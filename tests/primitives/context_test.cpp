// Rendering context set-up against the recording fake.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakegl.h"
#include "primitives/context.h"

namespace {

RenderTargetRequest stencil_request() {
  RenderTargetRequest request = {};
  request.width = 480;
  request.height = 480;
  request.config_flags = CONFIG_FLAG_STENCIL;
  return request;
}

struct Attempt {
  std::int32_t result;
  std::string err;
};

Attempt attempt(RenderTargetRequest* request) {
  testing::internal::CaptureStderr();
  const std::int32_t result = setup_context(request);
  return Attempt{result, testing::internal::GetCapturedStderr()};
}

class Context : public testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    context_state = ContextState{
        EGL_NO_DISPLAY, nullptr, EGL_NO_SURFACE, EGL_NO_CONTEXT, {EGL_WIDTH, 0, EGL_HEIGHT, 0, EGL_NONE},
        nullptr};
  }
};

TEST_F(Context, StencilRequestRecordsTheWholeSetUp) {
  RenderTargetRequest request = stencil_request();
  const Attempt got = attempt(&request);
  EXPECT_EQ(got.result, 1);
  EXPECT_EQ(got.err, "");
  EXPECT_EQ(request.config_flags, CONFIG_FLAG_STENCIL | CONFIG_FLAG_DEPTH);
  const std::vector<std::string> expected = {
      "eglGetDisplay(EGL_DEFAULT_DISPLAY) = dpy",
      "eglInitialize(dpy, ptr, ptr) = EGL_TRUE",
      "eglChooseConfig(dpy, {EGL_SURFACE_TYPE, 1, EGL_LEVEL, 0, EGL_RED_SIZE, 1, EGL_DEPTH_SIZE, 12, "
      "EGL_STENCIL_SIZE, 1, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE",
      "eglGetConfigAttrib(dpy, cfg1, EGL_STENCIL_SIZE, ptr) = EGL_TRUE",
      "eglGetConfigAttrib(dpy, cfg1, EGL_DEPTH_SIZE, ptr) = EGL_TRUE",
      "eglCreatePbufferSurface(dpy, cfg1, {EGL_WIDTH, 480, EGL_HEIGHT, 480, EGL_NONE}) = surf1",
      "eglCreateContext(dpy, cfg1, EGL_NO_CONTEXT, NULL) = ctx1",
      "eglMakeCurrent(dpy, surf1, surf1, ctx1) = EGL_TRUE",
      "glGetString(GL_EXTENSIONS)",
      "eglGetProcAddress(\"glQueryMatrixxOES\")",
  };
  EXPECT_EQ(fake_calls(), expected);
  EXPECT_NE(context_state.query_matrix, nullptr);
}

TEST_F(Context, NoStencilConfigurationFailsSilentlyThenRetrySucceeds) {
  fake_scenario().configs = {FakeConfig{EGL_PBUFFER_BIT, 8, 16, 0}};
  RenderTargetRequest request = stencil_request();
  const Attempt first = attempt(&request);
  EXPECT_EQ(first.result, 0);
  EXPECT_EQ(first.err, "");
  EXPECT_EQ(context_state.config, nullptr);
  request.config_flags = 0;
  const Attempt second = attempt(&request);
  EXPECT_EQ(second.result, 1);
  EXPECT_EQ(request.config_flags, CONFIG_FLAG_DEPTH);
  const std::vector<std::string> chosen = fake_calls_starting("eglChooseConfig");
  ASSERT_EQ(chosen.size(), 2u);
  EXPECT_NE(chosen[1].find("EGL_DEPTH_SIZE, 12, EGL_NONE}"), std::string::npos) << chosen[1];
}

TEST_F(Context, WindowOnlyPlatformIsNotOfferedForAPbuffer) {
  fake_scenario().configs = {FakeConfig{EGL_WINDOW_BIT, 8, 24, 8}};
  RenderTargetRequest request = stencil_request();
  EXPECT_EQ(attempt(&request).result, 0);
  EXPECT_EQ(fake_call_count("eglCreatePbufferSurface"), 0);
}

TEST_F(Context, NoConfigurationAtAllFailsBothAttemptsQuietly) {
  fake_scenario().configs.clear();  // eglChooseConfig: EGL_TRUE with a count of 0
  RenderTargetRequest request = stencil_request();
  EXPECT_EQ(attempt(&request).result, 0);
  request.config_flags = 0;
  const Attempt second = attempt(&request);
  EXPECT_EQ(second.result, 0);
  EXPECT_EQ(second.err, "");
  EXPECT_EQ(fake_call_count("eglCreatePbufferSurface"), 0);
}

TEST_F(Context, ConfigurationById) {
  fake_scenario().configs = {FakeConfig{EGL_PBUFFER_BIT, 8, 0, 0}, FakeConfig{EGL_PBUFFER_BIT, 8, 24, 0}};
  RenderTargetRequest request = stencil_request();
  request.config_kind = 1;
  request.config_flags = 2;
  EXPECT_EQ(attempt(&request).result, 1);
  EXPECT_EQ(request.config_kind, 0);
  EXPECT_EQ(request.config_flags, CONFIG_FLAG_DEPTH);
  EXPECT_EQ(fake_calls_starting("eglChooseConfig")[0],
            "eglChooseConfig(dpy, {EGL_CONFIG_ID, 2, EGL_NONE}, ptr, 1, ptr) = EGL_TRUE");
}

struct FailureCase {
  const char* scenario;
  const char* err;
};

TEST_F(Context, EachSetUpFailureWritesItsMessageToStderr) {
  const std::vector<FailureCase> cases = {
      {"nodisplay", "Can't get display!\n"},
      {"fail=eglInitialize:1:0x3001", "Can't initialize EGL display\n"},
      {"fail=eglChooseConfig:1:0x3004", ""},
      {"fail=eglCreatePbufferSurface:1:0x3003", "Can't create EGL surface\n"},
      {"fail=eglCreateContext:1:0x3005", "Can't create a context!\n"},
      {"fail=eglMakeCurrent:1:0x3002", "Can't make context current\n"},
  };
  for (const FailureCase& c : cases) {
    ASSERT_TRUE(fake_load_scenario(c.scenario));
    RenderTargetRequest request = stencil_request();
    const Attempt got = attempt(&request);
    EXPECT_EQ(got.result, 0) << c.scenario;
    EXPECT_EQ(got.err, c.err) << c.scenario;
  }
}

struct ExtensionCase {
  const char* extensions;
  const char* name;
  std::int32_t found;
};

TEST_F(Context, ExtensionNamesMatchOnlyAsWholeWords) {
  const std::vector<ExtensionCase> cases = {
      {"GL_OES_query_matrix", "GL_OES_query_matrix", 1},
      {"GL_A GL_OES_query_matrix", "GL_OES_query_matrix", 1},
      {"GL_OES_query_matrix GL_B", "GL_OES_query_matrix", 1},
      {"GL_OES_query_matrix_ext", "GL_OES_query_matrix", 0},
      {"GL_OES_query_matrix_ext GL_OES_query_matrix", "GL_OES_query_matrix", 1},
      {"XGL_OES_query_matrix", "GL_OES_query_matrix", 0},
      {"GL_X_GL_OES_query_matrix GL_C", "GL_OES_query_matrix", 0},
      {"", "GL_OES_query_matrix", 0},
      {"GL_A", "", 0},
  };
  for (const ExtensionCase& c : cases) {
    fake_scenario().gl_extensions = c.extensions;
    EXPECT_EQ(has_gl_extension(c.name), c.found) << c.extensions << " / " << c.name;
  }
}

TEST_F(Context, QueryMatrixIsResolvedOnlyWhenAdvertised) {
  fake_scenario().gl_extensions = "GL_OES_query_matrix_other";
  RenderTargetRequest request = stencil_request();
  EXPECT_EQ(attempt(&request).result, 1);
  EXPECT_EQ(context_state.query_matrix, nullptr);
  EXPECT_EQ(fake_call_count("eglGetProcAddress"), 0);
}

}  // namespace
