// The progress bar appears on a terminal, for files long enough to wait for,
// and is cleared before the summary.
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "RenderTestSupport.h"

namespace rendertest {
namespace {

// murax-render with stdout and stderr on one pseudo-terminal; what it wrote.
std::string RunOnTerminal(const std::vector<std::string>& args, int* exitCode)
{
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0)
  {
    std::vector<char*> argv = {const_cast<char*>(MURAX_RENDER_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(MURAX_RENDER_PATH, argv.data());
    _exit(127);
  }
  std::string text;
  char buf[4096];
  ssize_t n;
  // Reading ends with EIO once the child has closed its side.
  while ((n = read(master, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
  close(master);
  int status = 0;
  waitpid(pid, &status, 0);
  *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return text;
}

TEST_F(RenderTest, ProgressBarOnATerminalForLongFilesOnly)
{
  ASSERT_TRUE(WriteAudio(Path("long.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(2, 48000, 48000 * 12, 1)));
  ASSERT_TRUE(WriteAudio(Path("short.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(2, 48000, 48000 * 2, 1)));
  int code = -1;
  // Small blocks make the long render last long enough to draw the bar.
  const std::string longRun = RunOnTerminal({"--block", "16", Path("long.wav"), Path("a.wav")}, &code);
  ASSERT_EQ(code, 0) << longRun;
  EXPECT_NE(longRun.find("\rrendering ["), std::string::npos) << longRun;
  EXPECT_NE(longRun.find("%"), std::string::npos) << longRun;
  EXPECT_NE(longRun.find("\r\033[K"), std::string::npos) << "the bar is cleared";
  EXPECT_LT(longRun.find("\r\033[K"), longRun.find("a.wav\r\n")) << "before the summary";

  const std::string shortRun = RunOnTerminal({Path("short.wav"), Path("b.wav")}, &code);
  ASSERT_EQ(code, 0) << shortRun;
  EXPECT_EQ(shortRun.find("rendering ["), std::string::npos) << "no bar for 2 s";
  EXPECT_NE(shortRun.find("clipped"), std::string::npos) << shortRun;

  const std::string quietRun = RunOnTerminal({"-q", "--block", "16", Path("long.wav"), Path("c.wav")}, &code);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(quietRun, "") << "--quiet shows nothing";
}

} // namespace
} // namespace rendertest
