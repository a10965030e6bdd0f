// quillet_cl built against the recording fake, run as a whole program. The
// expectations are golden files (REGENERATE_GOLDEN=1 rewrites them):
// - run_start.txt: the GL calls of the frame set-up, Init and the first frame;
// - run_summary.txt: every distinct call and output line of a verbose run, in
//   order of first appearance with its count, so that each entry of each value
//   list is seen reaching GL with its own value and each status line with its
//   count; its last line is a digest of the whole call record and output,
//   which pins the order of all 5452 frames;
// - outcomes.txt: for each scenario of the table below (set-up failures,
//   extension strings, GL errors and allocation failures injected as "the Nth
//   call of F fails"), the exit status, standard error, the end of standard
//   output, how many frames and GL calls the run made and its EGL calls.
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
  EXPECT_EQ(golden_diff(GOLDEN_DIR "/run_start.txt", start), "");

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
  EXPECT_EQ(golden_diff(GOLDEN_DIR "/run_summary.txt", summary.str()), "");

  // The log file holds all of it but the frame count.
  const std::string count_line = "\n5452 Combinations.\n";
  ASSERT_NE(out.find(count_line), std::string::npos);
  EXPECT_EQ(run.log, out.erase(out.find(count_line), count_line.size()));
}

struct Scenario {
  const char* text;
  bool verbose;
};

// One row per distinct outcome; the order of the GL calls in a run is in the
// summary above, so a fault named "the Nth call of F" lands where it says.
const Scenario SCENARIOS[] = {
    {"", false},               // passes, the set-up with stencil
    {"configs=p:d24", false},  // no stencil: the second attempt does without
    {"configs=", false},       // no configuration at all
    {"nodisplay", false},      // each set-up message, on both attempts
    {"fail=eglInitialize:1:0x3001;fail=eglInitialize:2:0x3001", false},
    {"fail=eglChooseConfig:1:0x3004", false},  // a refused search fails quietly
    {"fail=eglCreatePbufferSurface:1:0x3003;fail=eglCreatePbufferSurface:2:0x3003", false},
    {"fail=eglCreateContext:1:0x3003;fail=eglCreateContext:2:0x3003", false},
    {"fail=eglMakeCurrent:1:0x3002;fail=eglMakeCurrent:2:0x3002", false},
    {"ext=GL_OES_query_matrix_ext", false},  // the extension only as a prefix: not found
    {"ext=GL_OES_query_matrix_ext+GL_OES_query_matrix", false},
    {"ext=XGL_OES_query_matrix+GL_B", false},
    {"ext=", false},
    {"fail=glClear:1:0x505", false},        // pending after the frame set-up: Init finds it
    {"fail=glGetError:31:0x500", false},    // the dispatcher's check after the first set
    {"fail=glDrawArrays:1:0x505", false},   // the first frame's drawing: the next Status
    {"fail=glDrawArrays:17:0x505", false},  // a drawing of Hint's frames: its Update
    {"fail=glFogxv:2:0x502", false},        // the check_gl of each init with GL calls
    {"fail=glLightxv:80:0x502", false},
    {"fail=glTexEnvxv:1:0x502", false},
    {"fail=glHint:1:0x500", true},  // the check_gl of each set, in the first frame
    {"fail=glDisable:1:0x500", false},
    {"fail=glDisable:3:0x500", false},
    {"fail=glDisable:4:0x500", false},
    {"fail=glDisable:5:0x500", false},
    {"fail=glDisable:6:0x500", false},
    {"fail=glDisable:7:0x500", false},
    {"fail=glDisable:8:0x500", false},
    {"fail=glDisable:9:0x500", false},
    {"fail=glDisable:10:0x500", false},
    {"fail=glShadeModel:1:0x500", false},
    {"fail=glDisable:11:0x500", false},
    {"fail=glDisable:12:0x500", false},
    {"fail=glTexImage2D:3600:0x500", false},  // Texture's last frame, the run's last set
    {"fail=malloc:1:1", false},               // the first and the last record of Init
    {"fail=malloc:10:1", false},
    {"fail=malloc:11:1", false},  // there is no eleventh
};

TEST(Quillet, OutcomesOfTheScenarios) {
  std::ostringstream all;
  std::string first_egl;
  for (const Scenario& s : SCENARIOS) {
    const ProgramResult run = run_quillet(s.verbose, s.text);
    const std::vector<std::string> out = lines_of(run.out);
    int frames = 0, gl_calls = 0;
    std::string egl;
    for (const std::string& line : lines_of(run.calls)) {
      frames += starts_with(line, "glDrawArrays(GL_POINTS") ? 1 : 0;
      gl_calls += starts_with(line, "gl") ? 1 : 0;
      if (!starts_with(line, "gl")) egl += line + "\n";
    }
    all << "== " << s.text << (s.verbose ? " -v" : "") << "\nexit " << run.exit_status << ", " << frames
        << " frames, " << gl_calls << " GL calls\n"
        << run.err << "stdout ends:\n";
    for (auto line = out.size() > 6 ? out.end() - 6 : out.begin(); line != out.end(); ++line)
      all << *line << "\n";
    all << (first_egl.empty() || egl != first_egl ? egl : "EGL calls of the first scenario\n");
    if (first_egl.empty()) first_egl = egl;
  }
  EXPECT_EQ(golden_diff(GOLDEN_DIR "/outcomes.txt", all.str()), "");
}

}  // namespace
