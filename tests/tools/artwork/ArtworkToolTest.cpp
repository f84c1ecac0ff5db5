#include <gtest/gtest.h>

#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string slurp(const std::string& path)
{
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int run(const std::string& args)
{
  const int status = std::system((std::string("\"") + MURAX_DRAW_ARTWORK + "\" " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A clean build and CI must produce the same bytes every time.
TEST(ArtworkTool, DrawsTheSameImagesEveryRun)
{
  char dir[] = "/tmp/murax_artwork_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  ASSERT_EQ(run(std::string("\"") + dir + "\""), 0);
  for (const char* f : {"BG.png", "BYPASS.png", "MIC.png", "SIZE.png", "CHA.png", "OUT.png"})
  {
    const std::string fresh = slurp(std::string(dir) + "/" + f);
    EXPECT_FALSE(fresh.empty()) << f;
    EXPECT_TRUE(fresh == slurp(std::string(MURAX_RESOURCE_DIR) + "/" + f)) << f << " differs from the bundle's";
    std::remove((std::string(dir) + "/" + f).c_str());
  }
  rmdir(dir);
}

TEST(ArtworkTool, ReportsBadUseAndUnwritableFolders)
{
  EXPECT_EQ(run(""), 2) << "no arguments";
  EXPECT_EQ(run("/tmp --preview"), 2) << "preview without a prefix";
  EXPECT_EQ(run("/nonexistent/murax/resources"), 1) << "a folder that does not exist";
}

}  // namespace
