// SPDX-License-Identifier: MIT
// Command-line options and banner of both programs.
#include <cstring>

#include "harness/harness.h"

namespace {

void print_help() {
  log_message(0, "Options:\n");
  log_message(0, "\t-h\t\tPrint this help screen.\n");
  log_message(0, "\t-l\t<file>\tCreate a logfile.\n");
  log_message(0, "\t-v\t\tVerbose mode ON.\n");
  log_message(0, "\n");
}

// Accepts the name given to -l: remembers it and creates (truncates) the file.
// A name that does not fit the path buffer is refused like one that cannot be
// opened, and no file is created under a shortened name.
void accept_log_name(const char* name) {
  if (std::strlen(name) >= LOG_PATH_SIZE) {
    harness_state.log_requested = 0;
    harness_state.log_path[0] = '\0';
    log_message(0, "-l (Bad logfile name).\n\n");
    return;
  }
  harness_state.log_requested = 1;
  std::strcpy(harness_state.log_path, name);
  std::FILE* file = std::fopen(harness_state.log_path, "w");
  if (file != nullptr) {
    std::fclose(file);
    log_message(0, "Logfile %s created.\n\n", name);
  } else {
    log_message(0, "-l (Bad logfile name).\n\n");
  }
}

}  // namespace

std::int32_t parse_options(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg[0] != '-') {
      log_message(0, "%s (Bad option).\n", arg);
      return OPTIONS_STOP;
    }
    if (std::strcmp(arg, "-h") == 0) {
      print_help();
      return OPTIONS_STOP;
    }
    if (std::strcmp(arg, "-v") == 0) {
      harness_state.verbose_level = 1;
      continue;
    }
    if (std::strcmp(arg, "-l") == 0) {
      if (i + 1 >= argc || argv[i + 1][0] == '-') {
        log_message(0, "-l (No logfile name).\n\n");
        return OPTIONS_STOP;
      }
      ++i;
      accept_log_name(argv[i]);
      continue;
    }
    log_message(0, "%s (Bad option).\n", arg);
    return OPTIONS_STOP;
  }
  return OPTIONS_GO;
}

void open_log_file() {
  if (harness_state.log_requested == 1) {
    harness_state.log_file = std::fopen(harness_state.log_path, "a");
  }
}

void print_banner(const char* title_line) {
  log_message(0, "%s", title_line);
  log_message(0, "Version KESTRAL_VERSION, KESTRAL_DATE\n");
  log_message(0, "\n");
}

void close_log_file() {
  if (harness_state.log_file != nullptr) {
    std::fclose(harness_state.log_file);
    harness_state.log_file = nullptr;
  }
}
