// Enumeration check of brindle: before any EGL call, the EGL names the
// program is built against must carry the numbers the EGL standard gives them.
#ifndef EGLSWEEP_ENUM_CHECK_H
#define EGLSWEEP_ENUM_CHECK_H

#include <cstdint>

struct EnumCheckRow {
  const char* name;       // the EGL name as printed in the trace
  std::int32_t value;     // its number in the EGL header of the build
  std::int32_t expected;  // the number the table fixes for it
};

enum { ENUMERATION_TABLE_LENGTH = 51 };

// Prints every row of the table at level 1 and ends the run with
// "brindle failed." and exit status 1 at the first row whose value differs
// from its expected number; rows after it are not printed.
void check_enumeration_rows(const EnumCheckRow* table, std::int32_t length);

// check_enumeration_rows over the 51-row enumeration table; returns only when
// every row matches.
void check_enumerations();

#endif
