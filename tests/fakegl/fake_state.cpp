#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "fake_internal.h"

namespace {

FakeScenario default_scenario() {
  FakeScenario scenario;
  scenario.configs = {FakeConfig{0x1 /* EGL_PBUFFER_BIT */, 8, 24, 8}};
  scenario.accept_null_native = false;
  scenario.no_display = false;
  scenario.record_gl = true;
  scenario.gl_extensions = "GL_OES_fixed_point GL_OES_query_matrix GL_OES_read_format";
  return scenario;
}

void write_record_at_exit() {
  FakeWorld& world = fake_world();
  if (world.scenario.log_path.empty()) {
    return;
  }
  std::ofstream out(world.scenario.log_path);
  for (const std::string& line : world.calls) {
    out << line << '\n';
  }
}

// One configuration of a "configs=" item, such as "wp:d24:s8".
bool parse_config_text(const std::string& text, FakeConfig* config) {
  *config = FakeConfig{0, 8, 0, 0};
  std::stringstream fields(text);
  std::string field;
  bool first = true;
  while (std::getline(fields, field, ':')) {
    if (first) {
      for (char kind : field) {
        if (kind == 'w')
          config->surface_type |= 0x4;
        else if (kind == 'p')
          config->surface_type |= 0x1;
        else if (kind == 'x')
          config->surface_type |= 0x2;
        else
          return false;
      }
      first = false;
      continue;
    }
    if (field.size() < 2) return false;
    const int bits = std::atoi(field.c_str() + 1);
    if (field[0] == 'd')
      config->depth_size = bits;
    else if (field[0] == 's')
      config->stencil_size = bits;
    else if (field[0] == 'r')
      config->red_size = bits;
    else
      return false;
  }
  return true;
}

}  // namespace

FakeWorld& fake_world() {
  static FakeWorld world{default_scenario(), {}, {}, {}, false};
  return world;
}

void fake_ensure_loaded() {
  FakeWorld& world = fake_world();
  if (world.loaded) {
    return;
  }
  world.loaded = true;
  const char* text = std::getenv("FAKEGL_SCENARIO");
  if (text != nullptr && !fake_load_scenario(text)) {
    std::fprintf(stderr, "fakegl: bad FAKEGL_SCENARIO '%s'\n", text);
    std::abort();
  }
  std::atexit(write_record_at_exit);
}

void fake_reset() {
  FakeWorld& world = fake_world();
  world.scenario = default_scenario();
  world.calls.clear();
  world.faults.clear();
  world.call_counts.clear();
  world.loaded = true;
  fake_egl_reset();
  fake_gl_reset();
}

FakeScenario& fake_scenario() {
  return fake_world().scenario;
}

bool fake_load_scenario(const std::string& text) {
  fake_reset();
  FakeScenario& scenario = fake_scenario();
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ';')) {
    if (item.empty()) continue;
    const std::size_t eq = item.find('=');
    const std::string key = item.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : item.substr(eq + 1);
    if (key == "configs") {
      scenario.configs.clear();
      std::stringstream texts(value);
      std::string text_of_one;
      while (std::getline(texts, text_of_one, ',')) {
        FakeConfig config;
        if (!parse_config_text(text_of_one, &config)) return false;
        scenario.configs.push_back(config);
      }
    } else if (key == "fail") {
      const std::size_t a = value.find(':');
      const std::size_t b = value.find(':', a + 1);
      if (a == std::string::npos || b == std::string::npos) return false;
      fake_fail(value.substr(0, a), std::atoi(value.substr(a + 1, b - a - 1).c_str()),
                static_cast<int>(std::strtol(value.substr(b + 1).c_str(), nullptr, 0)));
    } else if (key == "native" && value == "accept") {
      scenario.accept_null_native = true;
    } else if (key == "nodisplay") {
      scenario.no_display = true;
    } else if (key == "ext") {
      std::string extensions = value;
      for (char& c : extensions) {
        if (c == '+') c = ' ';
      }
      scenario.gl_extensions = extensions;
    } else if (key == "log") {
      scenario.log_path = value;
    } else {
      return false;
    }
  }
  return true;
}

void fake_fail(const std::string& function, int nth, int code) {
  fake_world().faults.push_back(FakeFault{function, nth, code});
}

const std::vector<std::string>& fake_calls() {
  return fake_world().calls;
}

std::vector<std::string> fake_calls_starting(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : fake_world().calls) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

int fake_call_count(const std::string& function) {
  const auto& counts = fake_world().call_counts;
  const auto it = counts.find(function);
  return it == counts.end() ? 0 : it->second;
}

int fake_enter(const char* function) {
  fake_ensure_loaded();
  FakeWorld& world = fake_world();
  const int nth = ++world.call_counts[function];
  for (const FakeFault& fault : world.faults) {
    if (fault.nth == nth && fault.function == function) {
      return fault.code;
    }
  }
  return 0;
}

void fake_record(const std::string& line) {
  fake_world().calls.push_back(line);
}

std::string fake_format(const char* format, ...) {
  char buffer[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}
