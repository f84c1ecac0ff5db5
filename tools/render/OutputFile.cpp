#include "OutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace render {

namespace {
// Pending temporary names, readable from a signal handler: fixed slots of
// fixed storage, each published by an atomic flag.
constexpr int kSlots = 8;
constexpr size_t kNameBytes = 4096;
char gNames[kSlots][kNameBytes];
std::atomic<bool> gUsed[kSlots];

int Claim(const std::string& name)
{
  if (name.size() >= kNameBytes) return -1;
  for (int i = 0; i < kSlots; ++i)
  {
    bool expected = false;
    if (gUsed[i].load() || !gUsed[i].compare_exchange_strong(expected, true)) continue;
    std::memcpy(gNames[i], name.c_str(), name.size() + 1);
    return i;
  }
  return -1;
}

void Release(int slot)
{
  if (slot >= 0) gUsed[slot].store(false);
}

extern "C" void RemovePending(int sig)
{
  for (int i = 0; i < kSlots; ++i)
    if (gUsed[i].load()) unlink(gNames[i]);
  signal(sig, SIG_DFL);
  raise(sig);
}

std::string Folder(const std::string& path)
{
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string Base(const std::string& path)
{
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Why() { return std::strerror(errno); }
} // namespace

void OutputFile::InstallSignalCleanup()
{
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
  {
    struct sigaction action{};
    action.sa_handler = RemovePending;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
  }
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Create(const std::string& path, std::string* error)
{
  Discard();
  // A link is written through, so the link stays and its target gets the
  // new file; anything but a regular file (a device, a pipe) is never
  // replaced by the rename.
  std::string target = path;
  struct stat st{};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
  {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved)
    {
      target = resolved;
      std::free(resolved);
    }
  }
  if (stat(target.c_str(), &st) == 0)
  {
    if (S_ISDIR(st.st_mode))
    {
      *error = path + " is a folder";
      return false;
    }
    if (!S_ISREG(st.st_mode))
    {
      *error = path + " exists and is not a regular file; name a file";
      return false;
    }
  }
  const std::string folder = Folder(target);
  if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
  {
    *error = "cannot write " + path + ": the folder " + folder + " does not exist";
    return false;
  }
  std::string temp = folder + "/." + Base(target) + ".partial-XXXXXX";
  std::string buffer = temp;
  // The file and its registration for the signal handlers come into being
  // together: a signal in between would leave the file behind.
  sigset_t all, previous;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &previous);
  const int fd = mkstemp(buffer.data());
  if (fd >= 0) mSlot = Claim(buffer);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (fd < 0)
  {
    *error = "cannot write " + path + ": " + Why();
    return false;
  }
  // mkstemp makes the file private; the result gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  mFd = fd;
  mTemp = buffer;
  mPath = target;
  return true;
}

bool OutputFile::Commit(std::string* error)
{
  if (mTemp.empty())
  {
    *error = "nothing to commit for " + mPath;
    return false;
  }
  if (mFd >= 0 && close(mFd) != 0)
  {
    mFd = -1;
    *error = "cannot write " + mPath + ": " + Why();
    Discard();
    return false;
  }
  mFd = -1;
  if (rename(mTemp.c_str(), mPath.c_str()) != 0)
  {
    *error = "cannot write " + mPath + ": " + Why();
    Discard();
    return false;
  }
  mTemp.clear();
  Release(mSlot);
  mSlot = -1;
  return true;
}

void OutputFile::Discard()
{
  if (mFd >= 0) close(mFd);
  mFd = -1;
  if (!mTemp.empty()) unlink(mTemp.c_str());
  mTemp.clear();
  Release(mSlot);
  mSlot = -1;
}

} // namespace render
