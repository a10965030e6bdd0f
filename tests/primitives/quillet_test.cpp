// SPDX-License-Identifier: MIT
// quillet_cl built against the recording fake, run as a whole program. The
// expectations are golden files (REGENERATE_GOLDEN=1 rewrites them):
// - run_start.txt: the GL calls, error reads and allocations of the frame
//   set-up, Init and the first frame;
// - run_summary.txt: every distinct call and output line of a verbose run, in
//   order of first appearance with its count, so that each entry of each value
//   list is seen reaching GL with its own value and each status line with its
//   count; its last line is a digest of the whole call record and output,
//   which pins the order of all 5452 frames;
// - outcomes/<row>.txt: for each row of the table below (set-up failures,
//   extension strings, GL errors and allocation failures injected as "the Nth
//   call of F fails", placed by a call of the clean run's record), the exit
//   status, how many frames the run drew, standard error, the end of
//   standard output, how many GL calls it made before its last Set phase and
//   each one from there on (so that every error read of the sets before a
//   fault shows) and its EGL calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A run of quillet_cl_fake with the scenario; a verbose run also writes a log file.
ProgramResult run_quillet(bool verbose, const std::string& scenario) {
  return run_program(QUILLET_CL_FAKE,
                     verbose ? std::vector<std::string>{"-v", "-l", "log"} : std::vector<std::string>{},
                     scenario);
}

bool starts_with(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

TEST(Quillet, VerboseRunMatchesItsGoldenRecord) {
  const ProgramResult run = run_quillet(true, "");
  ASSERT_EQ(run.exit_status, 0);
  // The GL part of the record: from the frame set-up on.
  const std::vector<std::string> calls = lines_of(run.calls);
  const auto gl = std::find_if(calls.begin(), calls.end(), [](const std::string& line) {
    return starts_with(line, "gl") && !starts_with(line, "glGetString");
  });
  const auto first_frame_end = std::find(gl, calls.end(), "glDisableClientState(GL_TEXTURE_COORD_ARRAY)");
  ASSERT_NE(first_frame_end, calls.end());
  std::string start;
  for (auto line = gl; line <= first_frame_end; ++line) start += *line + "\n";
  EXPECT_GOLDEN(GOLDEN_DIR "/run_start.txt", start);

  // What the run printed from the banner on, after the call record.
  std::string out = run.out.substr(run.out.find("OpenGL ES Quillet."));
  std::vector<std::string> lines(gl, calls.end());
  for (const std::string& line : lines_of(out)) lines.push_back("> " + line);
  std::vector<std::string> order;
  std::map<std::string, int> counts;
  std::uint64_t digest = 14695981039346656037u;  // FNV-1a over every line, in order
  for (const std::string& line : lines) {
    if (counts[line]++ == 0) order.push_back(line);
    for (const char c : line + "\n") digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
  }
  std::ostringstream summary;
  for (const std::string& line : order) summary << counts[line] << '\t' << line << '\n';
  summary << "digest " << std::hex << digest << '\n';
  EXPECT_GOLDEN(GOLDEN_DIR "/run_summary.txt", summary.str());

  // The log file holds all of it but the frame count.
  const std::string count_line = "\n5452 Combinations.\n";
  ASSERT_NE(out.find(count_line), std::string::npos);
  EXPECT_EQ(run.log, out.erase(out.find(count_line), count_line.size()));
}

// The index in the record of the call AT names: the first call that begins
// with AT; "P after AT", the first call beginning with P after that one;
// "P before AT", the last one before it; "last P", the last call beginning
// with P. The record's size when there is none.
std::size_t find_call(const std::vector<std::string>& calls, const std::string& at) {
  const std::size_t none = calls.size(), after = at.find(" after "), before = at.find(" before ");
  const bool last = starts_with(at, "last "), back = last || before != std::string::npos;
  const std::string phrase = at.substr(0, std::min(after, before)), prefix = phrase.substr(last ? 5 : 0);
  const std::size_t from = after == std::string::npos ? 0 : find_call(calls, at.substr(after + 7)) + 1;
  const std::size_t to = before == std::string::npos ? none : find_call(calls, at.substr(before + 8));
  if (from > none || (before != std::string::npos && to == none)) return none;
  const auto begins = [&](const std::string& line) { return starts_with(line, prefix.c_str()); };
  if (!back)
    return static_cast<std::size_t>(std::find_if(calls.begin() + from, calls.end(), begins) - calls.begin());
  const auto found = std::find_if(calls.rend() - to, calls.rend() - from, begins);
  return found == calls.rend() - from ? none : static_cast<std::size_t>(calls.rend() - found - 1);
}

// Where a fault lands, as "F:N", the Nth call of its function F: the call
// that AT names in the record of a clean run (see find_call), so that adding
// a call elsewhere moves no fault.
std::string fault_at(const std::string& at) {
  static const std::vector<std::string> calls = lines_of(run_quillet(false, "").calls);
  const std::size_t place = find_call(calls, at);
  EXPECT_LT(place, calls.size()) << at << " is not in the clean run's record";
  const std::string function =
      place < calls.size() ? calls[place].substr(0, calls[place].find('(') + 1) : "(";
  const auto n = std::count_if(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(place) + 1,
                               [&](const std::string& line) { return starts_with(line, function.c_str()); });
  return function.substr(0, function.size() - 1) + ":" + std::to_string(n);
}

struct Outcome {
  const char* name;      // golden/outcomes/<name>.txt
  const char* scenario;  // FAKEGL_SCENARIO; "@" stands for the place of the call AT (see fault_at)
  const char* at;
  bool verbose;
};

// One row per product fault it guards, named in its comment.
const Outcome OUTCOMES[] = {
    // A set-up that asks wrong or gives up on a sound platform.
    {"passes", "", nullptr, false},
    // Stencil asked again on the second attempt, or the run given up without it.
    {"no_stencil", "configs=p:d24", nullptr, false},
    // A run that goes on without any configuration.
    {"no_config", "configs=", nullptr, false},
    // A set-up message missing, on the wrong stream or given once for two attempts.
    {"no_display", "nodisplay", nullptr, false},
    {"initialize_refused", "fail=eglInitialize:1:0x3001;fail=eglInitialize:2:0x3001", nullptr, false},
    // A refused search that prints a message.
    {"search_refused", "fail=eglChooseConfig:1:0x3004", nullptr, false},
    {"pbuffer_refused", "fail=eglCreatePbufferSurface:1:0x3003;fail=eglCreatePbufferSurface:2:0x3003",
     nullptr, false},
    {"context_refused", "fail=eglCreateContext:1:0x3003;fail=eglCreateContext:2:0x3003", nullptr, false},
    {"make_current_refused", "fail=eglMakeCurrent:1:0x3002;fail=eglMakeCurrent:2:0x3002", nullptr, false},
    // An extension matched as a prefix of another; the one behind it missed;
    // the character before a match examined; an empty string read past its end.
    {"extension_as_prefix", "ext=GL_OES_query_matrix_ext", nullptr, false},
    {"extension_after_prefix", "ext=GL_OES_query_matrix_ext+GL_OES_query_matrix", nullptr, false},
    {"extension_inside_word", "ext=XGL_OES_query_matrix+GL_B", nullptr, false},
    {"no_extensions", "ext=", nullptr, false},
    // An error left by the frame set-up that Init does not catch.
    {"pending_before_init", "fail=glClear:1:0x505", nullptr, false},
    // A missed check of the dispatcher after a set (Hint's: its read before
    // Anti-aliasing's set).
    {"read_after_first_set", "fail=@:0x500", "glGetError before glDisable(GL_POINT_SMOOTH)", false},
    // An error of the drawing that the next Status, or an Update (Hint's), does
    // not catch.
    {"first_drawing", "fail=glDrawArrays:1:0x505", nullptr, false},
    {"drawing_of_hint", "fail=@:0x505",
     "glDrawArrays(GL_LINES after glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST)", false},
    // A check_gl that does not end the run (in a set, with the trace of the
    // frames so far, in one verbose run). A check_gl missing from an init or a
    // set shows as a missing error read in every record from there on.
    {"hint_set", "fail=@:0x500", "glHint(GL_POINT_SMOOTH_HINT, GL_DONT_CARE)", true},
    // The run's last set unchecked, or a passed verdict before the last frame.
    {"last_texture_upload", "fail=@:0x500", "last glTexImage2D", false},
    // A record that cannot be allocated, first or last of Init, not ending the
    // run.
    {"first_record_unallocated", "fail=malloc:1:1", nullptr, false},
    {"last_record_unallocated", "fail=@:1", "last malloc", false},
};

void PrintTo(const Outcome& row, std::ostream* out) {
  *out << row.name;
}

class Outcomes : public testing::TestWithParam<Outcome> {};

TEST_P(Outcomes, MatchItsGoldenFile) {
  const Outcome& row = GetParam();
  std::string scenario = row.scenario;
  if (row.at != nullptr) scenario.replace(scenario.find('@'), 1, fault_at(row.at));
  const ProgramResult run = run_quillet(row.verbose, scenario);
  const std::vector<std::string> out = lines_of(run.out);
  int frames = 0;
  std::vector<std::string> gl;
  std::string egl;
  for (const std::string& line : lines_of(run.calls)) {
    frames += starts_with(line, "glDrawArrays(GL_POINTS") ? 1 : 0;
    if (starts_with(line, "gl")) gl.push_back(line);
    if (starts_with(line, "egl")) egl += line + "\n";
  }
  // The last Set phase begins with Hint's set, the only caller of glHint.
  const auto is_hint = [](const std::string& line) { return starts_with(line, "glHint"); };
  const auto last_hint = std::find_if(gl.rbegin(), gl.rend(), is_hint);
  const auto set_phase =
      last_hint == gl.rend() ? gl.end() : std::find_if_not(last_hint, gl.rend(), is_hint).base();
  std::ostringstream got;
  got << "== " << scenario << (row.verbose ? " -v" : "") << "\nexit " << run.exit_status << ", " << frames
      << " frames\n"
      << run.err << "stdout ends:\n";
  for (auto line = out.size() > 6 ? out.end() - 6 : out.begin(); line != out.end(); ++line)
    got << *line << "\n";
  got << "GL calls: " << set_phase - gl.begin() << ", then from the last Set phase on:\n";
  for (auto line = set_phase; line != gl.end(); ++line) got << *line << "\n";
  got << "EGL calls:\n" << egl;
  EXPECT_GOLDEN(std::string(GOLDEN_DIR "/outcomes/") + row.name + ".txt", got.str());
}

// Each row is named, in CTest too, by its name alone (PrintTo above).
INSTANTIATE_TEST_SUITE_P(Rows, Outcomes, testing::ValuesIn(OUTCOMES), testing::PrintToStringParamName());

}  // namespace
