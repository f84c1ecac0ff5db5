// Every way a run can go wrong ends in one clear line on stderr, a non-zero
// exit code, and no output file: not under the name, not as a leftover
// temporary, not under a name that was meant as an option.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "RenderTestSupport.h"

namespace rendertest {
namespace {

class RenderErrors : public RenderTest
{
protected:
  void SetUp() override
  {
    RenderTest::SetUp();
    ASSERT_TRUE(WriteAudio(Path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, TestSignal(2, 48000, 4800, 1)));
    FILE* f = std::fopen(Path("notes.wav").c_str(), "w");
    std::fputs("this is not audio\n", f);
    std::fclose(f);
    ASSERT_TRUE(WriteAudio(Path("three.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(3, 48000, 480, 2)));
    f = std::fopen(Path("short.state").c_str(), "wb");
    std::fwrite("0123456789", 1, 10, f);
    std::fclose(f);
    ASSERT_EQ(symlink(Path("in.wav").c_str(), Path("link.wav").c_str()), 0);
    ASSERT_EQ(link(Path("in.wav").c_str(), Path("hard.wav").c_str()), 0);
    before = Listing();
  }

  // The run fails with a one-line message containing `says`, and the folder is as it was.
  void ExpectFailure(const std::vector<std::string>& args, const std::string& says, const char* what)
  {
    const RunResult run = Render(args);
    EXPECT_NE(run.exitCode, 0) << what;
    EXPECT_EQ(run.out, "") << what;
    EXPECT_EQ(run.err.rfind("murax-render: ", 0), 0u) << what << ": " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << what << ": one line, " << run.err;
    EXPECT_NE(run.err.find(says), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(Listing(), before) << what << ": the folder changed";
  }

  std::vector<std::string> before;
};

TEST_F(RenderErrors, CommandLineMistakes)
{
  const std::string in = Path("in.wav"), out = Path("out.wav");
  ExpectFailure({"--frobnicate", in, out}, "unknown option --frobnicate", "unknown option");
  ExpectFailure({in, "--outptu", out}, "unknown option --outptu", "misspelt option between the files");
  ExpectFailure({in, "--mic"}, "--mic needs a value", "option without its value");
  ExpectFailure({in}, "missing OUTPUT", "INPUT alone");
  ExpectFailure({in, out, Path("third.wav")}, "too many file names", "three files");
  ExpectFailure({"--mic", "11", in, out}, "--mic 11 is out of range", "mic above 10");
  ExpectFailure({"--size", "-1", in, out}, "out of range", "negative size");
  ExpectFailure({"--character", "abc", in, out}, "needs a number", "character not a number");
  ExpectFailure({"--output", "nan", in, out}, "needs a number", "output NaN");
  ExpectFailure({"--output", "5dB", in, out}, "needs a number", "output with a unit");
  ExpectFailure({"--block", "0", in, out}, "--block needs a whole number", "block 0");
  ExpectFailure({"--block", "100000", in, out}, "--block needs a whole number", "block too large");
  ExpectFailure({"--format", "mp3", in, out}, "unknown output format \"mp3\"", "mp3");
  ExpectFailure({"--format", "ogg:pcm16", in, out}, "cannot hold pcm16", "ogg with integer samples");
  ExpectFailure({"--compare", "mic=3", in, out}, "--compare needs --plot", "compare without plot");
  ExpectFailure({"--plot", Path("p.png"), "--compare", "volume=3"}, "unknown knob \"volume\"", "unknown knob");
  ExpectFailure({"--plot", Path("p.png"), "--compare", "mic=12"}, "out of range", "compare out of range");
  ExpectFailure({"--bypass=1", in, out}, "--bypass takes no value", "flag with a value");
  ExpectFailure({"--snapshot", dir, in, out}, "is a folder", "snapshot onto a folder");
  ExpectFailure({"--snapshot", out, in, out}, "named for two outputs", "snapshot onto the output");
  ExpectFailure({"--plot", dir, in, out}, "is a folder", "plot onto a folder");
}

TEST_F(RenderErrors, FilesThatCannotBeRendered)
{
  const std::string out = Path("out.wav");
  ExpectFailure({Path("missing.wav"), out}, "no such file", "missing input");
  ExpectFailure({Path("notes.wav"), out}, "cannot read", "not audio");
  ExpectFailure({Path("three.wav"), out}, "3 channels", "three channels");
  // Formats libsndfile reads but this renderer does not offer.
  ASSERT_TRUE(WriteAudio(Path("in.au"), SF_FORMAT_AU | SF_FORMAT_PCM_16, TestSignal(1, 48000, 480, 2)));
  ASSERT_TRUE(WriteAudio(Path("in.opus"), SF_FORMAT_OGG | SF_FORMAT_OPUS, TestSignal(1, 48000, 4800, 2)));
  before = Listing();
  ExpectFailure({Path("in.au"), out}, "is not a WAV, FLAC, AIFF or Ogg Vorbis file", "Sun AU");
  ExpectFailure({Path("in.opus"), out}, "not Ogg Vorbis", "Ogg Opus");
  ExpectFailure({Path("in.wav"), Path("no/such/folder/out.wav")}, "does not exist", "output folder missing");
  ExpectFailure({Path("in.wav"), dir}, "is a folder", "output is a folder");
  // A pipe (like a device) under the output's name is never replaced by a file.
  ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0644), 0);
  before = Listing();
  ExpectFailure({Path("in.wav"), Path("pipe")}, "not a regular file", "output is a pipe");
  ExpectFailure({"--plot", Path("pipe"), Path("in.wav"), out}, "not a regular file", "plot onto a pipe");
  ExpectFailure({"--state-out", Path("pipe")}, "not a regular file", "state onto a pipe");
  struct stat st{};
  ASSERT_EQ(stat(Path("pipe").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is still a pipe";
  ExpectFailure({"--state-in", Path("missing.state"), Path("in.wav"), out}, "cannot read", "state missing");
  ExpectFailure({"--state-in", Path("short.state"), Path("in.wav"), out}, "holds 10 bytes", "state too short");
  ExpectFailure({"--bundle", Path("Nothing.vst3"), Path("in.wav"), out}, "no plug-in bundle", "no bundle");
  ExpectFailure({"--bundle", Path("in.wav"), Path("in.wav"), out}, "cannot load the bundle", "not a bundle");
  if (getuid() != 0)
  {
    ASSERT_EQ(chmod(Path("hard.wav").c_str(), 0), 0);
    ExpectFailure({Path("hard.wav"), out}, "cannot read", "unreadable input");
    chmod(Path("hard.wav").c_str(), 0644);
  }
}

TEST_F(RenderErrors, OutputThatIsTheInputHoweverNamed)
{
  const std::string in = Path("in.wav");
  const std::string original = ReadBytes(in);
  ExpectFailure({in, in}, "is the INPUT", "same name");
  ExpectFailure({in, dir + "/./in.wav"}, "is the INPUT", "another spelling");
  ExpectFailure({in, dir + "/../" + dir.substr(dir.rfind('/') + 1) + "/in.wav"}, "is the INPUT", "through ..");
  ExpectFailure({in, Path("link.wav")}, "is the INPUT", "symbolic link");
  ExpectFailure({in, Path("hard.wav")}, "is the INPUT", "hard link");
  ExpectFailure({Path("link.wav"), in}, "is the INPUT", "input through a link");
  ExpectFailure({"--state-out", in, Path("in.wav"), Path("o.wav")}, "INPUT", "state over the input");
  EXPECT_EQ(ReadBytes(in), original) << "the input is untouched";
}

// Options never become file names, and --help or --version write nothing.
TEST_F(RenderErrors, NothingIsWrittenUnderAnOptionName)
{
  for (const char* option : {"--help", "-h", "--version", "-V"})
  {
    const RunResult run = Render({option});
    EXPECT_EQ(run.exitCode, 0) << option;
    EXPECT_EQ(run.err, "") << option;
    EXPECT_FALSE(run.out.empty()) << option;
    EXPECT_EQ(access(option, F_OK), -1) << option << " was written as a file";
  }
  EXPECT_NE(Render({"--help"}).out.find("Usage: murax-render [options] [INPUT OUTPUT]"), std::string::npos);
  EXPECT_EQ(Render({"--version"}).out.rfind("murax-render 1.0.0", 0), 0u);
  const RunResult run = Render({Path("in.wav"), "--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Listing(), before) << "--help as OUTPUT";
  // After "--" a name may begin with a dash.
  const RunResult dashed = Render({"--", Path("in.wav"), Path("-dash.wav")});
  EXPECT_EQ(dashed.exitCode, 0) << dashed.err;
  EXPECT_EQ(access(Path("-dash.wav").c_str(), F_OK), 0);
}

// A failed run leaves an existing output as it was.
TEST_F(RenderErrors, FailureKeepsAnExistingOutput)
{
  const std::string out = Path("out.wav");
  ASSERT_EQ(Render({Path("in.wav"), out}).exitCode, 0);
  const std::string first = ReadBytes(out);
  before = Listing();
  ExpectFailure({"--state-in", Path("short.state"), "--output", "9", Path("in.wav"), out}, "holds 10 bytes",
                "bad state");
  EXPECT_EQ(ReadBytes(out), first);
}

// An interrupted run removes its temporary file and leaves no output.
TEST_F(RenderErrors, InterruptedRunLeavesNoPartialFile)
{
  // Block size 1 makes a 20 s file take long enough to interrupt.
  ASSERT_TRUE(WriteAudio(Path("long.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(2, 48000, 48000 * 20, 3)));
  before = Listing();
  for (int sig : {SIGINT, SIGTERM})
  {
    const pid_t pid = fork();
    if (pid == 0)
    {
      freopen("/dev/null", "w", stdout);
      freopen("/dev/null", "w", stderr);
      execl(MURAX_RENDER_PATH, MURAX_RENDER_PATH, "--block", "1", Path("long.wav").c_str(), Path("out.wav").c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    // Wait until the temporary file exists, then interrupt.
    bool started = false;
    for (int i = 0; i < 400 && !started; ++i)
    {
      usleep(10000);
      started = Listing().size() > before.size();
    }
    EXPECT_TRUE(started) << "the run made its temporary file";
    kill(pid, sig);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << "signal " << sig;
    EXPECT_EQ(Listing(), before) << "signal " << sig << " left a file";
  }
}

} // namespace
} // namespace rendertest

namespace rendertest {
namespace {

// An output named through a symbolic link replaces the file the link points
// at; the link itself stays.
TEST_F(RenderTest, OutputThroughALinkWritesItsTarget)
{
  ASSERT_TRUE(WriteAudio(Path("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(1, 48000, 4800, 9)));
  ASSERT_TRUE(WriteAudio(Path("old.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, TestSignal(1, 48000, 100, 1)));
  ASSERT_EQ(symlink("old.wav", Path("current.wav").c_str()), 0);
  const RunResult run = Render({Path("in.wav"), Path("current.wav")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  struct stat st{};
  ASSERT_EQ(lstat(Path("current.wav").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
  EXPECT_EQ(ReadAudio(Path("old.wav"), true).Frames(), 4800) << "its target holds the render";
  EXPECT_EQ(Listing(), (std::vector<std::string>{"current.wav", "in.wav", "old.wav"}));
}

} // namespace
} // namespace rendertest
