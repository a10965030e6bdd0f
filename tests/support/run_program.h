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

// Environment changes for the child: a value sets the variable, a null
// (absent) entry in unset removes it; everything else is inherited.
struct ProgramEnv {
  std::map<std::string, std::string> set;
  std::vector<std::string> unset;
};

ProgramResult run_program(const std::string& path, const std::vector<std::string>& args,
                          const ProgramEnv& env = ProgramEnv(), const std::string& stdout_path = "");

// The platforms the whole-program tests run on, as environments:
// Mesa headless (llvmpipe, or softpipe), the display xvfb-run gives with the
// platform left to Mesa's default, no usable display at all, and the
// recording fake with a FAKEGL_SCENARIO text.
ProgramEnv surfaceless_env();
ProgramEnv softpipe_env();
ProgramEnv x11_env();
ProgramEnv no_display_env();
ProgramEnv fake_env(const std::string& scenario);

// The help text of both programs' -h.
extern const char HELP_TEXT[];

// A command line that stops either program at option parsing, before any EGL
// call, and what it prints.
struct StoppingCommandLine {
  std::vector<std::string> args;
  std::string out;
};

// Help, bad options and a missing log name, shared by both programs' tests
// (quillet_cl exits with 0 after each, brindle with 1).
const std::vector<StoppingCommandLine>& stopping_command_lines();

// How the child's standard output is connected and whom it runs as.
struct ProgramIo {
  std::string stdout_path;  // a file (such as /dev/full) instead of a captured temporary
  bool stdout_closed_pipe;  // a pipe whose reading end is already closed
  bool as_nobody;           // drop root privileges (uid/gid 65534) before exec
};

ProgramResult run_program_io(const std::string& path, const std::vector<std::string>& args,
                             const ProgramEnv& env, const ProgramIo& io);

// Whole contents of a file ("" when it cannot be read).
std::string read_file(const std::string& path);

// A fresh empty directory under the test temporary directory.
std::string make_temp_dir();

#endif
