#include "WholeFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "OutputFile.h"

namespace render {

namespace {
std::string Why() { return std::strerror(errno); }
} // namespace

bool SameFile(const std::string& a, const std::string& b)
{
  struct stat sa{}, sb{};
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool Exists(const std::string& path)
{
  struct stat st{};
  return stat(path.c_str(), &st) == 0;
}

bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string* bytes, std::string* error)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f)
  {
    *error = "cannot read " + path + ": " + Why();
    return false;
  }
  bytes->clear();
  char buf[4096];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
  {
    bytes->append(buf, got);
    if (bytes->size() > maxBytes) break;
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed)
  {
    *error = "cannot read " + path;
    return false;
  }
  if (bytes->size() > maxBytes)
  {
    *error = path + " is too large to be a state file";
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error)
{
  OutputFile out;
  if (!out.Create(path, error)) return false;
  size_t done = 0;
  while (done < bytes.size())
  {
    const ssize_t n = write(out.Fd(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
    {
      *error = "cannot write " + path + ": " + Why();
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return out.Commit(error);
}

} // namespace render
