// The sprite drawing rules, byte for byte: every transparency mode with and
// without opacity, indexed sources, cells and clipping.
#include "graphics/sprite_draw.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/image_surface.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {

// A 24-bit picture from 0xRRGGBB values, rows from the top.
ImageSurface Picture(int w, int h, const std::vector<uint32_t>& rgb) {
  ImageSurface s;
  s.CreateBlank(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = s.RowFromTop(y) + x * 3;
      const uint32_t v = rgb[static_cast<size_t>(y) * w + x];
      p[0] = v & 0xFF;
      p[1] = (v >> 8) & 0xFF;
      p[2] = (v >> 16) & 0xFF;
    }
  return s;
}

DisplaySurface Screen(int w, int h, uint32_t rgb) {
  DisplaySurface d;
  d.Resize(w, h);
  FillRect(PixelView(d), PixelRect{0, 0, w - 1, h - 1}, rgb);
  return d;
}

uint32_t Blend(uint32_t s, uint32_t d, int a) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
    out |= static_cast<uint32_t>(Mul(sc, a) + Mul(dc, 255 - a)) << shift;
  }
  return out;
}

struct AlphaCase {
  const char* name;
  bool text;
  int opacity;
  uint32_t src;
  int mask;
  uint32_t dst;
  uint32_t expected;
};

void PrintTo(const AlphaCase& c, std::ostream* os) {
  *os << c.name;
}

class AlphaRule : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaRule, BlendsThroughTheMask) {
  const AlphaCase& c = GetParam();
  const uint32_t mask_rgb = static_cast<uint32_t>(c.mask) * 0x010101;
  ImageSurface pic = Picture(2, 1, {c.src, mask_rgb});
  pic.mode = kModeAlpha;
  pic.is_text = c.text;
  pic.opacity = c.opacity;
  DisplaySurface screen = Screen(1, 1, c.dst);
  MulTable mul;
  DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
  EXPECT_EQ(PixelAt(screen, 0, 0), c.expected) << std::hex << PixelAt(screen, 0, 0);
}

constexpr uint32_t Grey(int v) {
  return static_cast<uint32_t>(v) * 0x010101;
}

INSTANTIATE_TEST_SUITE_P(
    SpriteDraw, AlphaRule,
    ::testing::Values(
        // d = s·(255−m) + d·m: with m = 128 this is s·127 + d·128, not a half.
        AlphaCase{"HalfMask", false, -1, Grey(200), 128, Grey(100),
                  Grey(Mul(200, 127) + Mul(100, 128))},
        AlphaCase{"OpaqueMask", false, -1, 0x123456, 0, 0xABCDEF, 0x123456},
        AlphaCase{"ClearMask", false, -1, 0x123456, 255, 0xABCDEF, 0xABCDEF},
        // a = (255−m)·op; d = s·a + d·(255−a)
        AlphaCase{"MaskAndOpacity", false, 100, Grey(240), 60, Grey(30),
                  Grey(Mul(240, Mul(195, 100)) + Mul(30, 255 - Mul(195, 100)))},
        // text: d = min(255, d·m + s)
        AlphaCase{"TextOverWhiteStaysWhite", true, -1, Grey(0), 255, Grey(255), Grey(255)},
        AlphaCase{"TextSaturates", true, -1, Grey(200), 200, Grey(250), Grey(255)},
        AlphaCase{"TextPartial", true, -1, Grey(40), 100, Grey(90), Grey(Mul(90, 100) + 40)},
        // text with opacity: d = min(255, d·m + op·s)
        AlphaCase{"TextWithOpacity", true, 128, Grey(200), 50, Grey(60),
                  Grey(Mul(60, 50) + Mul(128, 200))}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(SpriteDraw, CopyModeOpacity) {
  MulTable mul;
  ImageSurface pic = Picture(1, 1, {0x804020});
  pic.mode = kModeCopy;
  struct Case {
    int opacity;
    uint32_t expected;
  } cases[] = {
      {-1, 0x804020},   // never set: plain copy
      {0, 0x10F0A0},    // set to 0: the destination stays
      {255, 0x804020},  // 255 takes the blend path with the same colours
      {77, Blend(0x804020, 0x10F0A0, 77)},
      {400, 0x804020},  // out of range from a script: kept within 0..255
  };
  for (const Case& c : cases) {
    pic.opacity = c.opacity;
    DisplaySurface screen = Screen(1, 1, 0x10F0A0);
    DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
    EXPECT_EQ(PixelAt(screen, 0, 0), c.expected) << "opacity " << c.opacity;
  }
}

TEST(SpriteDraw, ColourKeys) {
  MulTable mul;
  // Top row: left pixel A, right pixel B; second row C, A.
  const uint32_t A = 0x00FF00, B = 0xFF0000, C = 0x0000FF, D = 0x777777;
  struct Case {
    const char* name;
    int mode;
    uint32_t key;
    int opacity;
    std::vector<uint32_t> expected;
  } cases[] = {
      {"LeftUp", kModeLeftUp, 0, -1, {D, B, C, D}},
      {"RightUp", kModeRightUp, 0, -1, {A, D, C, A}},
      {"GivenKey", kModeGivenKey, C, -1, {A, B, D, A}},
      {"LeftUpWithOpacity", kModeLeftUp, 0, 64, {D, Blend(B, D, 64), Blend(C, D, 64), D}},
  };
  for (const Case& c : cases) {
    ImageSurface pic = Picture(2, 2, {A, B, C, A});
    pic.mode = c.mode;
    pic.key_red = (c.key >> 16) & 0xFF;
    pic.key_green = (c.key >> 8) & 0xFF;
    pic.key_blue = c.key & 0xFF;
    pic.opacity = c.opacity;
    DisplaySurface screen = Screen(2, 2, D);
    DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
    std::vector<uint32_t> got = {PixelAt(screen, 0, 0), PixelAt(screen, 1, 0),
                                 PixelAt(screen, 0, 1), PixelAt(screen, 1, 1)};
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

TEST(SpriteDraw, RightUpKeyIsTheLastColumnOfTheWholePicture) {
  MulTable mul;
  const uint32_t K = 0x010203, X = 0xAAAAAA, D = 0x000000;
  // Two cells of 2 pixels; the key is the top-right pixel of cell 1.
  ImageSurface pic = Picture(4, 1, {X, K, X, K});
  pic.mode = kModeRightUp;
  pic.cells = 2;
  DisplaySurface screen = Screen(2, 1, D);
  DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
  EXPECT_EQ(PixelAt(screen, 0, 0), X);
  EXPECT_EQ(PixelAt(screen, 1, 0), D);
}

TEST(SpriteDraw, IndexedSourceUsesItsColourTableAndIndexKey) {
  MulTable mul;
  ImageSurface pic;
  pic.CreateBlank(3, 1, 8);
  const uint32_t colours[3] = {0x112233, 0x445566, 0x778899};
  for (int i = 0; i < 3; ++i) {
    pic.palette[i * 4] = colours[i] & 0xFF;
    pic.palette[i * 4 + 1] = (colours[i] >> 8) & 0xFF;
    pic.palette[i * 4 + 2] = (colours[i] >> 16) & 0xFF;
  }
  uint8_t* row = pic.RowFromTop(0);
  row[0] = 0;
  row[1] = 1;
  row[2] = 2;
  pic.mode = kModeGivenKey;
  pic.key_index = 1;
  // The RGB key must not matter for an indexed picture.
  pic.key_red = 0x11;
  pic.key_green = 0x22;
  pic.key_blue = 0x33;
  DisplaySurface screen = Screen(3, 1, 0xFFFFFF);
  DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
  EXPECT_EQ(PixelAt(screen, 0, 0), 0x112233u);
  EXPECT_EQ(PixelAt(screen, 1, 0), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(screen, 2, 0), 0x778899u);

  pic.mode = kModeAlpha;  // an indexed picture has no mask: nothing is drawn
  DisplaySurface untouched = Screen(3, 1, 0xFFFFFF);
  DrawSprite(mul, pic, PixelView(untouched), nullptr, 0, 0);
  EXPECT_EQ(PixelAt(untouched, 0, 0), 0xFFFFFFu);
}

TEST(SpriteDraw, FourBitPictureDrawsNothing) {
  MulTable mul;
  ImageSurface pic;
  pic.CreateBlank(4, 4, 4);
  pic.mode = kModeCopy;
  DisplaySurface screen = Screen(4, 4, 0x123456);
  DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
  EXPECT_EQ(PixelAt(screen, 2, 2), 0x123456u);
}

TEST(SpriteDraw, CellBeyondTheLastDrawsAndKeepsTheLastCell) {
  MulTable mul;
  ImageSurface pic = Picture(3, 1, {0x000001, 0x000002, 0x000003});
  pic.cells = 3;
  pic.cell = 7;
  DisplaySurface screen = Screen(1, 1, 0);
  DrawSprite(mul, pic, PixelView(screen), nullptr, 0, 0);
  EXPECT_EQ(PixelAt(screen, 0, 0), 3u);
  EXPECT_EQ(pic.cell, 2);
}

TEST(SpriteDraw, ClipsAtTheLeftTopAndAtTheClipRectangle) {
  MulTable mul;
  std::vector<uint32_t> px;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) px.push_back(static_cast<uint32_t>(y * 16 + x + 1));
  ImageSurface pic = Picture(4, 4, px);
  DisplaySurface screen = Screen(6, 6, 0xFFFFFF);
  // Drawn at (-2, -1): screen (0, 0) shows source (2, 1).
  DrawSprite(mul, pic, PixelView(screen), nullptr, -2, -1);
  EXPECT_EQ(PixelAt(screen, 0, 0), 1u * 16 + 2 + 1);
  EXPECT_EQ(PixelAt(screen, 1, 2), 3u * 16 + 3 + 1);
  EXPECT_EQ(PixelAt(screen, 2, 0), 0xFFFFFFu);
  // Clipped to a rectangle: only the inside changes.
  DisplaySurface clipped = Screen(6, 6, 0xFFFFFF);
  PixelRect clip{2, 2, 3, 3};
  DrawSprite(mul, pic, PixelView(clipped), &clip, 1, 1);
  EXPECT_EQ(PixelAt(clipped, 1, 1), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(clipped, 2, 2), 1u * 16 + 1 + 1);
  EXPECT_EQ(PixelAt(clipped, 3, 3), 2u * 16 + 2 + 1);
  EXPECT_EQ(PixelAt(clipped, 4, 4), 0xFFFFFFu);
}

TEST(SpriteDraw, TransparencyTest) {
  ImageSurface alpha = Picture(4, 1, {0, 0, Grey(241), Grey(240)});
  alpha.mode = kModeAlpha;
  EXPECT_TRUE(IsTransparentPixel(alpha, 0, 0));
  EXPECT_FALSE(IsTransparentPixel(alpha, 1, 0));
  ImageSurface key = Picture(2, 1, {0x00FF00, 0x123456});
  key.mode = kModeLeftUp;
  EXPECT_TRUE(IsTransparentPixel(key, 0, 0));
  EXPECT_FALSE(IsTransparentPixel(key, 1, 0));
  key.mode = kModeCopy;
  EXPECT_FALSE(IsTransparentPixel(key, 0, 0));
}

}  // namespace
}  // namespace orivane::test
