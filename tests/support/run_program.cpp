#include "run_program.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

const char HELP_TEXT[] =
    "Options:\n\t-h\t\tPrint this help screen.\n\t-l\t<file>\tCreate a logfile.\n"
    "\t-v\t\tVerbose mode ON.\n\n";

ProgramEnv fake_env(const std::string& scenario) {
  ProgramEnv env;
  env.set["FAKEGL_SCENARIO"] = scenario;
  return env;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
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
                          const ProgramEnv& env) {
  const std::string dir = make_temp_dir();
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (env.set.count(name) == 0) environment.push_back(entry);
  }
  for (const auto& item : env.set) environment.push_back(item.first + "=" + item.second);

  std::vector<std::string> command = {QB_EMULATOR};
  if (command[0].empty()) command.clear();
  command.push_back(path);
  command.insert(command.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : command) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(&entry[0]);
  envp.push_back(nullptr);

  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open((dir + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open((dir + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProgramResult result{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                       read_file(dir + "/out"), read_file(dir + "/err")};
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return result;
}
