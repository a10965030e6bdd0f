// brindle as a whole program against the recording fake, each run in a child
// process of its own. A row of the table is one run: its standard output, call
// record and log file are compared with golden/<row>_trace.txt, _calls.txt and
// _log.txt (a missing file stands for no output). A sweeping row also reruns
// with EGL_BAD_PARAMETER at each error read of its call record (a drain leaves
// the run as it was, a check ends it after the trace line of its call), then
// with each code of CODES at its second error read, and compares the outcomes
// with golden/<row>_faults.txt. REGENERATE_GOLDEN=1 rewrites the golden files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "fakegl.h"

int brindle_main(int argc, char** argv);  // brindle's main, renamed by the build

namespace {

enum Program {
  FAKE,          // brindle_fake: the program's null native hooks
  HOOKS,         // brindle_main in this process, with the recording hooks that make native objects
  WRONG_HEADER,  // brindle_fake_wrong_header: EGL_BAD_ALLOC is 0x3004 in its EGL header
};

struct Row {
  const char* name;
  Program program;
  const char* args[3];   // the command line after the program name
  const char* scenario;  // FAKEGL_SCENARIO
  int status;            // exit status
  bool sweep = false;
};

// clang-format off
constexpr Row ROWS[] = {
    // Null native window refused: a pbuffer main surface, then the window and pixmap checks.
    {"pbuffer_main", FAKE, {"-v"}, "configs=wpx:d24", 0, true},
    // The fake's one pbuffer configuration: no window tried, both checks find no configuration.
    {"pbuffer_only", FAKE, {"-v"}, "", 0, true},
    // A window main surface, then the pbuffer check (no configuration) and the pixmap check on a
    // configuration of its own.
    {"window_main", HOOKS, {"-v"}, "configs=w:d24,wx:d24", 0, true},
    // Window and pbuffer refused: a pixmap main surface, copied, then the window and pbuffer checks, each
    // on a configuration of its own.
    {"pixmap_main", HOOKS, {"-v"},
     "configs=w:d24,p:d24,wx:d24;fail=eglCreateWindowSurface:1:0x300B;fail=eglCreatePbufferSurface:1:0x3003",
     0, true},
    // The pbuffer check drains the error of its refused creation, even a failing code.
    {"pbuffer_check_refused", HOOKS, {"-v"}, "configs=wpx:d24;fail=eglCreatePbufferSurface:1:0x3004", 0},
    // Counts and the visual id that no call writes stay 0; a failed window search keeps the last count.
    {"counts_unwritten", FAKE, {"-v"}, "configs=wpx:d24;fail=eglGetConfigs:1:0x3005;fail=eglGetConfigs:2:0x3005;"
     "fail=eglChooseConfig:1:0x3005;fail=eglChooseConfig:2:0x3005;fail=eglChooseConfig:3:0x3005;"
     "fail=eglChooseConfig:4:0x3005", 0},
    {"visual_unwritten", HOOKS, {"-v"}, "configs=wpx:d24;fail=eglGetConfigAttrib:1:0x3005", 0},
    {"count_kept", FAKE, {"-v"}, "configs=p:d24;fail=eglChooseConfig:4:0x3005", 0},
    // Failed runs: the trace stops at the failing call, nothing is released.
    {"no_display", FAKE, {"-v"}, "nodisplay", 1},
    {"no_surface", FAKE, {"-v"}, "configs=", 1},
    {"every_surface_refused", FAKE, {"-v"}, "configs=wpx:d24;fail=eglCreatePbufferSurface:1:0x3003", 1},
    {"window_check_swap_fails", FAKE, {"-v", "-l", "log"}, "configs=wpx:d24;fail=eglSwapBuffers:1:0x300D", 1},
    // Quiet runs with a log file (the run above has one in verbose mode): it receives everything from the
    // banner on.
    {"quiet_pass_log", FAKE, {"-l", "log"}, "configs=wpx:d24;native=accept", 0},
    {"quiet_fail_log", FAKE, {"-l", "log"}, "fail=eglInitialize:1:0x3001", 1},
    {"help", FAKE, {"-h"}, "", 1},
    // The enumeration check stops at the mismatching row, before any EGL call.
    {"wrong_header", WRONG_HEADER, {"-v"}, "", 1},
    {"wrong_header_quiet_log", WRONG_HEADER, {"-l", "log"}, "", 1},
};

// Codes around the EGL 1.0 error range and far outside it.
constexpr const char* CODES[] = {
    "0x2FFF", "0x3000", "0x3001", "0x3002", "0x3003", "0x3004", "0x3005", "0x3006", "0x3007", "0x3008", "0x3009",
    "0x300A", "0x300B", "0x300C", "0x300D", "0x300E", "0x300F", "0x3021", "0", "0x13001", "-1", "-2147483648"};
// clang-format on

struct Outputs {
  int status;
  std::string out, calls, log;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_calls() {
  std::ofstream out("calls");
  for (const std::string& line : fake_calls()) out << line << '\n';
}

// Runs the row's program under the scenario in a child process, inside a
// fresh folder under $TMPDIR (else /tmp) that goes when the run is read.
Outputs run(const Row& row, const std::string& scenario) {
  std::string dir = (std::filesystem::temp_directory_path() / "brindle.XXXXXX").string();
  const bool made = mkdtemp(&dir[0]) != nullptr;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const char* argv[] = {"brindle", row.args[0], row.args[1], row.args[2], nullptr};
    int argc = 1;
    while (argv[argc] != nullptr) ++argc;
    if (!made || chdir(dir.c_str()) != 0 || !std::freopen("out", "w", stdout)) _exit(125);
    if (row.program != HOOKS) {
      setenv("FAKEGL_SCENARIO", (scenario + ";log=calls").c_str(), 1);
      // A cross build's program runs under the emulator, named in front of it.
      argv[0] = row.program == FAKE ? BRINDLE_FAKE : BRINDLE_FAKE_WRONG_HEADER;
      const char* emulated[] = {EMULATOR, argv[0], argv[1], argv[2], argv[3], nullptr};
      execv(EMULATOR[0] != '\0' ? EMULATOR : argv[0], const_cast<char**>(EMULATOR[0] != '\0' ? emulated : argv));
      _exit(126);
    }
    if (!fake_load_scenario(scenario)) _exit(124);
    std::atexit(write_calls);
    std::exit(brindle_main(argc, const_cast<char**>(argv)));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const Outputs got{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), read_file(dir + "/out"),
                    read_file(dir + "/calls"), read_file(dir + "/log")};
  if (made) std::filesystem::remove_all(dir);
  return got;
}

// Compares an output with its golden file and reports the first line that differs.
void expect_golden(const std::string& file, const std::string& got) {
  const std::string path = std::string(GOLDEN_DIR) + "/" + file;
  if (std::getenv("REGENERATE_GOLDEN") != nullptr) {
    std::filesystem::remove(path);
    if (!got.empty()) std::ofstream(path, std::ios::binary) << got;
    return;
  }
  const std::string want = read_file(path);
  if (got == want) return;
  std::size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  const std::size_t start = at == 0 ? 0 : want.rfind('\n', at - 1) + 1;
  const auto line = [start](const std::string& text) {
    return text.substr(start, text.find('\n', start) - start);
  };
  ADD_FAILURE() << file << " differs at line " << std::count(got.begin(), got.begin() + at, '\n') + 1
                << "\n  want: " << line(want) << "\n  got:  " << line(got);
}

std::string escaped(const std::string& text) {
  std::string shown;
  for (char c : text) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
  return shown;
}

// A run beside the row's plain run: the same, or its exit status, the last
// trace lines the two share (back to one that is not blank), and what it
// printed after them.
std::string beside(const Outputs& plain, const Outputs& got) {
  if (got.status == plain.status && got.out == plain.out) return "as the plain run";
  std::size_t shared = 0;
  for (std::size_t i = 0; i < got.out.size() && i < plain.out.size() && got.out[i] == plain.out[i]; ++i) {
    if (got.out[i] == '\n') shared = i + 1;
  }
  std::size_t start = shared;
  do {
    start = start < 2 ? 0 : got.out.rfind('\n', start - 2) + 1;
  } while (start > 0 && got.out[start] == '\n');
  return "exit " + std::to_string(got.status) + " after \"" + escaped(got.out.substr(start, shared - start)) +
         "\", then \"" + escaped(got.out.substr(shared)) + "\"";
}

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

class Brindle : public testing::TestWithParam<Row> {};

TEST_P(Brindle, RunMatchesTheGoldenFiles) {
  const Row& row = GetParam();
  const Outputs plain = run(row, row.scenario);
  EXPECT_EQ(plain.status, row.status);
  expect_golden(std::string(row.name) + "_trace.txt", plain.out);
  expect_golden(std::string(row.name) + "_calls.txt", plain.calls);
  expect_golden(std::string(row.name) + "_log.txt", plain.log);
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
  expect_golden(std::string(row.name) + "_faults.txt", outcomes);
}

INSTANTIATE_TEST_SUITE_P(Rows, Brindle, testing::ValuesIn(ROWS), [](const testing::TestParamInfo<Row>& info) {
  return std::string(info.param.name);
});

}  // namespace
