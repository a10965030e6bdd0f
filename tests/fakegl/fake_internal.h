// Shared state of the fake EGL and GL entry points.
#ifndef TESTS_FAKEGL_FAKE_INTERNAL_H
#define TESTS_FAKEGL_FAKE_INTERNAL_H

#include <map>
#include <string>
#include <vector>

#include "fakegl.h"

struct FakeFault {
  std::string function;
  int nth;
  int code;
};

struct FakeWorld {
  FakeScenario scenario;
  std::vector<std::string> calls;
  std::vector<FakeFault> faults;
  std::map<std::string, int> call_counts;
  bool loaded;
};

FakeWorld& fake_world();
// Loads the scenario from the environment on the first call of the process.
void fake_ensure_loaded();
// Counts a call of the function; returns the fault code if this call fails, else 0.
int fake_enter(const char* function);
// Appends one line to the record.
void fake_record(const std::string& line);
// Back to a fresh EGL and GL state (no display initialised, no objects).
void fake_egl_reset();
void fake_gl_reset();
// printf-style string building.
std::string fake_format(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif
