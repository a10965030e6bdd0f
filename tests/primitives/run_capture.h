// Helpers of the quillet_cl tests: a whole run against the recording fake,
// with its standard output cut into per-frame status blocks and its call
// record cut into per-frame call lists.
#ifndef TESTS_PRIMITIVES_RUN_CAPTURE_H
#define TESTS_PRIMITIVES_RUN_CAPTURE_H

#include <cstdint>
#include <string>
#include <vector>

struct CapturedRun {
  std::string out;                 // standard output of run_test_frame
  std::vector<std::string> calls;  // the fake's record
};

// Runs run_test_frame in this process against a freshly reset fake, which
// records GL calls when `record` is set.
CapturedRun capture_whole_run(std::int32_t verbose_level, bool record = true);

// One verbose, recorded whole run, made once per test program.
const CapturedRun& verbose_run();

// The status blocks of the frames, each without its closing empty line; what
// follows the last block is stored in tail.
std::vector<std::string> split_status_blocks(const std::string& out, std::string* tail);

struct FrameCalls {
  std::vector<std::string> sets;     // the Set phase: every driver's calls
  std::vector<std::string> drawing;  // draw_primitives
};

// The calls before the first frame (frame set-up and Init), then per frame.
struct SplitRecord {
  std::vector<std::string> prelude;
  std::vector<FrameCalls> frames;
};
SplitRecord split_record(const std::vector<std::string>& calls);

// Combinations of each row of the driver table, counted by running the row's
// own init and update until its cursors wrap.
std::vector<std::int32_t> combination_counts();

// Frame number (1 = the first frame, no driver enabled) of combination
// `combination` (1-based) of the row.
std::int32_t frame_of(std::int32_t row, std::int32_t combination);

// "" when the texts are equal; otherwise where they first differ, with a
// little context, so that failures on megabyte outputs stay readable.
std::string first_difference(const std::string& got, const std::string& expected);

// Lines of a text file, without their newlines.
std::vector<std::string> read_lines(const std::string& path);

#endif
