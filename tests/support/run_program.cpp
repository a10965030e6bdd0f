// SPDX-License-Identifier: MIT
#include "run_program.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string golden_diff(const std::string& path, const std::string& text) {
  if (std::getenv("REGENERATE_GOLDEN") != nullptr) {
    std::remove(path.c_str());
    if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
    return "";
  }
  const std::string want = read_file(path);
  if (text == want) return "";
  // One hunk: the lines between the common head and the common tail, with
  // up to three lines of context on each side.
  const auto split = [](const std::string& of) {
    std::vector<std::string> lines;
    std::istringstream in(of);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  };
  const std::vector<std::string> a = split(want), b = split(text);
  std::size_t head = 0, tail = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  const std::size_t from = head > 3 ? head - 3 : 0, after = std::min<std::size_t>(tail, 3);
  if (a == b) return path + " differs from the text only in the end of its last line\n";
  std::ostringstream diff;
  diff << path << " differs (REGENERATE_GOLDEN=1 rewrites it):\n--- " << path << "\n+++ got\n@@ -" << from + 1
       << ',' << a.size() - tail + after - from << " +" << from + 1 << ',' << b.size() - tail + after - from
       << " @@\n";
  for (std::size_t i = from; i < head; ++i) diff << ' ' << a[i] << '\n';
  for (std::size_t i = head; i < a.size() - tail; ++i) diff << '-' << a[i] << '\n';
  for (std::size_t i = head; i < b.size() - tail; ++i) diff << '+' << b[i] << '\n';
  for (std::size_t i = a.size() - tail; i < a.size() - tail + after; ++i) diff << ' ' << a[i] << '\n';
  return diff.str();
}

// Every folder is made inside one folder of this test program, which goes
// with everything in it when the program ends.
std::string make_temp_dir() {
  static struct Root {
    std::string path =
        std::string(std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp") + "/qbtest.XXXXXX";
    const bool made = mkdtemp(&path[0]) != nullptr;
    const pid_t owner = getpid();  // not a forked child
    int count = 0;
    ~Root() {
      std::error_code ignored;
      if (made && getpid() == owner) std::filesystem::remove_all(path, ignored);
    }
  } root;
  const std::string dir = root.path + "/" + std::to_string(++root.count);
  return root.made && mkdir(dir.c_str(), 0700) == 0 ? dir : "";
}

ProgramResult run_program(const std::string& path, const std::vector<std::string>& args,
                          const std::string& scenario) {
  const std::string dir = make_temp_dir();
  std::vector<std::string> command = {QB_EMULATOR};
  if (command[0].empty()) command.clear();
  command.push_back(path);
  command.insert(command.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : command) argv.push_back(&arg[0]);
  argv.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    if (chdir(dir.c_str()) != 0 || in < 0) _exit(126);
    const int out = open("out", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open("err", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    setenv("FAKEGL_SCENARIO", (scenario + ";log=calls").c_str(), 1);
    execvp(argv[0], argv.data());  // an emulator may be named without its folder
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProgramResult result{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                       read_file(dir + "/out"), read_file(dir + "/err"), read_file(dir + "/calls"),
                       read_file(dir + "/log")};
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return result;
}
