// SPDX-License-Identifier: MIT
// Conversions between the window system's objects and the EGL native handle
// types. A platform's eglplatform.h may define those types as pointers or as
// integers (an X11 window is an integer id), so every conversion goes
// through std::uintptr_t and works in either direction for either kind.
#ifndef EGLSWEEP_NATIVE_HANDLE_H
#define EGLSWEEP_NATIVE_HANDLE_H

#include <cstdint>
#include <type_traits>

namespace native_handle {

template <typename To, typename From>
To handle_cast(From value) {
  std::uintptr_t bits = 0;
  if constexpr (std::is_pointer_v<From>) {
    bits = reinterpret_cast<std::uintptr_t>(value);
  } else {
    bits = static_cast<std::uintptr_t>(value);
  }
  if constexpr (std::is_pointer_v<To>) {
    // The integer came from a pointer of this type (or is 0) in the first place.
    return reinterpret_cast<To>(bits);  // NOLINT(performance-no-int-to-ptr)
  } else {
    return static_cast<To>(bits);
  }
}

}  // namespace native_handle

#endif
