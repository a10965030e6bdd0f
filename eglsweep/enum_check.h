// SPDX-License-Identifier: MIT
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

// Prints every row of the 51-row enumeration table at level 1 and returns
// when every value matches its expected number; at the first row that does
// not, ends the run with "brindle failed." and exit status 1, and later rows
// are not printed.
void check_enumerations();

#endif
