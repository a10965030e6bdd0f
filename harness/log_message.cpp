// SPDX-License-Identifier: MIT
// The logger of both programs.
#include <cstdarg>
#include <cstdio>

#include "harness/harness.h"

HarnessState harness_state = {0, 0, {0}, nullptr};

void log_message(std::int32_t level, const char* format, ...) {
  if (level > harness_state.verbose_level) {
    return;
  }
  // vsnprintf cuts a longer message at LOG_MESSAGE_SIZE - 1 bytes; nothing is
  // written past the buffer.
  char buffer[LOG_MESSAGE_SIZE];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::printf("%s", buffer);
  std::fflush(stdout);
  if (harness_state.log_file != nullptr) {
    std::fputs(buffer, harness_state.log_file);
    std::fflush(harness_state.log_file);
  }
}
