// SPDX-License-Identifier: MIT
// What the native hooks of a window system say when they find no display or
// device and give null handles instead: one line on standard error with the
// cause. Standard output stays the trace that the null hooks give, so this
// line is what tells such a run from one whose display path failed.
#ifndef EGLSWEEP_NATIVE_FALLBACK_H
#define EGLSWEEP_NATIVE_FALLBACK_H

#include <cstddef>

// Writes into TEXT (SIZE bytes, always terminated) the message named NAME,
// with SUBJECT and then CAUSE put in where it takes them.
void native_fallback_text(char* text, std::size_t size, const char* name, const char* subject,
                          const char* cause);

// Writes "brindle: ", the message named NAME with SUBJECT and CAUSE put in,
// and a newline to standard error.
void native_say_fallback(const char* name, const char* subject, const char* cause);

#endif
