#include "harness/value_entry.h"

std::int32_t value_list_length(const ValueEntry* list) {
  std::int32_t length = 0;
  while (list[length].value != VALUE_LIST_END) {
    ++length;
  }
  return length;
}
