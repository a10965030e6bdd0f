// Option parsing, banner and logger of the shared harness.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "harness/harness.h"
#include "run_program.h"

namespace {

const char* const HELP = HELP_TEXT;

struct ParseResult {
  std::int32_t result;
  std::string out;
};

ParseResult parse(std::vector<std::string> args) {
  args.insert(args.begin(), "prog");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  testing::internal::CaptureStdout();
  const std::int32_t result = parse_options(static_cast<int>(args.size()), argv.data());
  return ParseResult{result, testing::internal::GetCapturedStdout()};
}

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

class Harness : public testing::Test {
 protected:
  void SetUp() override { dir_ = make_temp_dir(); }
  void TearDown() override { close_log_file(); }
  std::string dir_;
};

struct OptionCase {
  std::vector<std::string> args;
  std::int32_t result;
  std::int32_t verbose;
  std::string out;
};

TEST_F(Harness, OptionMessagesByteForByte) {
  const std::string long_arg(65536, 'q');
  const std::vector<OptionCase> cases = {
      {{}, OPTIONS_GO, 0, ""},
      {{"-v"}, OPTIONS_GO, 1, ""},
      {{"-h"}, OPTIONS_STOP, 0, HELP},
      {{"-h", "-v"}, OPTIONS_STOP, 0, HELP},
      {{"-v", "-h"}, OPTIONS_STOP, 1, HELP},
      {{"-l"}, OPTIONS_STOP, 0, "-l (No logfile name).\n\n"},
      {{"-l", "-v"}, OPTIONS_STOP, 0, "-l (No logfile name).\n\n"},
      {{"-v", "-l", "-x"}, OPTIONS_STOP, 1, "-l (No logfile name).\n\n"},
      {{"-hx"}, OPTIONS_STOP, 0, "-hx (Bad option).\n"},
      {{"-vv"}, OPTIONS_STOP, 0, "-vv (Bad option).\n"},
      {{"-lx"}, OPTIONS_STOP, 0, "-lx (Bad option).\n"},
      {{"x"}, OPTIONS_STOP, 0, "x (Bad option).\n"},
      {{"-"}, OPTIONS_STOP, 0, "- (Bad option).\n"},
      {{""}, OPTIONS_STOP, 0, " (Bad option).\n"},
      {{"-v", "x", "-h"}, OPTIONS_STOP, 1, "x (Bad option).\n"},
      {{"\xff\xfe"}, OPTIONS_STOP, 0, "\xff\xfe (Bad option).\n"},
      // The logger holds 1023 bytes of a message: a huge option is cut there.
      {{long_arg}, OPTIONS_STOP, 0, std::string(1023, 'q')},
      {{"-l", "/nonexistent-dir/x/log.txt"}, OPTIONS_GO, 0, "-l (Bad logfile name).\n\n"},
      {{"-l", ""}, OPTIONS_GO, 0, "-l (Bad logfile name).\n\n"},
  };
  for (const OptionCase& c : cases) {
    const ParseResult got = parse(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args[0].substr(0, 20);
    EXPECT_EQ(got.result, c.result) << shown;
    EXPECT_EQ(harness_state.verbose_level, c.verbose) << shown;
    EXPECT_EQ(got.out, c.out) << shown;
    EXPECT_EQ(harness_state.log_file, nullptr) << shown;
  }
}

TEST_F(Harness, LogNameCreatesTheFileAndALaterNameReplacesIt) {
  const std::string first = dir_ + "/first.log";
  const std::string second = dir_ + "/second.log";
  const ParseResult got = parse({"-l", first, "-v", "-l", second});
  EXPECT_EQ(got.result, OPTIONS_GO);
  EXPECT_EQ(got.out, "Logfile " + first + " created.\n\nLogfile " + second + " created.\n\n");
  EXPECT_EQ(harness_state.log_requested, 1);
  EXPECT_EQ(std::string(harness_state.log_path), second);
  EXPECT_TRUE(exists(first));
  EXPECT_TRUE(exists(second));
}

TEST_F(Harness, LogNamesAroundThePathLimit) {
  // 79 characters fit the 80-byte path; 80 and more are refused without
  // creating any file under a shortened name.
  const std::string prefix = dir_ + "/";
  for (std::size_t length : {79u, 80u, 200u}) {
    const std::string name =
        prefix + std::string(length - prefix.size(), static_cast<char>('a' + length % 26));
    ASSERT_EQ(name.size(), length);
    const ParseResult got = parse({"-l", name});
    EXPECT_EQ(got.result, OPTIONS_GO);
    if (length < LOG_PATH_SIZE) {
      EXPECT_EQ(got.out, "Logfile " + name + " created.\n\n");
      EXPECT_TRUE(exists(name));
    } else {
      EXPECT_EQ(got.out, "-l (Bad logfile name).\n\n") << length;
      EXPECT_FALSE(exists(name));
      EXPECT_FALSE(exists(name.substr(0, LOG_PATH_SIZE - 1))) << length;
      open_log_file();
      EXPECT_EQ(harness_state.log_file, nullptr) << length;
    }
  }
}

TEST_F(Harness, LogFileHoldsEveryLineFromTheBannerOn) {
  const std::string path = dir_ + "/run.log";
  const ParseResult parsed = parse({"-l", path});
  ASSERT_EQ(parsed.result, OPTIONS_GO);
  open_log_file();
  ASSERT_NE(harness_state.log_file, nullptr);
  testing::internal::CaptureStdout();
  print_banner("EGL Brindle.\n");
  log_message(1, "hidden %d\n", 1);
  log_message(0, "shown %s\n", "text");
  const std::string out = testing::internal::GetCapturedStdout();
  close_log_file();
  EXPECT_EQ(out, "EGL Brindle.\nVersion KESTRAL_VERSION, KESTRAL_DATE\n\nshown text\n");
  EXPECT_EQ(read_file(path), out);
}

TEST_F(Harness, VerboseMessagesReachStdoutAndFile) {
  const std::string path = dir_ + "/verbose.log";
  ASSERT_EQ(parse({"-v", "-l", path}).result, OPTIONS_GO);
  open_log_file();
  testing::internal::CaptureStdout();
  log_message(1, "trace\n");
  log_message(0, "verdict\n");
  const std::string out = testing::internal::GetCapturedStdout();
  close_log_file();
  EXPECT_EQ(out, "trace\nverdict\n");
  EXPECT_EQ(read_file(path), out);
}

TEST_F(Harness, LongMessageIsCutAtTheBufferSize) {
  const std::string path = dir_ + "/long.log";
  ASSERT_EQ(parse({"-l", path}).result, OPTIONS_GO);
  open_log_file();
  const std::string text(5000, 'a');
  testing::internal::CaptureStdout();
  log_message(0, "%s", text.c_str());
  const std::string out = testing::internal::GetCapturedStdout();
  close_log_file();
  EXPECT_EQ(out, std::string(LOG_MESSAGE_SIZE - 1, 'a'));
  EXPECT_EQ(read_file(path), out);
}

}  // namespace
