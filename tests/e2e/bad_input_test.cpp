// Both programs facing bad input: log files that cannot be written, standard
// output that is full or closed, odd option vectors. Built against the
// recording fake, so the runs are quick and the platform plays no part.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

const char QUILLET_VERDICT[] = "quillet (fixed point) passed.\n\n";

std::string without_frame_count(std::string text) {
  const std::string line = "\n5452 Combinations.\n";
  const std::size_t at = text.find(line);
  if (at != std::string::npos) text.erase(at, line.size());
  return text;
}

bool ends_with(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class BadInput : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = make_temp_dir();
    reference_ = run_program(QUILLET_CL_FAKE, {"-v"});
    ASSERT_EQ(reference_.exit_status, 0);
    ASSERT_TRUE(ends_with(reference_.out, QUILLET_VERDICT)) << reference_.out.substr(0, 400);
  }
  std::string dir_;
  ProgramResult reference_;
};

TEST_F(BadInput, FullDiskLogFileChangesNothingOnStdout) {
  const ProgramResult got = run_program(QUILLET_CL_FAKE, {"-v", "-l", "/dev/full"});
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, "Logfile /dev/full created.\n\n" + reference_.out);
}

struct RefusedLog {
  const char* what;
  std::string path;
};

TEST_F(BadInput, RefusedLogPathsLeaveTheRunOnStdoutOnly) {
  const std::vector<RefusedLog> cases = {
      {"a directory", dir_},
      {"a missing directory", dir_ + "/missing/run.log"},
      {"80 characters", dir_ + "/" + std::string(80 - dir_.size() - 1, 'e')},
      {"64 KiB", std::string(65536, 'k')},
  };
  for (const RefusedLog& c : cases) {
    const ProgramResult got = run_program(QUILLET_CL_FAKE, {"-v", "-l", c.path});
    EXPECT_EQ(got.exit_status, 0) << c.what;
    EXPECT_EQ(got.out, "-l (Bad logfile name).\n\n" + reference_.out) << c.what;
  }
  struct stat info;
  EXPECT_NE(stat((dir_ + "/" + std::string(80 - dir_.size() - 1, 'e')).c_str(), &info), 0);
  EXPECT_NE(stat((dir_ + "/" + std::string(79 - dir_.size() - 1, 'e')).c_str(), &info), 0);
}

TEST_F(BadInput, LogPathOfSeventyNineCharactersHoldsTheWholeRun) {
  const std::string path = dir_ + "/" + std::string(79 - dir_.size() - 1, 'n');
  ASSERT_EQ(path.size(), 79u);
  const ProgramResult got = run_program(QUILLET_CL_FAKE, {"-v", "-l", path});
  EXPECT_EQ(got.out, "Logfile " + path + " created.\n\n" + reference_.out);
  EXPECT_EQ(read_file(path), without_frame_count(reference_.out));
}

TEST_F(BadInput, ReadOnlyLogFileIsRefusedAndKeepsItsContents) {
  ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
  const std::string path = dir_ + "/readonly.log";
  {
    FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("keep me\n", file);
    std::fclose(file);
  }
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const ProgramResult got =
      run_program_io(QUILLET_CL_FAKE, {"-v", "-l", path}, ProgramEnv(), ProgramIo{"", false, true});
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(got.out, "-l (Bad logfile name).\n\n" + reference_.out);
  EXPECT_EQ(read_file(path), "keep me\n");
}

TEST_F(BadInput, TenLogOptionsKeepTheLastName) {
  std::vector<std::string> args = {"-v"};
  std::string expected;
  for (int i = 0; i < 10; ++i) {
    const std::string path = dir_ + "/log" + std::to_string(i);
    args.push_back("-l");
    args.push_back(path);
    expected += "Logfile " + path + " created.\n\n";
  }
  const ProgramResult got = run_program(QUILLET_CL_FAKE, args);
  EXPECT_EQ(got.out, expected + reference_.out);
  EXPECT_EQ(read_file(dir_ + "/log9"), without_frame_count(reference_.out));
  EXPECT_EQ(read_file(dir_ + "/log0"), "");
}

TEST_F(BadInput, FullStandardOutputStillCompletesTheLog) {
  const std::string log = dir_ + "/run.log";
  const ProgramResult got =
      run_program_io(QUILLET_CL_FAKE, {"-v", "-l", log}, ProgramEnv(), ProgramIo{"/dev/full", false, false});
  EXPECT_EQ(got.exit_status, 0);
  EXPECT_EQ(read_file(log), without_frame_count(reference_.out));
}

TEST_F(BadInput, ClosedStandardOutputEndsTheRunWithoutTouchingTheLog) {
  // Like any filter, the program is ended by SIGPIPE at its first write to a
  // pipe nobody reads; the log file was only created, never half written.
  const std::string log = dir_ + "/run.log";
  const ProgramResult got =
      run_program_io(QUILLET_CL_FAKE, {"-v", "-l", log}, ProgramEnv(), ProgramIo{"", true, false});
  EXPECT_EQ(got.exit_status, 128 + SIGPIPE);
  EXPECT_EQ(read_file(log), "");
}

}  // namespace

namespace {

// brindle under the same faults: the verdict and the exit status do not
// depend on whether standard output or the log file can be written.
TEST(BrindleBadInput, UnwritableOutputsKeepTheVerdictAndExitStatus) {
  const std::string dir = make_temp_dir();
  const ProgramResult reference = run_program(BRINDLE_FAKE, {"-v"});
  ASSERT_EQ(reference.exit_status, 0);
  ASSERT_TRUE(ends_with(reference.out, "brindle passed.\n\n"));

  const ProgramResult full_log = run_program(BRINDLE_FAKE, {"-v", "-l", "/dev/full"});
  EXPECT_EQ(full_log.exit_status, 0);
  EXPECT_EQ(full_log.out, "Logfile /dev/full created.\n\n" + reference.out);

  const std::string log = dir + "/brindle.log";
  const ProgramResult full_stdout =
      run_program_io(BRINDLE_FAKE, {"-v", "-l", log}, ProgramEnv(), ProgramIo{"/dev/full", false, false});
  EXPECT_EQ(full_stdout.exit_status, 0);
  EXPECT_EQ(read_file(log), reference.out);

  const ProgramResult closed =
      run_program_io(BRINDLE_FAKE, {"-v", "-l", log}, ProgramEnv(), ProgramIo{"", true, false});
  EXPECT_EQ(closed.exit_status, 128 + SIGPIPE);

  const ProgramResult refused = run_program(BRINDLE_FAKE, {"-v", "-l", dir});
  EXPECT_EQ(refused.exit_status, 0);
  EXPECT_EQ(refused.out, "-l (Bad logfile name).\n\n" + reference.out);
}

}  // namespace
