// Runs a built program as a child process and captures what it prints.
#ifndef TESTS_SUPPORT_RUN_PROGRAM_H
#define TESTS_SUPPORT_RUN_PROGRAM_H

#include <map>
#include <string>
#include <vector>

struct ProgramResult {
  int exit_status;  // exit code, or 128 + signal number
  std::string out;  // standard output
  std::string err;  // standard error
};

// Environment variables the child gets on top of the inherited ones.
struct ProgramEnv {
  std::map<std::string, std::string> set;
};

// In a cross build the program runs under the build's emulator.
ProgramResult run_program(const std::string& path, const std::vector<std::string>& args,
                          const ProgramEnv& env = ProgramEnv());

// The recording fake's environment for a FAKEGL_SCENARIO text.
ProgramEnv fake_env(const std::string& scenario);

// The help text of both programs' -h.
extern const char HELP_TEXT[];

// Whole contents of a file ("" when it cannot be read).
std::string read_file(const std::string& path);

// A fresh empty folder under $TMPDIR (else /tmp). All of them go when the
// test program ends, whether its tests passed or not.
std::string make_temp_dir();

#endif
