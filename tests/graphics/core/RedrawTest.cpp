#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "EditorTestImages.h"
#include "lice_blend.h"
#include "lice_blit.h"

#include <memory>

namespace
{
// A background probe and three controls: two in opposite corners, one
// overlapping the first.
struct RedrawRig : EditorRig
{
  RedrawRig() : EditorRig(200, 100)
  {
    bg = new ProbeControl(&plug, IRECT(0, 0, 200, 100), -1, 0xFF000000u);
    a = new ProbeControl(&plug, IRECT(0, 0, 20, 20), -1, 0xFFFF0000u);
    b = new ProbeControl(&plug, IRECT(180, 80, 200, 100), -1, 0xFF00FF00u);
    c = new ProbeControl(&plug, IRECT(10, 10, 30, 30), -1, 0xFF0000FFu);
    for (ProbeControl* p : {bg, a, b, c}) graphics->AttachControl(p);
    Attach();
    DrawAll();
    ResetCounts();
  }
  void ResetCounts()
  {
    for (ProbeControl* p : {bg, a, b, c}) p->draws = 0;
  }
  std::string Draws() const
  {
    return std::to_string(bg->draws) + std::to_string(a->draws) + std::to_string(b->draws) +
           std::to_string(c->draws);
  }
  ProbeControl *bg, *a, *b, *c;
};
} // namespace

TEST(DirtyCheck, ReportsTheUnionOfDirtyControlsAndCleansNothing)
{
  RedrawRig rig;
  IRECT r;
  EXPECT_FALSE(rig.graphics->IsDirty(&r)) << "everything was drawn";
  rig.a->SetDirty(false);
  rig.b->SetDirty(false);
  auto* emptyOne = new ProbeControl(&rig.plug, IRECT());
  rig.graphics->AttachControl(emptyOne);
  EXPECT_TRUE(rig.graphics->IsDirty(&r));
  EXPECT_EQ(r, IRECT(0, 0, 200, 100)) << "the corners' bounding rectangle";
  EXPECT_TRUE(rig.a->IsDirty()) << "the check cleans nothing";

  rig.DrawAll();
  r = IRECT();
  emptyOne->SetDirty(false);
  rig.c->SetDirty(false);
  EXPECT_TRUE(rig.graphics->IsDirty(&r));
  EXPECT_EQ(r, IRECT(10, 10, 30, 30)) << "a dirty control with an empty rectangle does not widen it";
}

TEST(StrictRedraw, DrawsWhatTheAreaTouchesAndCleansEveryControl)
{
  RedrawRig rig;
  rig.a->SetDirty(false);
  rig.b->SetDirty(false);
  const int before = rig.graphics->DrawScreenCount();
  IRECT area(0, 0, 20, 20);
  EXPECT_TRUE(rig.graphics->Draw(&area));
  EXPECT_EQ(rig.Draws(), "1101") << "background, a and c touch the area; b does not";
  EXPECT_FALSE(rig.b->IsDirty()) << "b is cleaned although it was not drawn";
  EXPECT_EQ(rig.graphics->DrawScreenCount(), before + 1);
  EXPECT_EQ(rig.graphics->LastScreenRect(), area);
  EXPECT_EQ(rig.graphics->GetDrawRECT(), area);
  const LICE_pixel* px = static_cast<const LICE_pixel*>(rig.graphics->GetBits());
  const int span = rig.graphics->GetDrawBitmap()->getRowSpan();
  EXPECT_EQ(px[15 * span + 15], 0xFF0000FFu) << "c is drawn last, over a";
  EXPECT_EQ(px[5 * span + 5], 0xFFFF0000u);

  rig.ResetCounts();
  rig.c->Hide(true);
  rig.graphics->Draw(&area);
  EXPECT_EQ(rig.Draws(), "1100") << "a hidden control is not drawn";
  EXPECT_EQ(px[15 * span + 15], 0xFFFF0000u) << "a shows where c was";
}

TEST(NonStrictRedraw, ADirtyBackgroundRedrawsEveryShownControl)
{
  RedrawRig rig;
  rig.graphics->SetStrictDrawing(false);
  EXPECT_FALSE(rig.graphics->StrictDrawing());
  EXPECT_TRUE(rig.b->IsDirty()) << "changing the strategy dirties everything";
  rig.c->Hide(true);
  IRECT area(0, 0, 5, 5);
  rig.graphics->Draw(&area);
  EXPECT_EQ(rig.Draws(), "1110") << "the area does not matter, hidden c is left out";
  EXPECT_EQ(rig.graphics->GetDrawRECT(), IRECT(0, 0, 200, 100)) << "clipped to the background";
  EXPECT_TRUE(rig.c->IsDirty()) << "a hidden control is not cleaned either";
  EXPECT_FALSE(rig.b->IsDirty());
  EXPECT_EQ(rig.graphics->LastScreenRect(), area) << "the screen gets the area asked for";
}

TEST(NonStrictRedraw, EachDirtyControlRedrawsWhatOverlapsIt)
{
  RedrawRig rig;
  rig.graphics->SetStrictDrawing(false);
  rig.DrawAll();
  rig.ResetCounts();
  rig.a->SetDirty(false);
  IRECT area;
  rig.graphics->IsDirty(&area);
  rig.graphics->Draw(&area);
  EXPECT_EQ(rig.Draws(), "1101") << "a's rectangle takes the background, a, and the overlapping c";
  EXPECT_EQ(rig.graphics->GetDrawRECT(), IRECT(0, 0, 20, 20));
  EXPECT_FALSE(rig.a->IsDirty());

  rig.ResetCounts();
  rig.b->SetDirty(false);
  rig.c->SetDirty(false);
  rig.graphics->Draw(&area);
  EXPECT_EQ(rig.Draws(), "2111") << "one pass for b, one for c (which also takes a and the background)";

  rig.ResetCounts();
  rig.b->Hide(true);
  rig.b->SetDirty(false);
  rig.graphics->Draw(&area);
  EXPECT_EQ(rig.Draws(), "0000") << "a hidden dirty control is cleaned without drawing";
  rig.graphics->Draw(&area);
  EXPECT_EQ(rig.Draws(), "0000");
  EXPECT_FALSE(rig.b->IsDirty()) << "hiding keeps it dirty for one more redraw, then it is clean";
}

TEST(Redraw, AnEmptySurfaceDrawsNothingAndReportsSuccess)
{
  EditorRig rig;
  rig.Attach();
  IRECT area(0, 0, 10, 10);
  EXPECT_TRUE(rig.graphics->Draw(&area));
  EXPECT_EQ(rig.graphics->DrawScreenCount(), 0);
}

TEST(Backgrounds, ABackgroundAttachedLastIsStillControlZeroAndDrawnFirst)
{
  editortest::UseEditorImages();
  EditorRig rig(702, 436);
  auto* probe = new ProbeControl(&rig.plug, IRECT(100, 100, 120, 120), -1, 0xFF00FF00u);
  EXPECT_EQ(rig.graphics->AttachControl(probe), 0);
  rig.graphics->AttachBackground(9201, "resources/img/BG.png");
  ASSERT_EQ(rig.graphics->NControls(), 2);
  EXPECT_EQ(rig.graphics->GetControl(1), probe) << "the control moved up by one";
  EXPECT_EQ(*rig.graphics->GetControl(0)->GetRECT(), IRECT(0, 0, 702, 436)) << "the image's size";
  EXPECT_EQ(rig.graphics->GetControl(0)->ParamIdx(), -1);
  EXPECT_EQ(rig.graphics->AttachControl(new ProbeControl(&rig.plug, IRECT())), 2) << "indices count from 1 on";
  const IColor grey(255, 40, 40, 40);
  rig.graphics->AttachPanelBackground(&grey);
  EXPECT_EQ(rig.graphics->GetControl(2), probe);
  rig.Attach();
  rig.DrawAll();
  EXPECT_EQ(rig.graphics->GetPoint(110, 110), IColor::FromPacked(0xFF00FF00u)) << "drawn over both backgrounds";
  std::unique_ptr<LICE_IBitmap> bg(editortest::LoadImageFile("BG.png"));
  ASSERT_TRUE(bg);
  const LICE_pixel want =
    LICE_CombinePixels(grey.Packed(), LICE_GetPixel(bg.get(), 300, 300), 1.0f, LICE_OP_COPY | LICE_MODE_SRC_ALPHA);
  EXPECT_EQ(rig.graphics->GetPoint(300, 300), IColor::FromPacked(want)) << "the image over the colour panel";
}
