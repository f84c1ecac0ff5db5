#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "LICE_MemBitmap.h"
#include "PngTestUtil.h"
#include "RasterTestUtil.h"
#include "lice_png.h"

using rastertest::encodePng;
using rastertest::GuardedBitmap;
using rastertest::hex;
using rastertest::PngImage;
using rastertest::px;

namespace {

LICE_pixel pixelAt(LICE_IBitmap* bm, int x, int y) { return bm->getBits()[y * bm->getRowSpan() + x]; }

std::unique_ptr<LICE_IBitmap> decodeMemory(const std::vector<uint8_t>& bytes)
{
  return std::unique_ptr<LICE_IBitmap>(
      LICE_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr));
}

class TempDir
{
public:
  TempDir()
  {
    char tmpl[] = "/tmp/murax_raster_png_XXXXXX";
    m_path = mkdtemp(tmpl);
  }
  ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }
  std::string file(const std::string& name) const { return m_path + "/" + name; }
  const std::string& path() const { return m_path; }

private:
  std::string m_path;
};

PngImage paletteImage()
{
  PngImage img;
  img.width = 3, img.height = 2;
  img.colourType = PNG_COLOR_TYPE_PALETTE;
  img.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
  img.rows = {{0, 1, 2}, {3, 2, 1}};
  return img;
}

TEST(Png, PaletteWithoutTransparencyIsOpaque)
{
  const auto bm = decodeMemory(encodePng(paletteImage()));
  ASSERT_TRUE(bm);
  ASSERT_EQ(bm->getWidth(), 3);
  ASSERT_EQ(bm->getHeight(), 2);
  EXPECT_EQ(bm->getRowSpan(), 4) << "memory bitmap with line alignment 4";
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(255, 0, 0, 255)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 2, 0)), hex(px(0, 0, 255, 255)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 1)), hex(px(10, 20, 30, 255)));
}

TEST(Png, PaletteTransparencyBecomesAlpha)
{
  PngImage img = paletteImage();
  img.paletteAlpha = {0, 128};  // entries 2 and 3 stay opaque
  const auto bm = decodeMemory(encodePng(img));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(255, 0, 0, 0)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 1, 0)), hex(px(0, 255, 0, 128)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 2, 0)), hex(px(0, 0, 255, 255)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 1)), hex(px(10, 20, 30, 255)));
}

TEST(Png, SixteenBitRgbaKeepsHighBytes)
{
  PngImage img;
  img.width = 2, img.height = 1;
  img.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  img.depth = 16;
  img.rows = {{0xAB, 0xCD, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0x01, 0x01, 0x80}};
  const auto bm = decodeMemory(encodePng(img));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(0xAB, 0x12, 0x56, 0x9A)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 1, 0)), hex(px(0x00, 0xFF, 0x80, 0x01)));
}

TEST(Png, OneBitGreyExpandsToBlackAndWhite)
{
  PngImage img;
  img.width = 10, img.height = 2;
  img.colourType = PNG_COLOR_TYPE_GRAY;
  img.depth = 1;
  img.rows = {{0xA5, 0x80}, {0x00, 0x40}};  // 1010 0101 10, 0000 0000 01
  const auto bm = decodeMemory(encodePng(img));
  ASSERT_TRUE(bm);
  const char* bits[] = {"1010010110", "0000000001"};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 10; ++x)
    {
      const unsigned v = bits[y][x] == '1' ? 255 : 0;
      EXPECT_EQ(hex(pixelAt(bm.get(), x, y)), hex(px(v, v, v, 255))) << x << "," << y;
    }
}

TEST(Png, GreyWithAlphaAndGreyKey)
{
  PngImage ga;
  ga.width = 2, ga.height = 1;
  ga.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  ga.rows = {{0x40, 0x80, 0xFF, 0x00}};
  auto bm = decodeMemory(encodePng(ga));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(0x40, 0x40, 0x40, 0x80)));
  EXPECT_EQ(hex(pixelAt(bm.get(), 1, 0)), hex(px(0xFF, 0xFF, 0xFF, 0x00)));

  PngImage key;
  key.width = 2, key.height = 1;
  key.colourType = PNG_COLOR_TYPE_GRAY;
  key.rows = {{0x40, 0x41}};
  key.hasKey = true;
  key.key.gray = 0x41;
  bm = decodeMemory(encodePng(key));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(0x40, 0x40, 0x40, 0xFF)));
  EXPECT_EQ(LICE_GETA(pixelAt(bm.get(), 1, 0)), 0u) << "the keyed grey is transparent";
}

TEST(Png, RgbColourKeyAndOpaqueFiller)
{
  PngImage img;
  img.width = 2, img.height = 1;
  img.colourType = PNG_COLOR_TYPE_RGB;
  img.rows = {{1, 2, 3, 4, 5, 6}};
  auto bm = decodeMemory(encodePng(img));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(1, 2, 3, 255)));
  img.hasKey = true;
  img.key.red = 4, img.key.green = 5, img.key.blue = 6;
  bm = decodeMemory(encodePng(img));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 0, 0)), hex(px(1, 2, 3, 255)));
  EXPECT_EQ(LICE_GETA(pixelAt(bm.get(), 1, 0)), 0u);
}

TEST(Png, InterlacedMatchesProgressive)
{
  std::mt19937 rng(11);
  PngImage img;
  img.width = 13, img.height = 11;
  img.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (int y = 0; y < img.height; ++y)
  {
    std::vector<uint8_t> row(img.width * 4);
    for (auto& b : row) b = static_cast<uint8_t>(rng());
    img.rows.push_back(row);
  }
  img.interlaced = true;
  const auto bm = decodeMemory(encodePng(img));
  ASSERT_TRUE(bm);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
    {
      const uint8_t* s = &img.rows[y][x * 4];
      ASSERT_EQ(hex(pixelAt(bm.get(), x, y)), hex(px(s[0], s[1], s[2], s[3]))) << x << "," << y;
    }
}

TEST(Png, TruncatedMemoryImagesNeverCrash)
{
  std::mt19937 rng(3);
  PngImage img;
  img.width = 40, img.height = 30;
  for (int y = 0; y < img.height; ++y)
  {
    std::vector<uint8_t> row(img.width * 3);
    for (auto& b : row) b = static_cast<uint8_t>(rng() % 7);
    img.rows.push_back(row);
  }
  const std::vector<uint8_t> full = encodePng(img);
  for (size_t len = 0; len <= full.size(); ++len)
  {
    // An exact-size heap copy, so a read past the end would leave the buffer.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[len ? len : 1]);
    std::copy(full.begin(), full.begin() + static_cast<long>(len), copy.get());
    std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNGFromMemory(copy.get(), static_cast<int>(len), nullptr));
    if (len < 8)
    {
      EXPECT_FALSE(bm) << "length " << len;
    }
    if (bm)
    {
      EXPECT_EQ(bm->getWidth(), 40) << "length " << len;
      EXPECT_EQ(bm->getHeight(), 30) << "length " << len;
    }
  }
  // Cut after the image data: the missing IEND reads as zeros and the image is whole.
  std::unique_ptr<LICE_IBitmap> bm(
      LICE_LoadPNGFromMemory(full.data(), static_cast<int>(full.size() - 12), nullptr));
  ASSERT_TRUE(bm);
  EXPECT_EQ(hex(pixelAt(bm.get(), 39, 29)), hex(px(img.rows[29][117], img.rows[29][118], img.rows[29][119], 255)));
}

TEST(Png, RefusesHugeImagesBeforeAllocating)
{
  const struct
  {
    uint32_t w, h;
  } cases[] = {{16385, 1}, {1, 16385}, {16384, 16384}, {0x7FFFFFFF, 1}, {0, 5}};
  for (const auto& c : cases)
  {
    const auto bytes = rastertest::headerOnlyPng(c.w, c.h);
    LICE_MemBitmap supplied(2, 2);
    EXPECT_EQ(LICE_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), &supplied), nullptr)
        << c.w << "x" << c.h;
    EXPECT_EQ(supplied.getWidth(), 2) << "not resized for " << c.w << "x" << c.h;
  }
}

TEST(Png, BadSignatureOrNullFails)
{
  std::vector<uint8_t> bytes = encodePng(paletteImage());
  bytes[1] = 'Q';
  LICE_MemBitmap supplied(2, 2);
  EXPECT_EQ(LICE_LoadPNGFromMemory(bytes.data(), static_cast<int>(bytes.size()), &supplied), nullptr);
  EXPECT_EQ(supplied.getWidth(), 2);
  EXPECT_EQ(LICE_LoadPNGFromMemory(nullptr, 100, nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNG(nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNG("/nonexistent/murax.png"), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromResource(nullptr, "BG", nullptr), nullptr);
}

TEST(Png, FailuresAndWarningsStaySilent)
{
  std::vector<uint8_t> good = encodePng(paletteImage());
  // An ancillary chunk with a broken CRC after IHDR is a warning: the image still loads.
  std::vector<uint8_t> warned(good.begin(), good.begin() + 33);
  rastertest::appendChunk(warned, "tEXt", {'k', 0, 'v'}, true);
  warned.insert(warned.end(), good.begin() + 33, good.end());
  // Garbage in place of the image data is an error.
  std::vector<uint8_t> broken = good;
  for (size_t i = 60; i < broken.size() - 12; ++i) broken[i] ^= 0x5A;

  testing::internal::CaptureStderr();
  std::unique_ptr<LICE_IBitmap> ok(LICE_LoadPNGFromMemory(warned.data(), static_cast<int>(warned.size())));
  std::unique_ptr<LICE_IBitmap> bad(LICE_LoadPNGFromMemory(broken.data(), static_cast<int>(broken.size())));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(ok);
  EXPECT_FALSE(bad);
  EXPECT_EQ(err, "");
}

TEST(Png, FileLoaderFillsSuppliedAndFlippedBitmaps)
{
  TempDir dir;
  ASSERT_TRUE(rastertest::writeFile(dir.file("p.png"), encodePng(paletteImage())));
  LICE_MemBitmap mem(1, 1);
  EXPECT_EQ(LICE_LoadPNG(dir.file("p.png").c_str(), &mem), &mem);
  EXPECT_EQ(hex(pixelAt(&mem, 1, 1)), hex(px(0, 0, 255, 255)));

  GuardedBitmap wrongSize(5, 5);  // cannot resize: fails, and is not deleted
  EXPECT_EQ(LICE_LoadPNG(dir.file("p.png").c_str(), &wrongSize), nullptr);

  GuardedBitmap flipped(3, 2, true);
  EXPECT_EQ(LICE_LoadPNG(dir.file("p.png").c_str(), &flipped), &flipped);
  EXPECT_TRUE(flipped.guardsIntact());
  EXPECT_EQ(hex(flipped.at(0, 0)), hex(px(255, 0, 0, 255))) << "logical row 0 is the image's top row";
  EXPECT_EQ(hex(flipped.at(0, 1)), hex(px(10, 20, 30, 255)));
}

TEST(Png, RegistryChecksTheExtension)
{
  TempDir dir;
  const auto bytes = encodePng(paletteImage());
  for (const char* name : {"a.PNG", "b.png", "c.PnG", "d.txt", "noext", "e.png.bak"})
    ASSERT_TRUE(rastertest::writeFile(dir.file(name), bytes));
  ASSERT_EQ(system(("mkdir -p '" + dir.file("f.png") + "' && cp '" + dir.file("b.png") + "' '" +
                    dir.file("f.png/plain") + "'")
                       .c_str()),
            0);
  LICE_ImageLoader* png = LICE_FirstImageLoader();
  ASSERT_NE(png, nullptr);
  const struct
  {
    const char* name;
    bool loads;
  } cases[] = {{"a.PNG", true}, {"b.png", true}, {"c.PnG", true}, {"d.txt", false},
               {"noext", false}, {"e.png.bak", false}, {"f.png/plain", false}};
  for (const auto& c : cases)
  {
    std::unique_ptr<LICE_IBitmap> bm(png->load(dir.file(c.name).c_str(), true, nullptr));
    EXPECT_EQ(static_cast<bool>(bm), c.loads) << c.name;
    std::unique_ptr<LICE_IBitmap> unchecked(png->load(dir.file(c.name).c_str(), false, nullptr));
    EXPECT_TRUE(unchecked) << c.name << " without the name check";
  }
  // A name that fails the check is refused without touching the disk.
  EXPECT_EQ(png->load("/nonexistent/x.txt", true, nullptr), nullptr);
  const char* types = png->typeList();
  EXPECT_STREQ(types, "PNG files (*.PNG)");
  EXPECT_STREQ(types + 18, "*.PNG");
  EXPECT_STREQ(types + 24, "");
  std::unique_ptr<LICE_IBitmap> viaList(LICE_LoadImage(dir.file("a.PNG").c_str()));
  EXPECT_TRUE(viaList);
}

TEST(Png, NamedResourcesResolveAgainstTheRootOrBundle)
{
  TempDir dir;
  ASSERT_EQ(system(("mkdir -p '" + dir.file("img") + "'").c_str()), 0);
  ASSERT_TRUE(rastertest::writeFile(dir.file("img/BG.png"), encodePng(paletteImage())));
  LICE_SetResourceRoot(dir.path().c_str());
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNGFromNamedResource("img/BG.png"));
  EXPECT_TRUE(bm);
  EXPECT_EQ(LICE_LoadPNGFromNamedResource(std::string(401, 'a').c_str()), nullptr) << "over 400 characters";
  LICE_SetResourceRoot(nullptr);
  // This test program is no bundle.
  EXPECT_EQ(LICE_LoadPNGFromNamedResource("img/BG.png"), nullptr);

  char out[64];
  EXPECT_TRUE(LICE_BundleFromModulePath("/usr/lib/vst3/MURAX.vst3/Contents/x86_64-linux/MURAX.so", out, 64));
  EXPECT_STREQ(out, "/usr/lib/vst3/MURAX.vst3");
  EXPECT_FALSE(LICE_BundleFromModulePath("/usr/lib/MURAX.so", out, 64));
  EXPECT_FALSE(LICE_BundleFromModulePath("/x/Contents/i386-linux/MURAX.so", out, 64));
  EXPECT_FALSE(LICE_BundleFromModulePath("/usr/lib/vst3/MURAX.vst3/Contents/x86_64-linux/MURAX.so", out, 10))
      << "too long for the buffer";
}

}  // namespace
