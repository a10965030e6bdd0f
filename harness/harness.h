// SPDX-License-Identifier: MIT
// Test harness shared by quillet_cl and brindle: command-line options, the
// logger and the banner. Process-wide state, single thread.
#ifndef HARNESS_HARNESS_H
#define HARNESS_HARNESS_H

#include <cstdint>
#include <cstdio>

enum { LOG_PATH_SIZE = 80, LOG_MESSAGE_SIZE = 1024 };

struct HarnessState {
  std::int32_t verbose_level;    // 0 by default, 1 after -v
  std::int32_t log_requested;    // 1 once -l <file> was accepted
  char log_path[LOG_PATH_SIZE];  // the -l name, NUL-terminated
  std::FILE* log_file;           // open log file, or null
};

extern HarnessState harness_state;

// printf-style message of level 0 (always) or 1 (with -v) to stdout and the log file.
void log_message(std::int32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Result of parse_options: go on with the run, or stop (help or option error).
enum { OPTIONS_STOP = 0, OPTIONS_GO = 1 };

// Parses argv[1..argc-1] into the harness state, printing help and option errors.
std::int32_t parse_options(int argc, char** argv);

// After parsing: opens the requested log file for appending (none if that fails).
void open_log_file();

// Prints the three banner lines that start with the given title line.
void print_banner(const char* title_line);

// Closes the log file if one is open.
void close_log_file();

#endif
