// SPDX-License-Identifier: MIT
// brindle as a whole program against the recording fake. A row of the table is one run: its standard output,
// call record and log file are compared with golden/<row>_trace.txt, _calls.txt and _log.txt (a missing file
// stands for no output). A sweeping row also reruns with EGL_BAD_PARAMETER at each error read of its call
// record (a drain leaves the run as it was, a check ends it after the trace line of its call), then with each
// code of CODES at its second error read, and compares the outcomes with golden/<row>_faults.txt.
// REGENERATE_GOLDEN=1 rewrites the golden files.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

// The programs: brindle built with its null native hooks, with the recording
// hooks that make native objects, and with an EGL header where EGL_BAD_ALLOC
// is 0x3004.
constexpr const char *FAKE = BRINDLE_FAKE, *HOOKS = BRINDLE_HOOKS, *WRONG_HEADER = BRINDLE_FAKE_WRONG_HEADER;

struct Row {
  const char* name;
  const char* program;
  const char* args[3];   // the command line after the program name
  const char* scenario;  // FAKEGL_SCENARIO
  int status;            // exit status
  bool sweep = false;
};

// clang-format off
constexpr Row ROWS[] = {
    // A chain that stops at the refused null window, or checks of the wrong kinds after a pbuffer main surface.
    {"pbuffer_main", FAKE, {"-v"}, "configs=wpx:d24", 0, true},
    // A window tried without a window configuration; a check that judges its empty search.
    {"pbuffer_only", FAKE, {"-v"}, "", 0, true},
    // A window main surface released at the wrong time or not at all; the pixmap check on the main
    // configuration instead of its own.
    {"window_main", HOOKS, {"-v"}, "configs=w:d24,wx:d24", 0, true},
    // The pixmap step of the chain missing or its copy judged; the window and pbuffer checks not run after it.
    {"pixmap_main", HOOKS, {"-v"},
     "configs=w:d24,p:d24,wx:d24;fail=eglCreateWindowSurface:1:0x300B;fail=eglCreatePbufferSurface:1:0x3003",
     0, true},
    // A refused creation in the pbuffer check judged instead of drained.
    {"pbuffer_check_refused", HOOKS, {"-v"}, "configs=wpx:d24;fail=eglCreatePbufferSurface:1:0x3004", 0},
    // Counts or the visual id read before any call wrote them (not 0); a failed search that resets the count.
    {"counts_unwritten", FAKE, {"-v"}, "configs=wpx:d24;fail=eglGetConfigs:1:0x3005;fail=eglGetConfigs:2:0x3005;"
     "fail=eglChooseConfig:1:0x3005;fail=eglChooseConfig:2:0x3005;fail=eglChooseConfig:3:0x3005;"
     "fail=eglChooseConfig:4:0x3005", 0},
    {"visual_unwritten", HOOKS, {"-v"}, "configs=wpx:d24;fail=eglGetConfigAttrib:1:0x3005", 0},
    {"count_kept", FAKE, {"-v"}, "configs=p:d24;fail=eglChooseConfig:4:0x3005", 0},
    // A failed run that goes on past the failing call or releases what it made.
    {"no_display", FAKE, {"-v"}, "nodisplay", 1},
    {"no_surface", FAKE, {"-v"}, "configs=", 1},
    // A run that passes with no surface at all (window configurations only, as on GBM; the null window refused).
    {"window_only", FAKE, {"-v"}, "configs=w:d24", 1},
    {"every_surface_refused", FAKE, {"-v"}, "configs=wpx:d24;fail=eglCreatePbufferSurface:1:0x3003", 1},
    // The window check's swap on the main surface drained instead of judged; its log file.
    {"window_check_swap_fails", FAKE, {"-v", "-l", "log"}, "configs=wpx:d24;fail=eglSwapBuffers:1:0x300D", 1},
    // A quiet run's log file missing lines from the banner on, passed or failed.
    {"quiet_pass_log", FAKE, {"-l", "log"}, "configs=wpx:d24;native=accept", 0},
    {"quiet_fail_log", FAKE, {"-l", "log"}, "fail=eglInitialize:1:0x3001", 1},
    // The help text's bytes or its exit status 1.
    {"help", FAKE, {"-h"}, "", 1},
    // A wrong constant not caught, or the check going on past it into EGL calls; quiet, into the log.
    {"wrong_header", WRONG_HEADER, {"-v"}, "", 1},
    {"wrong_header_quiet_log", WRONG_HEADER, {"-l", "log"}, "", 1},
};

// Codes around the EGL 1.0 error range and far outside it.
constexpr const char* CODES[] = {
    "0x2FFF", "0x3000", "0x3001", "0x3002", "0x3003", "0x3004", "0x3005", "0x3006", "0x3007", "0x3008", "0x3009",
    "0x300A", "0x300B", "0x300C", "0x300D", "0x300E", "0x300F", "0x3021", "0", "0x13001", "-1", "-2147483648"};
// clang-format on

// The row's program under the scenario.
ProgramResult run(const Row& row, const std::string& scenario) {
  return run_program(row.program,
                     std::vector<std::string>(row.args, std::find(row.args, std::end(row.args), nullptr)),
                     scenario);
}

std::string escaped(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
  return shown;
}

// A run beside the row's plain run: the same, or its exit status, the last
// trace lines the two share (back to one that is not blank), and what it
// printed after them.
std::string beside(const ProgramResult& plain, const ProgramResult& got) {
  if (got.exit_status == plain.exit_status && got.out == plain.out) return "as the plain run";
  std::size_t shared = 0;
  for (std::size_t i = 0; i < got.out.size() && i < plain.out.size() && got.out[i] == plain.out[i]; ++i) {
    if (got.out[i] == '\n') shared = i + 1;
  }
  std::size_t start = shared;
  do {
    start = start < 2 ? 0 : got.out.rfind('\n', start - 2) + 1;
  } while (start > 0 && got.out[start] == '\n');
  return "exit " + std::to_string(got.exit_status) + " after \"" +
         escaped(got.out.substr(start, shared - start)) + "\", then \"" + escaped(got.out.substr(shared)) +
         "\"";
}

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

class Brindle : public testing::TestWithParam<Row> {};

TEST_P(Brindle, RunMatchesTheGoldenFiles) {
  const Row& row = GetParam();
  const ProgramResult plain = run(row, row.scenario);
  const std::string golden = GOLDEN_DIR "/" + std::string(row.name);
  EXPECT_EQ(plain.exit_status, row.status);
  EXPECT_GOLDEN(golden + "_trace.txt", plain.out);
  EXPECT_GOLDEN(golden + "_calls.txt", plain.calls);
  EXPECT_GOLDEN(golden + "_log.txt", plain.log);
  if (!row.sweep) return;
  std::vector<std::string> faults;
  std::istringstream calls(plain.calls);
  for (std::string call; std::getline(calls, call);) {
    if (call.rfind("eglGetError()", 0) == 0)
      faults.push_back("fail=eglGetError:" + std::to_string(faults.size() + 1) + ":0x300C");
  }
  for (const char* code : CODES) faults.push_back(std::string("fail=eglGetError:2:") + code);
  std::string outcomes;
  for (const std::string& fault : faults)
    outcomes += fault + ": " + beside(plain, run(row, row.scenario + (";" + fault))) + "\n";
  EXPECT_GOLDEN(golden + "_faults.txt", outcomes);
}

// Each row is named, in CTest too, by its name alone (PrintTo above).
INSTANTIATE_TEST_SUITE_P(Rows, Brindle, testing::ValuesIn(ROWS), testing::PrintToStringParamName());

}  // namespace
