#include "Hosts.h"

#include <gtest/gtest.h>

#include <string>

TEST(Hosts, LookUpByContainedName)
{
  const std::pair<const char*, int> cases[] = {
    {"Cubase 10", 3},         {"CUBASE", 3},           {"REAPER64", 1},
    {"Ableton Live 11", 9},   {"Logic Pro X", 21},     {"Digital Performer 10", 23},
    {"PreSonus Studio One", 26}, {"VST3PluginTestHost", 27}, {"Pro Tools", 0},
    {"Olive Studio", 9},      {"", 0},                 {"Nuendo with Cubase", 3},
    {"Ardour", 28},           {"Renoise", 29},         {"OpenMPT", 30},
    {"FL Studio (fruity)", 7}, {"Live Logic", 9},
  };
  for (const auto& c : cases) EXPECT_EQ(LookUpHost(c.first), c.second) << '"' << c.first << '"';
  EXPECT_EQ(LookUpHost(nullptr), kHostUnknown);
}

TEST(Hosts, LongNamesAreCutNotOverrun)
{
  const std::string name = std::string(300, 'x') + "reaper";
  EXPECT_EQ(LookUpHost(name.c_str()), kHostUnknown) << "only the first 255 characters are searched";
  EXPECT_EQ(LookUpHost((std::string(200, 'x') + "reaper").c_str()), kHostReaper);
}

TEST(Hosts, DisplayNames)
{
  const std::pair<int, const char*> cases[] = {
    {5, "Sonar"}, {6, "Vegas"}, {12, "Unknown"}, {-1, "Unknown"}, {0, "Unknown"}, {10, "Unknown"},
    {19, "Unknown"}, {23, "DigitalPerformer"}, {27, "VST3PluginTestHost"}, {30, "OpenMPT"}, {31, "Unknown"},
  };
  for (const auto& c : cases)
  {
    char name[kHostNameStrSize];
    GetHostNameStr(static_cast<EHost>(c.first), name);
    EXPECT_STREQ(name, c.second) << "host " << c.first;
  }
}

TEST(Hosts, ToLowerCopiesAndTerminates)
{
  char dst[16];
  ToLower(dst, "MiXeD 42");
  EXPECT_STREQ(dst, "mixed 42");
}
