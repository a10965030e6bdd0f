// libFuzzer target over the argument vector of the option parser. The input
// bytes are split at NUL bytes into arguments; the parser's outcome is
// compared with a plain model of the option rules. Files are never touched:
// fopen is replaced in this executable by one that opens /dev/null or
// refuses, so no -l name the fuzzer invents can create or truncate a file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "harness/harness.h"

namespace {
bool refuse_next_open = false;
}

extern "C" std::FILE* fopen(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr || refuse_next_open) return nullptr;
  return std::freopen("/dev/null", mode, std::tmpfile());
}

namespace {

struct Model {
  std::int32_t result;
  std::int32_t verbose;
  std::int32_t requested;
  std::string path;
};

Model model(const std::vector<std::string>& args) {
  Model m{OPTIONS_GO, 0, 0, ""};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h") return Model{OPTIONS_STOP, m.verbose, m.requested, m.path};
    if (arg == "-v") {
      m.verbose = 1;
    } else if (arg == "-l") {
      if (i + 1 >= args.size() || (!args[i + 1].empty() && args[i + 1][0] == '-'))
        return Model{OPTIONS_STOP, m.verbose, m.requested, m.path};
      const std::string& name = args[++i];
      if (name.size() >= LOG_PATH_SIZE) {
        m.requested = 0;
        m.path.clear();
      } else {
        m.requested = 1;
        m.path = name;
      }
    } else {
      return Model{OPTIONS_STOP, m.verbose, m.requested, m.path};
    }
  }
  return m;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The parser's messages go to standard output; keep the fuzzer's log clean.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  if (size == 0) return 0;
  refuse_next_open = (data[0] & 1) != 0;
  std::vector<std::string> args;
  std::string current;
  for (std::size_t i = 1; i < size && args.size() < 32; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  args.push_back(current);

  std::vector<std::string> storage = args;
  storage.insert(storage.begin(), "prog");
  std::vector<char*> argv;
  for (std::string& arg : storage) argv.push_back(&arg[0]);
  argv.push_back(nullptr);

  const std::int32_t result = parse_options(static_cast<int>(storage.size()), argv.data());
  const Model expected = model(args);
  if (result != expected.result || harness_state.verbose_level != expected.verbose ||
      harness_state.log_requested != expected.requested ||
      std::memchr(harness_state.log_path, '\0', LOG_PATH_SIZE) == nullptr ||
      expected.path != harness_state.log_path || harness_state.log_file != nullptr) {
    std::fprintf(stderr, "option parser disagrees with the model\n");
    std::abort();
  }
  return 0;
}
