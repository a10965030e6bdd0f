// SPDX-License-Identifier: MIT
// Options, logger and log file of the harness that both programs share.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "harness/harness.h"
#include "run_program.h"

namespace {

const char HELP[] =
    "Options:\n\t-h\t\tPrint this help screen.\n\t-l\t<file>\tCreate a logfile.\n"
    "\t-v\t\tVerbose mode ON.\n\n";

struct Parsed {
  std::int32_t result;
  std::string out;
};

Parsed parse(std::vector<std::string> args) {
  harness_state = HarnessState{};
  args.insert(args.begin(), "prog");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  testing::internal::CaptureStdout();
  const std::int32_t result = parse_options(static_cast<int>(args.size()), argv.data());
  return Parsed{result, testing::internal::GetCapturedStdout()};
}

TEST(Harness, OptionsByteForByte) {
  const std::string dir = make_temp_dir(), too_long = dir + "/" + std::string(79 - dir.size(), 'n');
  ASSERT_LT(dir.size(), 70u);
  const struct {
    std::vector<std::string> args;
    std::int32_t result, verbose;
    std::string out;
  } cases[] = {
      {{}, OPTIONS_GO, 0, ""},
      {{"-v"}, OPTIONS_GO, 1, ""},
      {{"-h", "-v"}, OPTIONS_STOP, 0, HELP},
      {{"-v", "-l", "-x"}, OPTIONS_STOP, 1, "-l (No logfile name).\n\n"},
      {{"-hx"}, OPTIONS_STOP, 0, "-hx (Bad option).\n"},
      {{"-lx"}, OPTIONS_STOP, 0, "-lx (Bad option).\n"},
      {{"-"}, OPTIONS_STOP, 0, "- (Bad option).\n"},
      {{""}, OPTIONS_STOP, 0, " (Bad option).\n"},
      {{std::string(2000, 'q')}, OPTIONS_STOP, 0, std::string(1023, 'q')},  // the logger's 1024 bytes
      {{"-l", "/nonexistent/log"}, OPTIONS_GO, 0, "-l (Bad logfile name).\n\n"},
      {{"-l", too_long}, OPTIONS_GO, 0, "-l (Bad logfile name).\n\n"},  // 80 characters
  };
  for (const auto& c : cases) {
    const Parsed got = parse(c.args);
    EXPECT_EQ(got.result, c.result) << got.out;
    EXPECT_EQ(harness_state.verbose_level, c.verbose) << got.out;
    EXPECT_EQ(got.out, c.out);
  }
  EXPECT_NE(access(too_long.c_str(), F_OK), 0);
  EXPECT_NE(access(too_long.substr(0, 79).c_str(), F_OK), 0);  // nor under a shortened name
}

// A later -l replaces the first; each name's file is created at once, and the
// last one receives every line of the shown levels from the banner on.
TEST(Harness, LogFileFromTheBannerOn) {
  const std::string dir = make_temp_dir(), first = dir + "/first";
  const std::string last = dir + "/" + std::string(78 - dir.size(), 'n');  // 79 characters fit
  const Parsed got = parse({"-l", first, "-l", last});
  ASSERT_EQ(got.result, OPTIONS_GO);
  EXPECT_EQ(got.out, "Logfile " + first + " created.\n\nLogfile " + last + " created.\n\n");
  open_log_file();
  testing::internal::CaptureStdout();
  print_banner("Title.\n");
  log_message(1, "hidden\n");
  log_message(0, "shown %d\n", 1);
  const std::string out = testing::internal::GetCapturedStdout();
  close_log_file();
  EXPECT_EQ(out, "Title.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nshown 1\n");
  EXPECT_EQ(read_file(last), out);
  EXPECT_EQ(read_file(first), "");
}

}  // namespace
