#include <gtest/gtest.h>

#include "TestPlug.h"

TEST(ChannelIO, ParsesConfigurationsAndSizesChannels)
{
  TestPlug plug("1-1 2-2");
  EXPECT_EQ(plug.NChannelIO(), 2);
  EXPECT_EQ(plug.GetInChannelCount(), 2);
  EXPECT_EQ(plug.GetOutChannelCount(), 2);
  for (auto io : {std::pair{1, 1}, {2, 2}, {-1, 2}, {2, -1}, {-1, -1}})
    EXPECT_TRUE(plug.LegalIO(io.first, io.second)) << io.first << "-" << io.second;
  for (auto io : {std::pair{1, 2}, {2, 1}, {0, 0}})
    EXPECT_FALSE(plug.LegalIO(io.first, io.second)) << io.first << "-" << io.second;

  TestPlug mixed("4-2 1-1");
  EXPECT_EQ(mixed.GetInChannelCount(), 4);
  EXPECT_EQ(mixed.GetOutChannelCount(), 2);
}

TEST(ChannelIO, NullAndSloppyStrings)
{
  TestPlug none(nullptr);
  EXPECT_EQ(none.NChannelIO(), 0);
  EXPECT_EQ(none.GetInChannelCount(), 0);
  EXPECT_FALSE(none.LegalIO(-1, -1));

  TestPlug trailing("1-1 2-2 ");
  EXPECT_EQ(trailing.NChannelIO(), 3);
  EXPECT_TRUE(trailing.LegalIO(0, 0)) << "a trailing space adds (0, 0)";

  TestPlug empty("");
  EXPECT_EQ(empty.NChannelIO(), 1);
  EXPECT_TRUE(empty.LegalIO(0, 0));
}

TEST(ChannelConnections, RangesAreCutAtTheChannelCount)
{
  TestPlug plug("1-1 2-2");
  plug.SetInputChannelConnections(0, 2, false);
  plug.SetInputChannelConnections(1, 100, true);
  EXPECT_FALSE(plug.IsInChannelConnected(0));
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  plug.SetInputChannelConnections(2, 1, false);
  plug.SetInputChannelConnections(-3, 1, false);
  EXPECT_TRUE(plug.IsInChannelConnected(1));
  EXPECT_FALSE(plug.IsInChannelConnected(2));
  EXPECT_FALSE(plug.IsOutChannelConnected(-1));
}

TEST(ChannelConnections, UnconnectedSlotsPointAtScratch)
{
  TestPlug plug("1-1 2-2");
  plug.SetBlockSize(16);
  plug.SetInputChannelConnections(0, 2, false);
  plug.SetOutputChannelConnections(0, 2, false);
  EXPECT_EQ(plug.InData()[1], plug.InScratch(1));
  EXPECT_EQ(plug.OutData()[0], plug.OutScratch(0));
}

TEST(ChannelLabels, ChannelAndBusLabels)
{
  TestPlug plug("1-1 2-2");
  plug.SetInputLabel(0, "left");
  plug.SetInputLabel(1, nullptr);
  plug.SetOutputLabel(7, "ignored");
  EXPECT_STREQ(plug.GetInputLabel(0), "left");
  EXPECT_STREQ(plug.GetInputLabel(1), "");
  EXPECT_STREQ(plug.GetOutputLabel(7), "");

  plug.SetInputBusLabel(2, "nothing");
  EXPECT_EQ(plug.GetInputBusLabel(0), nullptr);
  plug.SetOutputBusLabel(5, "x");
  ASSERT_NE(plug.GetOutputBusLabel(0), nullptr);
  EXPECT_STREQ(plug.GetOutputBusLabel(0)->Get(), "x") << "past the end appends";
  plug.SetOutputBusLabel(0, "first");
  plug.SetOutputBusLabel(0, "second");
  EXPECT_STREQ(plug.GetOutputBusLabel(0)->Get(), "second");
  EXPECT_EQ(plug.GetOutputBusLabel(1), nullptr) << "setting label 0 twice leaves one label";
  plug.SetOutputBusLabel(-1, "neg");
  EXPECT_EQ(plug.GetOutputBusLabel(1), nullptr);
}

TEST(BlockSize, ResizingZeroesScratchAndSameSizeKeepsIt)
{
  TestPlug plug("1-1 2-2");
  plug.SetBlockSize(8);
  plug.SetOutputChannelConnections(0, 2, false);
  double in[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  double* ins[] = {in, in};
  plug.SetInputChannelConnections(0, 2, true);
  plug.AttachInputBuffers(0, 2, ins, 8);
  plug.ProcessBuffers(0.0, 8);
  ASSERT_EQ(plug.OutScratch(0)[3], 8.0);
  plug.SetBlockSize(8);
  EXPECT_EQ(plug.OutScratch(0)[3], 8.0) << "same size leaves scratch alone";
  plug.SetBlockSize(4);
  for (int s = 0; s < 4; ++s) EXPECT_EQ(plug.OutScratch(0)[s], 0.0);
}
