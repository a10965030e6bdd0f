// SPDX-License-Identifier: MIT
#include "primitives/cursors.h"

#include <cstdlib>

namespace {

void point_at(ListCursors* record, std::int32_t k, std::int32_t index) {
  record->index[k] = index;
  record->value[k] = record->list[k][index].value;
  record->name[k] = record->list[k][index].name;
}

}  // namespace

void reset_cursors(ListCursors* record, const ValueEntry* const* lists, std::int32_t count) {
  record->count = count;
  for (std::int32_t k = 0; k < count; ++k) {
    record->list[k] = lists[k];
    point_at(record, k, 0);
  }
}

std::int32_t advance_cursors(ListCursors* record) {
  std::int32_t carry = 1;
  for (std::int32_t k = record->count - 1; k >= 0 && carry == 1; --k) {
    const std::int32_t next = record->index[k] + 1;
    if (record->list[k][next].value != VALUE_LIST_END) {
      point_at(record, k, next);
      carry = 0;
    } else {
      point_at(record, k, 0);
    }
  }
  return carry;
}

namespace quillet {

ListCursors* allocate_cursors(void** data, const ValueEntry* const* lists, std::int32_t count) {
  ListCursors* record = static_cast<ListCursors*>(std::malloc(sizeof(ListCursors)));
  *data = record;
  if (record != nullptr) {
    reset_cursors(record, lists, count);
  }
  return record;
}

std::int32_t update_cursors(void* data) {
  return advance_cursors(static_cast<ListCursors*>(data));
}

}  // namespace quillet
