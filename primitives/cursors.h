// SPDX-License-Identifier: MIT
// Value-list cursors of the list drivers: one cursor per list, advanced like
// an odometer (last list fastest), and the heap record that holds them.
#ifndef PRIMITIVES_CURSORS_H
#define PRIMITIVES_CURSORS_H

#include <GLES/gl.h>

#include <cstddef>
#include <cstdint>

#include "harness/value_entry.h"

// The most lists a driver walks (Texture has eight).
enum { MAX_CURSOR_LISTS = 8 };

// The record of a list driver. Columns 0 to count-1 are in use; column k is
// the cursor of list k: entry index[k] of list[k], whose value and name are
// copied into value[k] and name[k]. index[k] never designates the terminator.
struct ListCursors {
  std::int32_t count;
  std::int32_t index[MAX_CURSOR_LISTS];
  std::int32_t value[MAX_CURSOR_LISTS];
  const char* name[MAX_CURSOR_LISTS];
  const ValueEntry* list[MAX_CURSOR_LISTS];
};

// Points every cursor at the first entry of its list; lists[0..count-1].
void reset_cursors(ListCursors* record, const ValueEntry* const* lists, std::int32_t count);

// Advances the cursors by one combination, last list first; 1 when they have
// wrapped back to the first combination, else 0.
std::int32_t advance_cursors(ListCursors* record);

namespace quillet {

// The comparison functions tried by Alpha, Depth and Stencil, each with a
// cursor of its own.
inline constexpr ValueEntry COMPARISON_LIST[] = {
    {GL_EQUAL, "GL_EQUAL"},   {GL_NOTEQUAL, "GL_NOTEQUAL"}, {GL_LESS, "GL_LESS"},
    {GL_LEQUAL, "GL_LEQUAL"}, {GL_GREATER, "GL_GREATER"},   {GL_GEQUAL, "GL_GEQUAL"},
    {GL_ALWAYS, "GL_ALWAYS"}, {GL_NEVER, "GL_NEVER"},       VALUE_LIST_TERMINATOR};
static_assert(terminated_length(COMPARISON_LIST) == 8, "comparison list: 8 entries");

// Allocates a ListCursors record, stores it in *data and resets it to the
// lists; returns the record, or null (data null too) when allocation failed.
ListCursors* allocate_cursors(void** data, const ValueEntry* const* lists, std::int32_t count);

// The init step every list driver shares: a record for its static list set;
// 1 when it is in place, 0 when it could not be allocated.
template <std::size_t N>
std::int32_t init_list_record(void** data, const ValueEntry* const (&lists)[N]) {
  static_assert(N >= 1 && N <= MAX_CURSOR_LISTS, "a record holds 1 to 8 lists");
  return allocate_cursors(data, lists, static_cast<std::int32_t>(N)) != nullptr ? 1 : 0;
}

// The record of a list driver, from its row's data field.
inline const ListCursors* cursors(void* data) {
  return static_cast<const ListCursors*>(data);
}

// The update operation shared by every list driver.
std::int32_t update_cursors(void* data);

}  // namespace quillet

#endif
