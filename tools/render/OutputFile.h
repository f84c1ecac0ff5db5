#pragma once
// A file that appears under its name only when it is complete: it is written
// as a hidden temporary file in the destination's folder and renamed into
// place by Commit. Anything else (a failure, a destructor without Commit, or
// SIGINT/SIGTERM/SIGHUP during the run) removes the temporary file.
#include <string>

namespace render {

class OutputFile
{
public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Create(const std::string& path, std::string* error);
  int Fd() const { return mFd; }
  const std::string& Path() const { return mPath; }
  // Closes the descriptor (when still open) and renames the file into place.
  bool Commit(std::string* error);
  void Discard();

  // Installs the signal handlers that remove pending temporary files.
  static void InstallSignalCleanup();

private:
  std::string mPath, mTemp;
  int mFd = -1;
  int mSlot = -1;
};

} // namespace render
