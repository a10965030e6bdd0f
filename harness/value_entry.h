// SPDX-License-Identifier: MIT
// Value lists: static tables of an enumeration value and its printed name,
// ended by the terminator entry (value -1, name "End of List").
#ifndef HARNESS_VALUE_ENTRY_H
#define HARNESS_VALUE_ENTRY_H

#include <cstddef>
#include <cstdint>

enum { VALUE_NAME_SIZE = 40, VALUE_LIST_END = -1 };

struct ValueEntry {
  std::int32_t value;          // enumeration value; -1 only in the terminator
  char name[VALUE_NAME_SIZE];  // symbolic name as status lines print it
};

// The terminator entry that ends every value list.
// Releases of clang-format lay out a braced macro body differently.
// clang-format off
#define VALUE_LIST_TERMINATOR \
  { VALUE_LIST_END, "End of List" }
// clang-format on

// Number of entries of a list literal before its terminator, or -1 when the
// terminator is missing or not last: lets every list be checked at compile time.
template <std::size_t K>
constexpr std::int32_t terminated_length(const ValueEntry (&list)[K]) {
  for (std::size_t i = 0; i + 1 < K; ++i) {
    if (list[i].value == VALUE_LIST_END) {
      return -1;
    }
  }
  return list[K - 1].value == VALUE_LIST_END && K > 1 ? static_cast<std::int32_t>(K - 1) : -1;
}

#endif
