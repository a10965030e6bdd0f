#include "run_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "fakegl.h"
#include "harness/harness.h"
#include "primitives/dispatcher.h"
#include "primitives/run_loop.h"

CapturedRun capture_whole_run(std::int32_t verbose_level, bool record) {
  fake_reset();
  fake_scenario().record_gl = record;
  harness_state.verbose_level = verbose_level;
  harness_state.log_file = nullptr;
  testing::internal::CaptureStdout();
  RunState state = {1, {0, 0, 0, 0}};
  run_test_frame(&state);
  CapturedRun run;
  run.out = testing::internal::GetCapturedStdout();
  run.calls = fake_calls();
  fake_reset();
  return run;
}

const CapturedRun& verbose_run() {
  static const CapturedRun run = capture_whole_run(1);
  return run;
}

std::vector<std::string> split_status_blocks(const std::string& out, std::string* tail) {
  std::vector<std::string> blocks;
  std::string block;
  std::size_t at = 0;
  while (at < out.size()) {
    const std::size_t end = out.find('\n', at);
    const std::size_t next = end == std::string::npos ? out.size() : end + 1;
    const std::string line = out.substr(at, next - at);
    if (line == "\n") {
      if (block.empty()) break;
      blocks.push_back(block);
      block.clear();
    } else {
      block += line;
    }
    at = next;
  }
  *tail = block + out.substr(at);
  return blocks;
}

namespace {

bool starts_with(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

SplitRecord split_record(const std::vector<std::string>& calls) {
  SplitRecord split;
  std::size_t i = 0;
  while (i < calls.size() && !starts_with(calls[i], "glHint(")) {
    split.prelude.push_back(calls[i++]);
  }
  FrameCalls frame;
  bool drawing = false;
  for (; i < calls.size(); ++i) {
    if (calls[i] == "glEnableClientState(GL_COLOR_ARRAY)") drawing = true;
    (drawing ? frame.drawing : frame.sets).push_back(calls[i]);
    if (calls[i] == "glDisableClientState(GL_TEXTURE_COORD_ARRAY)") {
      split.frames.push_back(frame);
      frame = FrameCalls();
      drawing = false;
    }
  }
  return split;
}

std::vector<std::int32_t> combination_counts() {
  std::vector<std::int32_t> counts;
  for (const DriverRow* row = driver_table; row->id != -1; ++row) {
    void* data = nullptr;
    row->init(&data);
    std::int32_t count = 1;
    while (row->update(data) == 0 && count < 1000000) {
      ++count;
    }
    std::free(data);
    counts.push_back(count);
  }
  fake_reset();
  return counts;
}

std::int32_t frame_of(std::int32_t row, std::int32_t combination) {
  const std::vector<std::int32_t> counts = combination_counts();
  std::int32_t frame = 1;
  for (std::int32_t r = 0; r < row; ++r) {
    frame += counts[r];
  }
  return frame + combination;
}

std::vector<std::string> read_lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    lines.push_back(line);
  }
  return lines;
}

std::string first_difference(const std::string& got, const std::string& expected) {
  if (got == expected) return "";
  std::size_t at = 0;
  while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
  const std::size_t from = at < 80 ? 0 : at - 80;
  return "differ at byte " + std::to_string(at) + " (sizes " + std::to_string(got.size()) + " and " +
         std::to_string(expected.size()) + ")\n got: ..." + got.substr(from, 160) + "\nwant: ..." +
         expected.substr(from, 160);
}
