#include "X11Services.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>

extern char** environ;

namespace
{
std::vector<char*> Argv(std::vector<std::string>& args)
{
  std::vector<char*> v;
  for (auto& a : args) v.push_back(a.data());
  v.push_back(nullptr);
  return v;
}
} // namespace

std::string X11FindProgram(const char* name)
{
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size())
  {
    const size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!dir.empty())
    {
      const std::string candidate = dir + "/" + name;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return "";
}

bool X11SpawnDetached(const std::vector<std::string>& argvIn)
{
  if (argvIn.empty()) return false;
  std::vector<std::string> args = argvIn;
  args[0] = X11FindProgram(argvIn[0].c_str());
  if (args[0].empty()) return false;
  std::vector<char*> argv = Argv(args);
  // Between fork and exec only async-signal-safe calls: the path and the
  // arguments are ready beforehand.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t middle = fork();
  if (middle < 0)
  {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (middle == 0)
  {
    setsid();
    const pid_t child = fork();
    if (child == 0)
    {
      execve(argv[0], argv.data(), environ);
      const int err = errno;
      (void)!write(report[1], &err, sizeof(err));
      _exit(127);
    }
    _exit(child < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {}
  int err = 0;
  ssize_t n;
  do
    n = read(report[0], &err, sizeof(err));
  while (n < 0 && errno == EINTR);
  close(report[0]);
  // The exec closed the pipe without a word: the program runs.
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

bool X11RunForOutput(const std::vector<std::string>& argvIn, std::string* out, int* exitCode)
{
  if (argvIn.empty()) return false;
  std::vector<std::string> args = argvIn;
  args[0] = X11FindProgram(argvIn[0].c_str());
  if (args[0].empty()) return false;
  std::vector<char*> argv = Argv(args);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0)
  {
    close(fds[0]);
    return false;
  }
  std::string text;
  char buf[512];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof(buf))) != 0)
  {
    if (n < 0)
    {
      if (errno == EINTR) continue;
      break;
    }
    text.append(buf, static_cast<size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  if (out) *out = text;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (exitCode) *exitCode = code;
  return code == 0;
}

std::string X11ModulePath()
{
  Dl_info info = {};
  if (!dladdr(reinterpret_cast<void*>(&X11ModulePath), &info) || !info.dli_fname) return "";
  char resolved[PATH_MAX];
  if (realpath(info.dli_fname, resolved)) return resolved;
  return info.dli_fname;
}

std::string X11BundleParent(const std::string& modulePath)
{
  const size_t contents = modulePath.rfind("/Contents/");
  std::string folder = contents != std::string::npos ? modulePath.substr(0, contents) : modulePath;
  const size_t slash = folder.rfind('/');
  return slash == std::string::npos ? "/" : folder.substr(0, slash + 1);
}

std::string X11HomeFolder()
{
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

std::string X11DesktopFolder()
{
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string dirsFile = (config && *config ? std::string(config) : X11HomeFolder() + "/.config") + "/user-dirs.dirs";
  std::ifstream in(dirsFile);
  std::string line;
  while (std::getline(in, line))
  {
    const std::string key = "XDG_DESKTOP_DIR=";
    if (line.compare(0, key.size(), key) != 0) continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0) value = X11HomeFolder() + value.substr(5);
    if (!value.empty() && value[0] == '/') return value;
  }
  return X11HomeFolder() + "/Desktop";
}

std::string X11DataFolder()
{
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return data;
  return X11HomeFolder() + "/.local/share";
}
