#include <gtest/gtest.h>

#include <memory>

#include "EditorTestSupport.h"
#include "IBitmapControl.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"

using namespace editortest;

namespace
{
std::unique_ptr<MURAX> MakeEffect()
{
  UseEditorImages();
  return std::unique_ptr<MURAX>(static_cast<MURAX*>(MakePlug()));
}

const double kDefaults[5] = {0.0, 0.5, 0.5, 0.5, 1.0};
} // namespace

TEST(EditorPanel, SixControlsInOrderSizedByTheirImages)
{
  auto plug = MakeEffect();
  IGraphicsHeadless* g = HeadlessEditor(plug.get());
  ASSERT_NE(g, nullptr) << "tests link the headless platform";
  EXPECT_EQ(g->Width(), 702);
  EXPECT_EQ(g->Height(), 436);
  EXPECT_EQ(g->FPS(), 25) << "a refresh rate of 0 becomes 25";
  EXPECT_STREQ(g->GetBundleID(), "com.TindermoorAudio.vst3.MURAX");
  ASSERT_EQ(g->NControls(), 6);
  PanelReference ref;
  ASSERT_TRUE(ref.Loaded()) << "images in " << EditorImagesFolder();
  for (int i = 0; i < 6; ++i)
  {
    const PanelImage& img = PanelImages()[static_cast<size_t>(i)];
    IControl* c = g->GetControl(i);
    LICE_IBitmap* file = ref.Image(i);
    const IRECT expected(img.x, img.y, img.x + file->getWidth(), img.y + file->getHeight() / img.frames);
    EXPECT_EQ(*c->GetRECT(), expected) << img.file;
    EXPECT_EQ(c->ParamIdx(), img.param) << img.file;
    EXPECT_EQ(c->GetBlend()->mMethod, IChannelBlend::kBlendNone) << img.file;
  }
  EXPECT_NE(dynamic_cast<IBitmapControl*>(g->GetControl(0)), nullptr);
  EXPECT_NE(dynamic_cast<ISwitchControl*>(g->GetControl(1)), nullptr);
  for (int i = 2; i < 6; ++i) EXPECT_NE(dynamic_cast<IKnobMultiControl*>(g->GetControl(i)), nullptr) << i;
  auto* mic = dynamic_cast<IKnobMultiControl*>(g->GetControl(2));
  ASSERT_NE(mic, nullptr);
  EXPECT_EQ(mic->GetDirection(), kHorizontal);
  EXPECT_DOUBLE_EQ(mic->GetGearing(), 0.5);
  for (int i = 3; i < 6; ++i)
  {
    auto* knob = dynamic_cast<IKnobMultiControl*>(g->GetControl(i));
    EXPECT_EQ(knob->GetDirection(), kVertical) << i;
    EXPECT_DOUBLE_EQ(knob->GetGearing(), 2.0) << i;
  }
  EXPECT_STREQ(plug->GetPresetName(0), "-") << "the default preset follows the editor";
}

TEST(EditorPanel, DefaultsShowTheLitSwitchMiddleKnobsAndTheMicAtTheCap)
{
  auto plug = MakeEffect();
  IGraphicsHeadless* g = HeadlessEditor(plug.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(dynamic_cast<ISwitchControl*>(g->GetControl(1))->CurrentFrame(), 2);
  EXPECT_EQ(dynamic_cast<IKnobMultiControl*>(g->GetControl(2))->CurrentFrame(), 1);
  for (int i = 3; i < 6; ++i) EXPECT_EQ(dynamic_cast<IKnobMultiControl*>(g->GetControl(i))->CurrentFrame(), 31) << i;
  for (int i = 1; i < 6; ++i)
    EXPECT_DOUBLE_EQ(g->GetControl(i)->GetDefaultValue(), kDefaults[PanelImages()[static_cast<size_t>(i)].param]) << i;

  // The pixels say the same: each knob's area is its frame 31 and not a neighbour.
  PanelReference ref;
  ASSERT_TRUE(ref.Loaded());
  ASSERT_TRUE(g->Tick()) << "everything is dirty after construction";
  for (int i = 3; i < 6; ++i)
  {
    const IRECT r = *g->GetControl(i)->GetRECT();
    for (int frame : {30, 31, 32})
    {
      std::vector<LICE_pixel> panel = ref.Compose(kDefaults);
      ref.ComposeImage(panel, 0, 1); // background again, then this knob at the frame tried
      ref.ComposeImage(panel, i, frame);
      std::string first;
      const int bad = CountMismatches(g, panel, r, &first);
      if (frame == 31)
      {
        EXPECT_EQ(bad, 0) << PanelImages()[static_cast<size_t>(i)].file << " first at " << first;
      }
      else
      {
        EXPECT_GT(bad, 0) << PanelImages()[static_cast<size_t>(i)].file << " frame " << frame;
      }
    }
  }
}

TEST(EditorPanel, TheComposedPanelMatchesTheImagesAtTwoSetsOfValues)
{
  auto plug = MakeEffect();
  IGraphicsHeadless* g = HeadlessEditor(plug.get());
  ASSERT_NE(g, nullptr);
  PanelReference ref;
  ASSERT_TRUE(ref.Loaded());
  const IRECT all(0, 0, 702, 436);
  ASSERT_TRUE(g->Tick());
  std::string first;
  EXPECT_EQ(CountMismatches(g, ref.Compose(kDefaults), all, &first), 0) << "defaults, first at " << first;
  EXPECT_EQ(g->LastScreenRect(), all) << "the first redraw covers the panel";

  const double other[5] = {0.9, 0.0, 1.0, 0.25, 0.0};
  for (int p = 0; p < 5; ++p) g->SetParameterFromPlug(p, other[p], true);
  ASSERT_TRUE(g->Tick());
  EXPECT_EQ(CountMismatches(g, ref.Compose(other), all, &first), 0) << "second set, first at " << first;
  EXPECT_EQ(dynamic_cast<IKnobMultiControl*>(g->GetControl(2))->CurrentFrame(), 55);
  EXPECT_EQ(dynamic_cast<IKnobMultiControl*>(g->GetControl(5))->CurrentFrame(), 16);
  EXPECT_TRUE(g->Tick()) << "a value from the plug-in is drawn in two redraws";
  EXPECT_FALSE(g->Tick());
}

TEST(EditorPanel, KnobsFollowTheirOwnDirectionAndGearing)
{
  auto plug = MakeEffect();
  IGraphicsHeadless* g = HeadlessEditor(plug.get());
  ASSERT_NE(g, nullptr);
  IMouseMod left(true), shift(true, false, true);
  const IRECT mic = *g->GetControl(2)->GetRECT();
  const int mx = mic.L + 10, my = mic.T + 10;
  g->OnMouseDown(mx, my, &left);
  g->OnMouseDrag(mx, my + 40, &left);
  EXPECT_DOUBLE_EQ(g->GetControl(2)->GetValue(), 0.0) << "the mic ignores vertical drags";
  g->OnMouseDrag(mx + mic.W() / 4, my + 40, &left);
  g->OnMouseUp(mx + mic.W() / 4, my + 40, &left);
  EXPECT_NEAR(g->GetControl(2)->GetValue(), (mic.W() / 4) / static_cast<double>(mic.W()) / 0.5, 1e-12)
    << "a quarter of the strip's width is half the range";
  EXPECT_NEAR(plug->GetParam(MURAX::kMicPlacement)->Value(), 10.0 * g->GetControl(2)->GetValue(), 1e-9);

  const IRECT size = *g->GetControl(3)->GetRECT();
  const int sx = size.L + size.W() / 2, sy = size.T + size.H() / 2;
  g->OnMouseDown(sx, sy, &left);
  g->OnMouseDrag(sx + 30, sy, &left);
  EXPECT_DOUBLE_EQ(g->GetControl(3)->GetValue(), 0.5) << "vertical knobs ignore horizontal drags";
  g->OnMouseDrag(sx + 30, sy - size.H() / 2, &left);
  EXPECT_NEAR(g->GetControl(3)->GetValue(), 0.5 + (size.H() / 2) / 2.0 / size.H(), 1e-12) << "gearing 2";
  g->OnMouseUp(sx + 30, sy - size.H() / 2, &left);
  g->OnMouseDown(sx, sy, &shift);
  g->OnMouseDrag(sx, sy + size.H(), &shift);
  g->OnMouseUp(sx, sy + size.H(), &shift);
  EXPECT_NEAR(g->GetControl(3)->GetValue(), 0.75 - 1.0 / 20.0, 1e-12) << "shift makes it ten times finer";

  IMouseMod none;
  g->OnMouseWheel(sx, sy, &none, 3);
  EXPECT_NEAR(g->GetControl(3)->GetValue(), 0.73, 1e-12) << "three notches";
  const IRECT sw = *g->GetControl(1)->GetRECT();
  g->OnMouseDown(sw.L + 2, sw.T + 2, &left);
  g->OnMouseUp(sw.L + 2, sw.T + 2, &left);
  EXPECT_DOUBLE_EQ(plug->GetParam(MURAX::kBypass)->Value(), 0.0) << "a click on the switch bypasses the effect";
}

TEST(EditorPanel, ASecondEffectTakesEveryImageFromTheCache)
{
  auto first = MakeEffect();
  auto second = MakeEffect();
  IGraphicsHeadless* a = HeadlessEditor(first.get());
  IGraphicsHeadless* b = HeadlessEditor(second.get());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->OSLoadCount(), 0) << "no image is read twice in one process";
  for (int i = 0; i < 6; ++i)
  {
    auto* ca = dynamic_cast<IBitmapControl*>(a->GetControl(i));
    auto* cb = dynamic_cast<IBitmapControl*>(b->GetControl(i));
    auto* ka = dynamic_cast<IKnobMultiControl*>(a->GetControl(i));
    auto* kb = dynamic_cast<IKnobMultiControl*>(b->GetControl(i));
    const LICE_IBitmap* ba = ca ? ca->GetBitmap().mData : ka ? ka->GetBitmap().mData : nullptr;
    const LICE_IBitmap* bb = cb ? cb->GetBitmap().mData : kb ? kb->GetBitmap().mData : nullptr;
    ASSERT_NE(ba, nullptr) << i;
    EXPECT_EQ(ba, bb) << "control " << i << " shares one decoded image";
  }
  first.reset();
  ASSERT_TRUE(b->Tick()) << "the images outlive the first effect";
  PanelReference ref;
  std::string where;
  EXPECT_EQ(CountMismatches(b, ref.Compose(kDefaults), IRECT(0, 0, 702, 436), &where), 0) << where;
}
