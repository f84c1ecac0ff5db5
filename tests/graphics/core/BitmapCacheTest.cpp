#include <gtest/gtest.h>

#include <memory>

#include "BitmapStorage.h"
#include "CoreTestSupport.h"
#include "EditorTestImages.h"
#include "LICE_MemBitmap.h"
#include "lice_blit.h"

using editortest::UseEditorImages;

namespace
{
// Draws one bitmap at a destination with a source offset or a frame.
class BitmapProbe : public IControl
{
public:
  BitmapProbe(IPlugBase* plug, IRECT rect, IBitmap bitmap) : IControl(plug, rect), mBitmap(bitmap) {}
  bool Draw(IGraphics* g) override
  {
    return frame > 0 ? g->DrawBitmap(&mBitmap, &dest, frame, nullptr) : g->DrawBitmap(&mBitmap, &dest, srcX, srcY);
  }
  IBitmap mBitmap;
  IRECT dest;
  int srcX = 0, srcY = 0, frame = 0;
};

// A 4 x 10 image whose every pixel tells its own row: red = row, green = column.
std::unique_ptr<LICE_IBitmap> RowCodedImage(int w, int h)
{
  auto bmp = std::make_unique<LICE_MemBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bmp->getBits()[y * bmp->getRowSpan() + x] = LICE_RGBA(y, x, 7, 255);
  return bmp;
}
} // namespace

TEST(BitmapCache, TwoEditorsShareOneDecodedImage)
{
  UseEditorImages();
  EditorRig a, b;
  IBitmap first = a.graphics->LoadIBitmap(9101, "resources/img/SIZE.png", 61);
  ASSERT_NE(first.mData, nullptr) << "the image loads from the resource folder";
  EXPECT_EQ(a.graphics->OSLoadCount(), 1);
  const int stored = s_bitmapCache.Count();
  IBitmap second = b.graphics->LoadIBitmap(9101, "resources/img/SIZE.png", 1, true);
  EXPECT_EQ(b.graphics->OSLoadCount(), 0) << "the second editor finds the image in the cache";
  EXPECT_EQ(second.mData, first.mData);
  EXPECT_EQ(s_bitmapCache.Count(), stored) << "nothing is added for a cached id";
  EXPECT_EQ(second.W, first.W);
  EXPECT_EQ(second.H, first.H);
  EXPECT_EQ(first.N, 61);
  EXPECT_EQ(second.N, 1) << "the frame count comes from each call, not from the cache";
  EXPECT_TRUE(second.mFramesAreHorizontal);
  EXPECT_EQ(first.frameHeight(), first.H / 61);
  a.Attach();
  b.Attach();
}

TEST(BitmapCache, AMissingImageIsNotStoredAndDrawsNothing)
{
  UseEditorImages();
  EditorRig rig;
  const int stored = s_bitmapCache.Count();
  IBitmap none = rig.graphics->LoadIBitmap(9102, "resources/img/NOTHERE.png", 2);
  EXPECT_EQ(none.mData, nullptr);
  EXPECT_EQ(none.W, 0);
  EXPECT_EQ(none.H, 0);
  EXPECT_EQ(s_bitmapCache.Count(), stored);
  rig.graphics->LoadIBitmap(9102, "resources/img/NOTHERE.png", 2);
  EXPECT_EQ(rig.graphics->OSLoadCount(), 2) << "a failed load is tried again next time";
  rig.graphics->AttachControl(new BitmapProbe(&rig.plug, IRECT(0, 0, 20, 20), none));
  rig.Attach();
  IRECT all(0, 0, 200, 100);
  EXPECT_TRUE(rig.graphics->Draw(&all)) << "drawing an image that is not there is harmless";
}

TEST(BitmapCache, ImagesAreFoundByTheirLastPathComponentAndPngExtension)
{
  UseEditorImages();
  EditorRig rig;
  const struct
  {
    const char* name;
    bool loads;
  } cases[] = {{"resources/img/BG.png", true}, {"BG.png", true},   {"/any/where/BG.PNG", true},
               {"resources/img/BG.jpg", false}, {"BG", false},    {"resources/img/", false},
               {"", false},                     {nullptr, false}, {"resources/img/.png", false}};
  for (const auto& c : cases)
  {
    std::unique_ptr<LICE_IBitmap> bmp(rig.graphics->OSLoadBitmap(0, c.name));
    EXPECT_EQ(bmp != nullptr, c.loads) << (c.name ? c.name : "(null)");
    if (bmp)
    {
      EXPECT_EQ(bmp->getWidth(), 702) << c.name;
      EXPECT_EQ(bmp->getHeight(), 436) << c.name;
    }
  }
}

TEST(BitmapCache, ScaledCroppedRetainedAndReleasedBitmapsLiveUnderNoId)
{
  EditorRig rig;
  auto src = RowCodedImage(4, 10);
  IBitmap bmp(src.get(), 4, 10, 2);
  const int stored = s_bitmapCache.Count();
  IRECT area(1, 5, 3, 8);
  IBitmap crop = rig.graphics->CropBitmap(&bmp, &area);
  ASSERT_NE(crop.mData, nullptr);
  EXPECT_EQ(crop.W, 2);
  EXPECT_EQ(crop.H, 3);
  EXPECT_EQ(crop.N, 2);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(LICE_GetPixel(crop.mData, x, y), LICE_RGBA(5 + y, 1 + x, 7, 255)) << x << "," << y;
  IBitmap scaled = rig.graphics->ScaleBitmap(&bmp, 8, 20);
  ASSERT_NE(scaled.mData, nullptr);
  EXPECT_EQ(scaled.mData->getWidth(), 8);
  EXPECT_EQ(scaled.mData->getHeight(), 20);
  EXPECT_EQ(LICE_GETR(LICE_GetPixel(scaled.mData, 0, 19)), 9u) << "the last row stays the last row";
  EXPECT_EQ(s_bitmapCache.Count(), stored + 2);
  EXPECT_EQ(s_bitmapCache.Find(-1), nullptr) << "run-time bitmaps are never found by id";

  rig.graphics->ReleaseBitmap(&crop);
  EXPECT_EQ(crop.mData, nullptr);
  rig.graphics->ReleaseBitmap(&scaled);
  EXPECT_EQ(s_bitmapCache.Count(), stored);

  IBitmap retained(new LICE_MemBitmap(3, 3), 3, 3);
  rig.graphics->RetainBitmap(&retained);
  EXPECT_EQ(s_bitmapCache.Count(), stored + 1) << "the storage now owns it";
  rig.graphics->ReleaseBitmap(&retained);
  EXPECT_EQ(s_bitmapCache.Count(), stored);
  rig.Attach();
}

TEST(DrawBitmap, ClipsToTheDrawRectangleAndMovesTheSourceWithTheCut)
{
  EditorRig rig(40, 40);
  auto src = RowCodedImage(4, 10);
  auto* probe = new BitmapProbe(&rig.plug, IRECT(0, 0, 40, 40), IBitmap(src.get(), 4, 10));
  probe->dest = IRECT(10, 10, 14, 20);
  rig.graphics->AttachControl(probe);
  rig.Attach();
  LICE_IBitmap* screen = rig.graphics->GetDrawBitmap();
  LICE_Clear(screen, 0);

  probe->Draw(rig.graphics);
  EXPECT_EQ(LICE_GetPixel(screen, 10, 10), 0u) << "before any redraw the draw rectangle is empty";

  IRECT part(12, 15, 40, 40);
  rig.graphics->Draw(&part);
  EXPECT_EQ(rig.graphics->GetDrawRECT(), part);
  for (int y = 10; y < 20; ++y)
    for (int x = 10; x < 14; ++x)
    {
      const LICE_pixel expected = part.Contains(x, y) ? LICE_RGBA(y - 10, x - 10, 7, 255) : 0u;
      EXPECT_EQ(LICE_GetPixel(screen, x, y), expected) << "pixel " << x << "," << y;
    }

  LICE_Clear(screen, 0);
  probe->srcX = 1;
  probe->srcY = 3;
  IRECT all(0, 0, 40, 40);
  rig.graphics->Draw(&all);
  EXPECT_EQ(LICE_GetPixel(screen, 10, 10), LICE_RGBA(3, 1, 7, 255));
  EXPECT_EQ(LICE_GetPixel(screen, 12, 16), LICE_RGBA(9, 3, 7, 255));
  EXPECT_EQ(LICE_GetPixel(screen, 13, 10), 0u) << "the source ends after 3 columns from offset 1";
}

TEST(DrawBitmap, FramesStartWhereTheRoundedFrameHeightSays)
{
  EditorRig rig(40, 40);
  auto src = RowCodedImage(4, 10);
  auto* probe = new BitmapProbe(&rig.plug, IRECT(0, 0, 40, 40), IBitmap(src.get(), 4, 10, 3));
  probe->dest = IRECT(0, 0, 4, 3);
  rig.graphics->AttachControl(probe);
  rig.Attach();
  IRECT all(0, 0, 40, 40);
  // 10 rows in 3 frames: frame 2 starts at (int)(10 / 3 + 0.5) = 3, frame 3 at (int)(20 / 3 + 0.5) = 7.
  const struct
  {
    int frame;
    unsigned firstRow;
  } cases[] = {{0, 0}, {1, 0}, {2, 3}, {3, 7}};
  for (const auto& c : cases)
  {
    probe->frame = c.frame;
    rig.graphics->Draw(&all);
    EXPECT_EQ(LICE_GETR(LICE_GetPixel(rig.graphics->GetDrawBitmap(), 0, 0)), c.firstRow) << "frame " << c.frame;
  }
  IBitmap sideBySide(src.get(), 4, 10, 2, true);
  probe->mBitmap = sideBySide;
  probe->frame = 2;
  rig.graphics->Draw(&all);
  EXPECT_EQ(LICE_GETG(LICE_GetPixel(rig.graphics->GetDrawBitmap(), 0, 0)), 2u) << "side by side: frame 2 at x = 2";
}
