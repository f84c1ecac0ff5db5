#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

extern char** environ;

namespace vst3host {

std::unique_ptr<XvfbServer> XvfbServer::Start(std::string* error, bool withShm, int width, int height, int depth)
{
  int pipeFds[2];
  if (pipe(pipeFds) != 0)
  {
    if (error) *error = "pipe failed";
    return nullptr;
  }
  fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
  // The server writes the display number it chose to this descriptor.
  const std::string fdText = std::to_string(pipeFds[1]);
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
  std::vector<std::string> args = {"Xvfb", "-displayfd", fdText, "-screen", "0", screen, "-nolisten", "tcp",
                                   "-noreset"};
  if (!withShm)
  {
    args.push_back("-extension");
    args.push_back("MIT-SHM");
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0)
  {
    close(pipeFds[0]);
    if (error) *error = std::string("cannot start Xvfb: ") + std::strerror(rc);
    return nullptr;
  }

  std::unique_ptr<XvfbServer> server(new XvfbServer);
  server->mPid = pid;
  std::string number;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < end)
  {
    pollfd p = {pipeFds[0], POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    char c;
    const ssize_t n = read(pipeFds[0], &c, 1);
    if (n <= 0 || c == '\n') break;
    number += c;
  }
  close(pipeFds[0]);
  if (number.empty())
  {
    if (error) *error = "Xvfb did not report a display";
    return nullptr; // the destructor stops the process
  }
  server->mName = ":" + number;
  return server;
}

XvfbServer::~XvfbServer()
{
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 100; ++i)
  {
    if (waitpid(mPid, &status, WNOHANG) == mPid) return;
    usleep(20000);
  }
  kill(mPid, SIGKILL);
  waitpid(mPid, &status, 0);
}

} // namespace vst3host
