// SPDX-License-Identifier: MIT
// Runs a built program as a child process and captures what it prints, and
// compares outputs with golden files.
#ifndef TESTS_SUPPORT_RUN_PROGRAM_H
#define TESTS_SUPPORT_RUN_PROGRAM_H

#include <string>
#include <vector>

struct ProgramResult {
  int exit_status;         // exit code, or 128 + signal number
  std::string out, err;    // standard output and standard error
  std::string calls, log;  // the recording fake's call record; the file "log" ("" when not written)
};

// Runs the program (under a cross build's emulator) in a fresh folder, which
// goes when it ends, with FAKEGL_SCENARIO set to "<scenario>;log=calls".
ProgramResult run_program(const std::string& path, const std::vector<std::string>& args,
                          const std::string& scenario);

// Whole contents of a file ("" when it cannot be read).
std::string read_file(const std::string& path);

// "" when the text is that of the golden file at path (a missing file stands
// for no text), else a unified diff from the file to the text; with
// REGENERATE_GOLDEN=1 set, rewrites the file instead.
std::string golden_diff(const std::string& path, const std::string& text);

// A test failure showing that diff, when there is one.
#define EXPECT_GOLDEN(path, text)                                  \
  do {                                                             \
    const std::string golden_report = golden_diff((path), (text)); \
    if (!golden_report.empty()) ADD_FAILURE() << golden_report;    \
  } while (0)

// A fresh empty folder under $TMPDIR (else /tmp). All of them go when the
// test program ends, whether its tests passed or not.
std::string make_temp_dir();

#endif
