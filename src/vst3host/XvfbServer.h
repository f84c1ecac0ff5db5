#pragma once
// A private X server (Xvfb) on a free display number, started and stopped by
// its owner, so tests and tools never depend on a display being present.
#include <memory>
#include <string>
#include <sys/types.h>

namespace vst3host {

class XvfbServer
{
public:
  // Null when Xvfb is missing or does not come up; *error says why.
  // withShm false starts the server without MIT-SHM.
  static std::unique_ptr<XvfbServer> Start(std::string* error, bool withShm = true, int width = 1280,
                                           int height = 1024, int depth = 24);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // ":N".
  const std::string& DisplayName() const { return mName; }

private:
  XvfbServer() = default;
  pid_t mPid = -1;
  std::string mName;
};

} // namespace vst3host
