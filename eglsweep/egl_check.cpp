// SPDX-License-Identifier: MIT
#include "eglsweep/egl_check.h"

#include <cstdint>
#include <cstdlib>

#include "harness/harness.h"

namespace {

// The failing codes all lie in EGL_NOT_INITIALIZED..EGL_BAD_SURFACE; bit n
// of the mask stands for code EGL_NOT_INITIALIZED + n.
constexpr std::uint32_t FAILING_CODE_BASE = EGL_NOT_INITIALIZED;
constexpr std::uint32_t FAILING_CODE_SPAN = EGL_BAD_SURFACE - EGL_NOT_INITIALIZED + 1;
constexpr std::uint32_t FAILING_CODE_MASK = 0x188B;

constexpr std::uint32_t code_bit(EGLint code) {
  return 1u << (static_cast<std::uint32_t>(code) - FAILING_CODE_BASE);
}

static_assert(FAILING_CODE_SPAN == 13, "the EGL 1.0 error codes are 0x3001 to 0x300D");
static_assert(FAILING_CODE_MASK ==
                  (code_bit(EGL_NOT_INITIALIZED) | code_bit(EGL_BAD_ACCESS) | code_bit(EGL_BAD_ATTRIBUTE) |
                   code_bit(EGL_BAD_DISPLAY) | code_bit(EGL_BAD_PARAMETER) | code_bit(EGL_BAD_SURFACE)),
              "the mask holds exactly the six failing codes");

// 1 when the code is of the failing class, 0 for every other value.
std::int32_t egl_code_fails(EGLint code) {
  // Codes below the base wrap round to large offsets, so one unsigned
  // comparison rejects everything outside the range.
  const std::uint32_t offset = static_cast<std::uint32_t>(code) - FAILING_CODE_BASE;
  if (offset >= FAILING_CODE_SPAN) {
    return 0;
  }
  return static_cast<std::int32_t>((FAILING_CODE_MASK >> offset) & 1u);
}

}  // namespace

void check_egl() {
  const EGLint code = eglGetError();
  if (egl_code_fails(code) != 0) {
    fail_run();
  }
}

void fail_run() {
  log_message(1, "\n");
  log_message(0, "brindle failed.\n");
  log_message(0, "\n");
  std::exit(1);
}
