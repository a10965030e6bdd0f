// Enumeration check: the real table, and tables with a mismatching row.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "eglsweep/enum_check.h"
#include "exit_output.h"
#include "harness/harness.h"

namespace {

std::string golden(const std::string& name) {
  std::ifstream in(std::string(BRINDLE_GOLDEN_DIR) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class EnumCheck : public testing::Test {
 protected:
  void SetUp() override { harness_state.verbose_level = 1; }
  void TearDown() override { harness_state.verbose_level = 0; }
};

TEST_F(EnumCheck, RealTablePrintsAll51RowsAndReturns) {
  testing::internal::CaptureStdout();
  check_enumerations();
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string expected = golden("enumeration_check.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(out, expected);
}

TEST_F(EnumCheck, RealTableIsSilentWithoutVerbose) {
  harness_state.verbose_level = 0;
  testing::internal::CaptureStdout();
  check_enumerations();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(EnumCheck, MatchingTableOfItsOwnPrintsEveryRow) {
  const EnumCheckRow table[] = {{"A", 7, 7}, {"NEGATIVE", -1, -1}, {"ZERO", 0, 0}};
  testing::internal::CaptureStdout();
  check_enumeration_rows(table, 3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Enumeration check.\n\tA (7) = 7.\n\tNEGATIVE (-1) = -1.\n\tZERO (0) = 0.\n\n");
}

struct MismatchCase {
  const char* what;
  std::vector<EnumCheckRow> rows;
  std::int32_t verbose;
  std::string out;
};

TEST_F(EnumCheck, FirstMismatchEndsTheRunWithoutALineEnd) {
  const std::vector<MismatchCase> cases = {
      {"first row", {{"A", 1, 2}, {"B", 3, 3}}, 1, "Enumeration check.\n\tA (2) = 1.\nbrindle failed."},
      {"middle row, later rows unprinted",
       {{"A", 1, 1}, {"B", 0x3001, 0x3000}, {"C", 5, 6}, {"D", 7, 7}},
       1,
       "Enumeration check.\n\tA (1) = 1.\n\tB (12288) = 12289.\nbrindle failed."},
      {"last row",
       {{"A", 1, 1}, {"B", -1, 0}},
       1,
       "Enumeration check.\n\tA (1) = 1.\n\tB (0) = -1.\nbrindle failed."},
      {"quiet", {{"A", 1, 1}, {"B", 2, 3}}, 0, "brindle failed."},
  };
  for (const MismatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    harness_state.verbose_level = c.verbose;
    EXPECT_EXIT_OUTPUT(check_enumeration_rows(c.rows.data(), static_cast<std::int32_t>(c.rows.size())), 1,
                       c.out);
  }
}

TEST_F(EnumCheck, VerdictReachesTheLogFile) {
  char path[] = "/tmp/enumcheck.XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  const EnumCheckRow table[] = {{"A", 1, 2}};
  const std::string out = "Enumeration check.\n\tA (2) = 1.\nbrindle failed.";
  EXPECT_EXIT_OUTPUT(
      {
        harness_state.log_file = std::fopen(path, "w");
        check_enumeration_rows(table, 1);
      },
      1, out);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), out);
  std::remove(path);
}

}  // namespace
