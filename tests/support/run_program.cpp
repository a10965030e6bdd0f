#include "run_program.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

const char HELP_TEXT[] =
    "Options:\n\t-h\t\tPrint this help screen.\n\t-l\t<file>\tCreate a logfile.\n"
    "\t-v\t\tVerbose mode ON.\n\n";

const std::vector<StoppingCommandLine>& stopping_command_lines() {
  static const std::vector<StoppingCommandLine> lines = {
      {{"-h"}, HELP_TEXT},
      {{"-v", "-h"}, HELP_TEXT},
      {{"-h", "-x"}, HELP_TEXT},
      {{"-x"}, "-x (Bad option).\n"},
      {{"-vv"}, "-vv (Bad option).\n"},
      {{"-v", "word"}, "word (Bad option).\n"},
      {{"-l"}, "-l (No logfile name).\n\n"},
      {{"-l", "-v"}, "-l (No logfile name).\n\n"},
  };
  return lines;
}

ProgramEnv surfaceless_env() {
  ProgramEnv env;
  env.set["EGL_PLATFORM"] = "surfaceless";
  env.unset = {"DISPLAY", "WAYLAND_DISPLAY"};
  return env;
}

ProgramEnv softpipe_env() {
  ProgramEnv env = surfaceless_env();
  env.set["GALLIUM_DRIVER"] = "softpipe";
  return env;
}

ProgramEnv x11_env() {
  ProgramEnv env;
  env.unset = {"EGL_PLATFORM", "WAYLAND_DISPLAY"};
  return env;
}

ProgramEnv no_display_env() {
  ProgramEnv env;
  env.unset = {"DISPLAY", "WAYLAND_DISPLAY", "EGL_PLATFORM"};
  return env;
}

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

std::string make_temp_dir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/qbtest.XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) return "";
  return name.data();
}

ProgramResult run_program(const std::string& path, const std::vector<std::string>& args,
                          const ProgramEnv& env, const std::string& stdout_path) {
  return run_program_io(path, args, env, ProgramIo{stdout_path, false, false});
}

ProgramResult run_program_io(const std::string& path, const std::vector<std::string>& args,
                             const ProgramEnv& env, const ProgramIo& io) {
  const std::string dir = make_temp_dir();
  const std::string out_path = io.stdout_path.empty() ? dir + "/stdout" : io.stdout_path;
  const std::string err_path = dir + "/stderr";

  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool drop = env.set.count(name) != 0;
    for (const std::string& unset : env.unset) drop = drop || unset == name;
    if (!drop) environment.push_back(entry);
  }
  for (const auto& item : env.set) environment.push_back(item.first + "=" + item.second);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(&entry[0]);
  envp.push_back(nullptr);

  int pipe_ends[2] = {-1, -1};
  if (io.stdout_closed_pipe) {
    // The reading end is closed before the child exists: its first write fails.
    if (pipe(pipe_ends) != 0) return ProgramResult{-1, "", ""};
    close(pipe_ends[0]);
  }
  const pid_t pid = fork();
  if (pid == 0) {
    int out = -1;
    if (io.stdout_closed_pipe) {
      out = pipe_ends[1];
    } else {
      out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (io.as_nobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(125);
    signal(SIGPIPE, SIG_DFL);
    execve(path.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  if (io.stdout_closed_pipe) close(pipe_ends[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  ProgramResult result;
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  // Only a regular file is read back: a device such as /dev/full reads as an
  // endless stream.
  struct stat info;
  const bool regular = stat(out_path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
  result.out = io.stdout_closed_pipe || !regular ? "" : read_file(out_path);
  result.err = read_file(err_path);
  return result;
}
