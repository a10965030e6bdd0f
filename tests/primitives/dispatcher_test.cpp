// The driver table and the dispatcher's phases, in this process against the
// recording fake; the run's end on a record that cannot be allocated, as
// death tests (the run leaves through end_run and exit status 0).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fakegl.h"
#include "harness/harness.h"
#include "primitives/cursors.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"
#include "primitives/run_loop.h"
#include "run_capture.h"
#include "run_program.h"

namespace {

class Dispatcher : public testing::Test {
 protected:
  void SetUp() override {
    fake_reset();
    harness_state.verbose_level = 0;
    harness_state.log_file = nullptr;
    record_allocator = std::malloc;
  }
  void TearDown() override {
    dispatch_drivers(DRIVER_OP_END);
    record_allocator = std::malloc;
  }
};

bool is_on_off(std::int32_t id) {
  return id == 1 || id == 5 || id == 9;
}

TEST_F(Dispatcher, TableHoldsThirteenRowsInOrderThenTheTerminator) {
  for (std::int32_t i = 0; i < DRIVER_COUNT; ++i) {
    const DriverRow& row = driver_table[i];
    EXPECT_EQ(row.id, i);
    EXPECT_NE(row.init, nullptr);
    EXPECT_NE(row.set, nullptr);
    EXPECT_NE(row.status, nullptr);
    EXPECT_EQ(row.update, is_on_off(i) ? update_on_off : update_cursors) << "row " << i;
  }
  const DriverRow& end = driver_table[DRIVER_COUNT];
  EXPECT_EQ(end.id, -1);
  EXPECT_EQ(end.init, nullptr);
  EXPECT_EQ(end.data, nullptr);
}

// Init gives every list driver a record and the on/off drivers none; End
// releases them all.
TEST_F(Dispatcher, InitAndEndOwnTheRecords) {
  driver_table[4].enabled = 1;
  driver_table[7].result = 5;
  EXPECT_EQ(dispatch_drivers(DRIVER_OP_INIT), 1);
  for (std::int32_t i = 0; i < DRIVER_COUNT; ++i) {
    EXPECT_EQ(driver_table[i].data == nullptr, is_on_off(i)) << "row " << i;
    EXPECT_EQ(driver_table[i].enabled, 0) << "row " << i;
    EXPECT_EQ(driver_table[i].result, 0) << "row " << i;
  }
  EXPECT_EQ(dispatch_drivers(DRIVER_OP_END), 1);
  for (std::int32_t i = 0; i < DRIVER_COUNT; ++i) EXPECT_EQ(driver_table[i].data, nullptr) << "row " << i;
}

// Update alone, frame after frame: first no row is enabled, then every
// combination of row 0, then row 1 and so on; the last row's wrap ends it.
TEST_F(Dispatcher, EnabledFlagMovesOneRowAtATime) {
  const std::vector<std::int32_t> counts = combination_counts();
  dispatch_drivers(DRIVER_OP_INIT);
  std::vector<std::int32_t> enabled_rows;
  std::int32_t more = 1;
  while (more != 0 && enabled_rows.size() < 10000) {
    std::int32_t enabled = -1;
    std::int32_t how_many = 0;
    for (std::int32_t i = 0; i < DRIVER_COUNT; ++i) {
      if (driver_table[i].enabled != 0) {
        enabled = i;
        ++how_many;
      }
    }
    ASSERT_LE(how_many, 1);
    enabled_rows.push_back(enabled);
    more = dispatch_drivers(DRIVER_OP_UPDATE);
    for (std::int32_t i = 0; i < DRIVER_COUNT; ++i) {
      if (i != enabled) {
        EXPECT_EQ(driver_table[i].result, 1) << "row " << i;
      }
    }
  }
  std::vector<std::int32_t> expected = {-1};
  for (std::int32_t row = 0; row < DRIVER_COUNT; ++row) expected.insert(expected.end(), counts[row], row);
  EXPECT_EQ(enabled_rows, expected);
  EXPECT_EQ(driver_table[DRIVER_COUNT - 1].enabled, 1) << "the last row stays enabled at the end";
}

TEST_F(Dispatcher, StatusEndsItsBlockWithAnEmptyLineAtLevelOne) {
  dispatch_drivers(DRIVER_OP_INIT);
  testing::internal::CaptureStdout();
  dispatch_drivers(DRIVER_OP_STATUS);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  harness_state.verbose_level = 1;
  driver_table[10].enabled = 1;
  testing::internal::CaptureStdout();
  dispatch_drivers(DRIVER_OP_STATUS);
  const std::string block = testing::internal::GetCapturedStdout();
  EXPECT_EQ(block,
            "Hint GL_DONT_CARE.\nAnti-Aliasing off.\nAlpha off.\nBlend off.\nDepth off.\nDither off.\n"
            "Fog off.\nLighting off.\nLogic Op off.\nScissor off.\nShading.\n\tGL_FLAT\nStencil off.\n"
            "Texture off.\n\n");
}

TEST_F(Dispatcher, RunFramesCallsTheFrameFunctionUntilItReturnsZero) {
  static int calls;
  static std::int32_t flags[4];
  calls = 0;
  run_frames([](RunState* state) -> std::int32_t {
    flags[calls] = state->run_flag;
    for (std::int32_t field : state->reserved) EXPECT_EQ(field, 0);
    return ++calls < 3 ? 1 : 0;
  });
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(flags[0], 1);
  EXPECT_EQ(flags[2], 1);
}

TEST_F(Dispatcher, FrameFunctionDoesNothingUnlessTheRunFlagIsOne) {
  RunState state = {0, {0, 0, 0, 0}};
  EXPECT_EQ(run_test_frame(&state), 1);
  EXPECT_TRUE(fake_calls().empty());
}

// Allocations that fail from the nth on.
int allocations_before_failure;
void* failing_allocator(std::size_t size) {
  return allocations_before_failure-- > 0 ? std::malloc(size) : nullptr;
}

std::string calls_path;
void write_calls() {
  std::ofstream out(calls_path);
  for (const std::string& line : fake_calls()) out << line << '\n';
}

// The body of a death test: a verbose run whose allocations fail from the
// (allocations_left + 1)th on, standard output and the call record to files.
void run_with_allocations(const std::string& out_path, int allocations_left) {
  std::freopen(out_path.c_str(), "w", stdout);
  std::atexit(write_calls);
  harness_state.verbose_level = 1;
  allocations_before_failure = allocations_left;
  record_allocator = failing_allocator;
  RunState state = {1, {0, 0, 0, 0}};
  run_test_frame(&state);
}

bool has_call(const std::string& calls, const std::string& prefix) {
  return calls.find("\n" + prefix) != std::string::npos || calls.compare(0, prefix.size(), prefix) == 0;
}

// The nth list driver's record cannot be allocated: the run ends at Init with
// the failed verdict, before any later init and before any frame.
TEST_F(Dispatcher, RecordThatCannotBeAllocatedEndsTheRunAtInit) {
  const struct {
    int allocations_left;
    const char* first_missing;  // a call of the failing driver's init or later
    const char* last_present;   // a call of an init before it, or null
  } cases[] = {
      {0, "glFogxv(", nullptr},
      {3, "glFogxv(", nullptr},
      {4, "glFogxv(", nullptr},
      {5, "glLightModelxv(", "glFogxv(GL_FOG_END"},
      {6, "glTexEnvxv(", "glLightxv(GL_LIGHT7, GL_QUADRATIC_ATTENUATION"},
      {9, "glTexEnvxv(", "glLightxv(GL_LIGHT7, GL_QUADRATIC_ATTENUATION"},
  };
  const std::string dir = make_temp_dir();
  for (const auto& c : cases) {
    const std::string out_path = dir + "/out" + std::to_string(c.allocations_left);
    calls_path = dir + "/calls" + std::to_string(c.allocations_left);
    EXPECT_EXIT(run_with_allocations(out_path, c.allocations_left), testing::ExitedWithCode(0), "");
    EXPECT_EQ(first_difference(read_file(out_path),
                               "quillet failed (driver init).\n\nquillet (fixed point) failed.\n\n"),
              "")
        << c.allocations_left;
    const std::string calls = read_file(calls_path);
    EXPECT_TRUE(has_call(calls, "glClear(")) << c.allocations_left;
    EXPECT_FALSE(has_call(calls, c.first_missing)) << c.allocations_left;
    if (c.last_present != nullptr) {
      EXPECT_TRUE(has_call(calls, c.last_present)) << c.allocations_left;
    }
    EXPECT_FALSE(has_call(calls, "glHint(")) << "no frame after a failed Init";
    EXPECT_FALSE(has_call(calls, "glDrawArrays(")) << "no frame after a failed Init";
    EXPECT_TRUE(has_call(calls, "eglTerminate(")) << "the run leaves through end_run";
  }
}

// There are exactly ten records to allocate; with ten the run passes.
TEST_F(Dispatcher, TenRecordsAreEnough) {
  allocations_before_failure = 10;
  record_allocator = failing_allocator;
  const CapturedRun run = capture_whole_run(0, false);
  EXPECT_EQ(run.out, "quillet (fixed point) passed.\n\n");
  EXPECT_EQ(allocations_before_failure, 0);
}

}  // namespace
