// Value-list cursors: odometer order, wrapping, and the records of the real
// list drivers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fakegl.h"
#include "primitives/cursors.h"
#include "primitives/dispatcher.h"
#include "primitives/drivers.h"
#include "run_capture.h"

namespace {

// Entries of a value list before its terminator.
std::int32_t value_list_length(const ValueEntry* list) {
  std::int32_t length = 0;
  while (list[length].value != VALUE_LIST_END) ++length;
  return length;
}

// The current names of a record, joined by ", ".
std::string names(const ListCursors* record) {
  std::string text;
  for (std::int32_t k = 0; k < record->count; ++k) {
    text += (k == 0 ? "" : ", ") + std::string(record->name[k]);
  }
  return text;
}

// Checks the invariant: value and name are those of entry index of the list,
// and the index never designates the terminator.
void expect_consistent(const ListCursors* record) {
  for (std::int32_t k = 0; k < record->count; ++k) {
    const ValueEntry& entry = record->list[k][record->index[k]];
    EXPECT_NE(entry.value, VALUE_LIST_END) << "cursor " << k;
    EXPECT_EQ(record->value[k], entry.value) << "cursor " << k;
    EXPECT_EQ(record->name[k], entry.name) << "cursor " << k;
  }
}

struct Walk {
  std::vector<std::string> combinations;  // names after init, then after each advance
  std::vector<std::int32_t> results;      // result of each advance
};

// Advances a record `calls` times, collecting what it shows.
Walk walk(ListCursors* record, int calls) {
  Walk got;
  got.combinations.push_back(names(record));
  for (int i = 0; i < calls; ++i) {
    got.results.push_back(advance_cursors(record));
    expect_consistent(record);
    got.combinations.push_back(names(record));
  }
  return got;
}

// A driver row's record, made by its own init.
struct RowRecord {
  explicit RowRecord(std::int32_t row) {
    fake_reset();
    driver_table[row].init(&data);
  }
  ~RowRecord() { std::free(data); }
  ListCursors* record() const { return static_cast<ListCursors*>(data); }
  void* data = nullptr;
};

TEST(Cursors, HintWalksLikeAnOdometerLastListFastest) {
  RowRecord hint(0);
  const Walk got = walk(hint.record(), 8);
  const std::vector<std::string> expected = {
      "GL_POINT_SMOOTH_HINT, GL_NICEST",
      "GL_POINT_SMOOTH_HINT, GL_FASTEST",
      "GL_LINE_SMOOTH_HINT, GL_NICEST",
      "GL_LINE_SMOOTH_HINT, GL_FASTEST",
      "GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST",
      "GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST",
      "GL_FOG_HINT, GL_NICEST",
      "GL_FOG_HINT, GL_FASTEST",
      "GL_POINT_SMOOTH_HINT, GL_NICEST",
  };
  EXPECT_EQ(got.combinations, expected);
  EXPECT_EQ(got.results, (std::vector<std::int32_t>{0, 0, 0, 0, 0, 0, 0, 1}));
}

constexpr ValueEntry ONE_ENTRY[] = {{7, "SEVEN"}, VALUE_LIST_TERMINATOR};
constexpr ValueEntry TWO_ENTRIES[] = {{1, "A"}, {2, "B"}, VALUE_LIST_TERMINATOR};
constexpr ValueEntry ZEROS[] = {{0, "ZERO"}, {0, "ZERO"}, {5, "FIVE"}, VALUE_LIST_TERMINATOR};

struct TableCase {
  const char* what;
  std::vector<const ValueEntry*> lists;
  int calls;
  std::vector<std::string> combinations;
  std::vector<std::int32_t> results;
};

TEST(Cursors, TableOfSmallListSets) {
  const std::vector<TableCase> cases = {
      {"one one-entry list wraps at every call",
       {ONE_ENTRY},
       3,
       {"SEVEN", "SEVEN", "SEVEN", "SEVEN"},
       {1, 1, 1}},
      {"a one-entry list last wraps and carries at every call",
       {TWO_ENTRIES, ONE_ENTRY},
       3,
       {"A, SEVEN", "B, SEVEN", "A, SEVEN", "B, SEVEN"},
       {0, 1, 0}},
      {"a one-entry list first is reached only by the wrap",
       {ONE_ENTRY, TWO_ENTRIES},
       2,
       {"SEVEN, A", "SEVEN, B", "SEVEN, A"},
       {0, 1}},
      {"entries of value 0 and identical neighbours are entries of their own",
       {ZEROS},
       3,
       {"ZERO", "ZERO", "FIVE", "ZERO"},
       {0, 0, 1}},
      {"the same list twice, two independent cursors",
       {TWO_ENTRIES, TWO_ENTRIES},
       4,
       {"A, A", "A, B", "B, A", "B, B", "A, A"},
       {0, 0, 0, 1}},
  };
  for (const TableCase& c : cases) {
    ListCursors record = {};
    reset_cursors(&record, c.lists.data(), static_cast<std::int32_t>(c.lists.size()));
    EXPECT_EQ(record.count, static_cast<std::int32_t>(c.lists.size())) << c.what;
    const Walk got = walk(&record, c.calls);
    EXPECT_EQ(got.combinations, c.combinations) << c.what;
    EXPECT_EQ(got.results, c.results) << c.what;
  }
}

TEST(Cursors, ZeroValuedEntriesOfTheDriversAreWalked) {
  RowRecord lighting(7);
  EXPECT_EQ(walk(lighting.record(), 4).combinations,
            (std::vector<std::string>{"GL_TRUE, GL_TRUE", "GL_TRUE, GL_FALSE", "GL_FALSE, GL_TRUE",
                                      "GL_FALSE, GL_FALSE", "GL_TRUE, GL_TRUE"}));
  RowRecord blend(3);
  EXPECT_EQ(blend.record()->value[0], 0);
  EXPECT_EQ(blend.record()->value[1], 0);
  const Walk got = walk(blend.record(), 8);
  EXPECT_EQ(got.combinations[1], "GL_ZERO, GL_ONE");
  EXPECT_EQ(got.combinations[8], "GL_ONE, GL_ZERO");
}

TEST(Cursors, ShadingWrapsAtEveryCall) {
  RowRecord shading(10);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(driver_table[10].update(shading.data), 1);
    EXPECT_STREQ(shading.record()->name[0], "GL_FLAT");
  }
}

TEST(Cursors, IdenticalTexelTypesAreFiveCombinations) {
  RowRecord texture(12);
  ListCursors* record = texture.record();
  for (std::int32_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(advance_cursors(record), 0);
    EXPECT_EQ(record->index[7], i);
    EXPECT_EQ(record->index[6], 0) << "the format waits for the fifth call";
  }
  EXPECT_EQ(advance_cursors(record), 0);
  EXPECT_EQ(record->index[7], 0);
  EXPECT_EQ(record->index[6], 1);
  EXPECT_STREQ(record->name[6], "GL_RGB");
}

TEST(Cursors, StencilOperationCursorsMoveIndependently) {
  RowRecord stencil(11);
  ListCursors* record = stencil.record();
  EXPECT_EQ(record->list[1], record->list[2]);
  EXPECT_EQ(record->list[2], record->list[3]);
  for (int i = 0; i < 7; ++i) advance_cursors(record);
  EXPECT_EQ(names(record), "GL_EQUAL, GL_KEEP, GL_REPLACE, GL_REPLACE");
  for (int i = 0; i < 216 - 7; ++i) advance_cursors(record);
  EXPECT_EQ(names(record), "GL_NOTEQUAL, GL_KEEP, GL_KEEP, GL_KEEP");
}

// After its last combination every list driver's record is back at index 0,
// with the first value and name of each list, and its last advance said so.
TEST(Cursors, EveryListDriverIsBackAtItsFirstCombinationAfterTheLast) {
  const std::vector<std::int32_t> counts = combination_counts();
  for (std::int32_t row = 0; row < DRIVER_COUNT; ++row) {
    RowRecord driver(row);
    ListCursors* record = driver.record();
    if (record == nullptr) continue;  // on/off drivers have none
    std::int32_t product = 1;
    for (std::int32_t k = 0; k < record->count; ++k) product *= value_list_length(record->list[k]);
    EXPECT_EQ(product, counts[row]) << "row " << row;
    for (std::int32_t i = 1; i < counts[row]; ++i) {
      ASSERT_EQ(advance_cursors(record), 0) << "row " << row << " call " << i;
    }
    EXPECT_EQ(advance_cursors(record), 1) << "row " << row;
    for (std::int32_t k = 0; k < record->count; ++k) {
      EXPECT_EQ(record->index[k], 0) << "row " << row << " cursor " << k;
      EXPECT_EQ(record->value[k], record->list[k][0].value) << "row " << row << " cursor " << k;
      EXPECT_EQ(record->name[k], record->list[k][0].name) << "row " << row << " cursor " << k;
    }
  }
}

TEST(Cursors, CombinationCountsOfTheDriverTable) {
  const std::vector<std::int32_t> counts = combination_counts();
  EXPECT_EQ(counts, (std::vector<std::int32_t>{8, 1, 8, 72, 8, 1, 3, 4, 16, 1, 1, 1728, 3600}));
  std::int32_t frames = 1;
  for (std::int32_t count : counts) frames += count;
  EXPECT_EQ(frames, 5452);
}

TEST(Cursors, ComparisonListIsSharedButNotItsCursor) {
  RowRecord alpha(2);
  RowRecord depth(4);
  EXPECT_EQ(alpha.record()->list[0], COMPARISON_LIST);
  EXPECT_EQ(depth.record()->list[0], COMPARISON_LIST);
  advance_cursors(alpha.record());
  EXPECT_STREQ(alpha.record()->name[0], "GL_NOTEQUAL");
  EXPECT_STREQ(depth.record()->name[0], "GL_EQUAL");
}

TEST(Cursors, ListLiteralsNeedTheirTerminatorLast) {
  constexpr ValueEntry missing[] = {{1, "A"}, {2, "B"}};
  constexpr ValueEntry early[] = {{1, "A"}, VALUE_LIST_TERMINATOR, {2, "B"}};
  constexpr ValueEntry empty[] = {VALUE_LIST_TERMINATOR};
  static_assert(terminated_length(missing) == -1, "no terminator");
  static_assert(terminated_length(early) == -1, "terminator not last");
  static_assert(terminated_length(empty) == -1, "no entry");
  static_assert(terminated_length(TWO_ENTRIES) == 2, "two entries");
  EXPECT_STREQ(COMPARISON_LIST[8].name, "End of List");
}

}  // namespace
