// Value lists: static tables of an enumeration value and its printed name,
// ended by the terminator entry (value -1, name "End of List").
#ifndef HARNESS_VALUE_ENTRY_H
#define HARNESS_VALUE_ENTRY_H

#include <cstdint>

enum { VALUE_NAME_SIZE = 40, VALUE_LIST_END = -1 };

struct ValueEntry {
  std::int32_t value;          // enumeration value; -1 only in the terminator
  char name[VALUE_NAME_SIZE];  // symbolic name as status lines print it
};

// The terminator entry that ends every value list.
#define VALUE_LIST_TERMINATOR \
  { VALUE_LIST_END, "End of List" }

#endif
