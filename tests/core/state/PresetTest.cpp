#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "StatePlug.h"

namespace
{
std::string Names(const IPlugBase& plug)
{
  std::string names;
  for (int i = 0; i < plug.GetPresetCount(); ++i) names += std::string(i ? "|" : "") + plug.GetPresetName(i);
  return names;
}

std::string Flags(const IPlugBase& plug)
{
  std::string flags;
  for (int i = 0; i < plug.GetPresetCount(); ++i) flags += plug.GetPreset(i)->mInitialized ? '1' : '0';
  return flags;
}
} // namespace

TEST(Presets, ConstructedEmptyAndNamedOutsideTheList)
{
  StatePlug plug(3);
  EXPECT_EQ(Names(plug), "empty|empty|empty");
  EXPECT_EQ(Flags(plug), "000");
  EXPECT_EQ(plug.GetPreset(0)->mChunk.Size(), 0);
  EXPECT_STREQ(plug.GetPresetName(-1), "");
  EXPECT_STREQ(plug.GetPresetName(3), "");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
}

TEST(Presets, DefaultPresetsTakeTheCurrentState)
{
  StatePlug plug(3);
  plug.MakeDefaultPreset("-", 1);
  EXPECT_EQ(Names(plug), "-|empty|empty");
  EXPECT_EQ(Flags(plug), "100");
  ByteChunk state;
  plug.SerializeState(&state);
  EXPECT_TRUE(plug.GetPreset(0)->mChunk.IsEqual(&state)) << Hex(BytesOf(plug.GetPreset(0)->mChunk));

  plug.MakeDefaultPreset(nullptr, 5);
  EXPECT_EQ(Names(plug), "-|Empty|Empty") << "a null name is Empty; more than the free presets does nothing more";
  EXPECT_EQ(Flags(plug), "111");

  StatePlug ensured(3);
  ensured.MakeDefaultPreset("first", 1);
  ensured.EnsureDefaultPreset();
  EXPECT_EQ(Names(ensured), "first|Empty|Empty");
  EXPECT_TRUE(ensured.GetPreset(2)->mChunk.IsEqual(&state));
}

TEST(Presets, MakePresetTakesTypedArguments)
{
  // Kinds: double, bool, int, enum, double: int arguments for the middle three.
  StatePlug plug(3, 5, false);
  plug.GetParam(0)->InitDouble("Level", 0.0, 0.0, 1.0, 0.01);
  plug.GetParam(1)->InitBool("On", false);
  plug.GetParam(2)->InitInt("Count", 0, 0, 100);
  plug.GetParam(3)->InitEnum("Mode", 0, 4);
  plug.GetParam(4)->InitDouble("Level", 0.0, 0.0, 1.0, 0.01);
  plug.MakePreset("typed", 0.25, 1, 42, 3, 99.0);
  EXPECT_EQ(Names(plug), "typed|empty|empty");
  EXPECT_EQ(BytesOf(plug.GetPreset(0)->mChunk), BytesOfDoubles({0.25, 1.0, 42.0, 3.0, 99.0}))
    << "values are stored as given, unclamped";

  plug.MakePresetFromNamedParams("named", 2, 2, 7, 4, 3.5);
  EXPECT_EQ(BytesOf(plug.GetPreset(1)->mChunk), BytesOfDoubles({0.0, 0.0, 7.0, 0.0, 3.5}))
    << "parameters 0, 1 and 3 take their current values";
}

TEST(Presets, NamedParamsKeepCurrentValues)
{
  StatePlug plug(2);
  plug.GetParam(0)->Set(1.25);
  plug.MakePresetFromNamedParams("x", 1, 2, 3.5);
  EXPECT_EQ(BytesOf(plug.GetPreset(0)->mChunk), BytesOfDoubles({1.25, 5.0, 3.5, 5.0, 1.0}));

  // Pairs stop at an index outside the list: its value's type is unknown, so
  // the pairs after it (here 1, 8.0) are not read either.
  plug.MakePresetFromNamedParams("bad index", 3, 0, 2.0, 7, 6.0, 1, 8.0);
  EXPECT_EQ(BytesOf(plug.GetPreset(1)->mChunk), BytesOfDoubles({2.0, 5.0, 5.0, 5.0, 1.0}));

  StatePlug negative(1);
  negative.MakePresetFromNamedParams("negative index", 1, -1, 2.0);
  EXPECT_EQ(BytesOf(negative.GetPreset(0)->mChunk), BytesOfDoubles({0.0, 5.0, 5.0, 5.0, 1.0}));
  EXPECT_STREQ(negative.GetPresetName(0), "negative index");
}

TEST(Presets, ChunkAndBlobPresets)
{
  StatePlug plug(4);
  ByteChunk chunk;
  chunk.AppendBytes("\x01\x02", 2);
  plug.MakePresetFromChunk("chunk", &chunk);
  plug.MakePresetFromBlob("blob3", "AAEC", 3);
  plug.MakePresetFromBlob("blob4", "AAE=", 4);
  plug.MakePresetFromBlob("blob0", "AAEC", -2);
  EXPECT_EQ(Names(plug), "chunk|blob3|blob4|blob0");
  EXPECT_EQ(Hex(BytesOf(plug.GetPreset(0)->mChunk)), "01 02");
  EXPECT_EQ(Hex(BytesOf(plug.GetPreset(1)->mChunk)), "00 01 02");
  EXPECT_EQ(Hex(BytesOf(plug.GetPreset(2)->mChunk)), "00 01 00 00") << "a short text is zero-filled";
  EXPECT_EQ(plug.GetPreset(3)->mChunk.Size(), 0) << "a negative size stores nothing";
  EXPECT_EQ(Flags(plug), "1111");

  plug.MakePresetFromBlob("no room", "AAEC", 3);
  plug.MakePresetFromChunk("no room", &chunk);
  plug.MakePreset("no room", 0.0, 0.0, 0.0, 0.0, 0);
  plug.MakePresetFromNamedParams("no room", 0);
  plug.MakeDefaultPreset("no room", 1);
  EXPECT_EQ(Names(plug), "chunk|blob3|blob4|blob0") << "makers do nothing when every preset is taken";
}

TEST(Presets, LongNamesAreCutToTheField)
{
  StatePlug plug(3);
  const std::string longName(300, 'n');
  plug.MakeDefaultPreset(longName.c_str(), 1);
  EXPECT_EQ(std::string(plug.GetPresetName(0)), longName.substr(0, 255));
  plug.MakePresetFromBlob(longName.c_str(), "", 0);
  EXPECT_EQ(std::strlen(plug.GetPresetName(1)), 255u);
  plug.RestorePreset(0);
  plug.ModifyCurrentPreset(longName.c_str());
  EXPECT_EQ(std::strlen(plug.GetPresetName(0)), 255u);
}

TEST(Presets, UserPresetNames)
{
  char name[IPreset::kNameSize];
  WDL_PtrList<IPreset> empty;
  MakeDefaultUserPresetName(&empty, name);
  EXPECT_STREQ(name, "user preset 1");
  EXPECT_EQ(GetNextUninitializedPreset(&empty), nullptr);
  EXPECT_EQ(GetNextUninitializedPreset(nullptr), nullptr);

  StatePlug plug(4);
  std::strcpy(plug.GetPreset(0)->mName, "my user preset 7");
  std::strcpy(plug.GetPreset(1)->mName, "User Preset");
  std::strcpy(plug.GetPreset(2)->mName, "user preset");
  MakeDefaultUserPresetName(&plug.mPresets, name);
  EXPECT_STREQ(name, "user preset 3") << "contains, case-sensitive, counted over every preset";
  plug.GetPreset(0)->mInitialized = true;
  EXPECT_EQ(GetNextUninitializedPreset(&plug.mPresets), plug.GetPreset(1));
}

TEST(Presets, RestoreByIndexSetsParametersAndRedraws)
{
  StatePlug plug(3);
  std::vector<RecordingEditor::Call> calls;
  plug.AttachGraphics(new RecordingEditor(&calls));
  plug.MakePreset("a", 1.0, 2.0, 3.0, 4.0, 0);
  plug.MakePreset("b", 12.0, 5.0, 5.0, 5.0, 1);
  calls.clear();
  plug.changed.clear();

  ASSERT_TRUE(plug.RestorePreset(1));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(ValuesOf(plug), (std::vector<double>{10.0, 5.0, 5.0, 5.0, 1.0})) << "12 clamps to 10";
  EXPECT_EQ(plug.changed, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(plug.presetChanges, 1);
  ASSERT_EQ(calls.size(), 5u);
  for (int i = 0; i < 5; ++i)
  {
    EXPECT_EQ(calls[static_cast<size_t>(i)].paramIdx, i);
    EXPECT_EQ(calls[static_cast<size_t>(i)].value, plug.GetParam(i)->Value()) << "plain value for " << i;
    EXPECT_FALSE(calls[static_cast<size_t>(i)].normalized);
  }

  ASSERT_TRUE(plug.RestorePreset("a"));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_EQ(ValuesOf(plug), (std::vector<double>{1.0, 2.0, 3.0, 4.0, 0.0}));

  calls.clear();
  plug.changed.clear();
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_FALSE(plug.RestorePreset(3));
  EXPECT_FALSE(plug.RestorePreset("A")) << "names match case-sensitively";
  EXPECT_FALSE(plug.RestorePreset(""));
  EXPECT_FALSE(plug.RestorePreset(static_cast<const char*>(nullptr)));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(plug.presetChanges, 2);
}

TEST(Presets, RestoreOfUnreadablePresetFails)
{
  StatePlug plug(2);
  ByteChunk shortChunk;
  shortChunk.AppendBytes("abc", 3);
  plug.MakePresetFromChunk("short", &shortChunk);
  plug.MakeDefaultPreset("ok", 1);
  ASSERT_TRUE(plug.RestorePreset(1));
  EXPECT_FALSE(plug.RestorePreset(0)) << "a 3-byte state does not read back";
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_EQ(plug.presetChanges, 1);

  StatePlug none(1, 0);
  none.MakeDefaultPreset("-", 1);
  EXPECT_FALSE(none.RestorePreset(0)) << "with no parameters the state reads back as 0";
}

TEST(Presets, RestoringAnEmptyPresetStoresAUserPreset)
{
  StatePlug plug(3);
  plug.MakeDefaultPreset("-", 1);
  std::strcpy(plug.GetPreset(1)->mName, "user preset 1");
  plug.GetPreset(1)->mInitialized = true;
  plug.GetPreset(1)->mChunk.AppendChunk(&plug.GetPreset(0)->mChunk);
  plug.GetParam(0)->Set(7.5);

  ASSERT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 2");
  EXPECT_TRUE(plug.GetPreset(2)->mInitialized);
  EXPECT_EQ(BytesOf(plug.GetPreset(2)->mChunk), BytesOfDoubles({7.5, 5.0, 5.0, 5.0, 1.0}));
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);

  // Its own old name counts too.
  StatePlug own(1);
  std::strcpy(own.GetPreset(0)->mName, "old user preset");
  ASSERT_TRUE(own.RestorePreset(0));
  EXPECT_STREQ(own.GetPresetName(0), "user preset 2");
}

TEST(Presets, ModifyCurrentPresetAndPrune)
{
  StatePlug plug(4);
  plug.MakeDefaultPreset("a", 1);
  plug.MakeDefaultPreset("b", 1);
  ASSERT_TRUE(plug.RestorePreset(1));
  plug.GetParam(3)->Set(9.0);
  plug.ModifyCurrentPreset(nullptr);
  EXPECT_EQ(Names(plug), "a|b|empty|empty");
  EXPECT_EQ(BytesOf(plug.GetPreset(1)->mChunk), BytesOfDoubles({0.0, 5.0, 5.0, 9.0, 1.0}));
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.GetPresetName(1), "b");
  plug.ModifyCurrentPreset("renamed");
  EXPECT_STREQ(plug.GetPresetName(1), "renamed");
  EXPECT_EQ(plug.GetPreset(1)->mChunk.Size(), 40) << "the chunk is replaced, not appended to";

  std::strcpy(plug.GetPreset(2)->mName, "gone");
  plug.PruneUninitializedPresets();
  EXPECT_EQ(Names(plug), "a|renamed");
  plug.mCurrentPresetIdx = 5;
  plug.ModifyCurrentPreset("outside");
  EXPECT_EQ(Names(plug), "a|renamed") << "no current preset, nothing modified";

  StatePlug mixed(5);
  mixed.MakeDefaultPreset("x", 1);
  mixed.GetPreset(3)->mInitialized = true;
  std::strcpy(mixed.GetPreset(3)->mName, "y");
  mixed.PruneUninitializedPresets();
  EXPECT_EQ(Names(mixed), "x|y");
}

TEST(PresetBank, LayoutOfTheExampleBank)
{
  StatePlug plug(2);
  plug.MakeDefaultPreset("-", 1);
  ByteChunk bank;
  ASSERT_TRUE(plug.SerializePresets(&bank));
  EXPECT_EQ(bank.Size(), 56);
  const std::string expected = std::string("01 00 00 00 2D 01 ") +
                               "00 00 00 00 00 00 00 00 00 00 00 00 00 00 14 40 00 00 00 00 00 00 14 40 "
                               "00 00 00 00 00 00 14 40 00 00 00 00 00 00 F0 3F "
                               "05 00 00 00 65 6D 70 74 79 00";
  EXPECT_EQ(Hex(BytesOf(bank)), expected);
  EXPECT_FALSE(plug.SerializePresets(nullptr));

  StatePlug none(0);
  ByteChunk emptyBank;
  EXPECT_TRUE(none.SerializePresets(&emptyBank)) << "no presets is an empty bank";
  EXPECT_EQ(emptyBank.Size(), 0);
}

TEST(PresetBank, RoundTripWithUninitialisedPresets)
{
  StatePlug source(4);
  source.MakePreset("one", 1.0, 2.0, 3.0, 4.0, 0);
  source.GetPreset(2)->mInitialized = true; // after an empty slot
  std::strcpy(source.GetPreset(2)->mName, "three");
  FillChunk(&source.GetPreset(2)->mChunk, BytesOfDoubles({0.5, 0.5, 0.5, 0.5, 1.0}));
  ByteChunk bank;
  ASSERT_TRUE(source.SerializePresets(&bank));
  EXPECT_EQ(bank.Size(), (4 + 3 + 1 + 40) + (4 + 5 + 1) + (4 + 5 + 1 + 40) + (4 + 5 + 1));

  StatePlug target(4);
  for (int i = 0; i < 4; ++i) target.MakeDefaultPreset("old", 1); // every slot filled before the load
  target.mCurrentPresetIdx = 2;
  target.presetChanges = 0;
  ByteChunk prefixed;
  prefixed.AppendBytes("PRE", 3);
  prefixed.AppendChunk(&bank);
  EXPECT_EQ(target.UnserializePresets(&prefixed, 3), prefixed.Size());
  EXPECT_EQ(Names(target), "one|empty|three|empty");
  EXPECT_EQ(Flags(target), "1010");
  EXPECT_EQ(target.GetPreset(1)->mChunk.Size(), 0) << "a preset read as not initialised holds no state";
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(target.GetPreset(i)->mChunk.IsEqual(&source.GetPreset(i)->mChunk)) << "preset " << i;
  EXPECT_EQ(ValuesOf(target), (std::vector<double>{0.5, 0.5, 0.5, 0.5, 1.0})) << "the current preset is restored";
  EXPECT_EQ(target.presetChanges, 1);

  // A preset made in a freed slot starts from an empty chunk.
  target.MakePresetFromBlob("new", "AAEC", 3);
  EXPECT_EQ(Hex(BytesOf(target.GetPreset(1)->mChunk)), "00 01 02");
}

TEST(PresetBank, LoadStoresClampedValuesAndStopsWhenShort)
{
  StatePlug plug(2);
  ByteChunk bank;
  bank.AppendString("hot");
  bank.AppendBool(true);
  ByteChunk state;
  FillChunk(&state, BytesOfDoubles({12.0, -1.0, 5.0, 5.0, 3.0}));
  bank.AppendChunk(&state);
  const int firstEnd = bank.Size();
  bank.AppendString("cut");
  bank.AppendBool(true);
  bank.AppendBytes("\0\0\0", 3); // a state that ends early

  EXPECT_EQ(plug.UnserializePresets(&bank, 0), -1);
  EXPECT_EQ(Names(plug), "hot|cut");
  EXPECT_EQ(BytesOf(plug.GetPreset(0)->mChunk), BytesOfDoubles({10.0, 0.0, 5.0, 5.0, 1.0}))
    << "the preset holds the values as the parameters clamped them";

  StatePlug shortName(2);
  shortName.MakeDefaultPreset("keep", 2);
  ByteChunk truncated;
  FillChunk(&truncated, std::vector<unsigned char>(bank.Data(), bank.Data() + firstEnd + 2));
  EXPECT_EQ(shortName.UnserializePresets(&truncated, 0), -1);
  EXPECT_STREQ(shortName.GetPresetName(0), "hot");
  EXPECT_STREQ(shortName.GetPresetName(1), "hot") << "a name that does not read back keeps the last name read";
  EXPECT_EQ(Flags(shortName), "11");

  StatePlug negative(1);
  negative.MakeDefaultPreset("kept", 1);
  EXPECT_EQ(negative.UnserializePresets(&bank, -1), -1);
  EXPECT_STREQ(negative.GetPresetName(0), "kept");
  EXPECT_EQ(negative.presetChanges, 1) << "the current preset is restored even when nothing was read";
}
