// The glyph method against a font service that draws single dots: the font
// it asks for, the 1-2-1 reduction, the bold second draw, where two
// single-byte characters go, and what bad input gives.
#include "text/glyph_method.h"

#include <gtest/gtest.h>

#include "text/fake_fonts.h"

namespace orivane::test {
namespace {

uint8_t At(const GlyphCell& cell, int x, int y) {
  return cell.coverage[static_cast<size_t>(y) * cell.width + x];
}

int InkedPixels(const GlyphCell& cell) {
  int n = 0;
  for (uint8_t a : cell.coverage) n += a != 0;
  return n;
}

GlyphFont Font(int width, int height, bool bold = false) {
  GlyphFont f;
  f.face = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
  f.width = width;
  f.height = height;
  f.bold = bold;
  return f;
}

TEST(GlyphMethod, AsksForTheFontAtThreeTimesTheCell) {
  struct Case {
    bool vertical, smooth, bold;
    int width, height, weight;
    bool monochrome;
  };
  // 26 × 30 cell: horizontal writing wants a font 90 high and 39 wide per
  // half-width character; vertical writing turns the font, so its height
  // runs across the column (78) and its width along it (45).
  const Case cases[] = {
      {false, true, true, 39, 90, 700, false},
      {true, true, false, 45, 78, 400, false},
      {false, false, false, 13, 30, 400, true},
      {true, false, true, 15, 26, 700, true},
  };
  for (const Case& c : cases) {
    FakeFonts fonts;
    GlyphFont font = Font(26, 30, c.bold);
    font.vertical = c.vertical;
    font.smooth = c.smooth;
    RenderGlyphCell(fonts, font, 0x8A, 0xBF);  // 漢
    ASSERT_EQ(fonts.requests.size(), 1u);
    const RecordedRequest& r = fonts.requests[0];
    EXPECT_EQ(r.face, "ＭＳ ゴシック");
    EXPECT_EQ(r.code_point, U'漢');
    EXPECT_EQ(r.width, c.width);
    EXPECT_EQ(r.height, c.height);
    EXPECT_EQ(r.weight, c.weight);
    EXPECT_EQ(r.vertical, c.vertical);
    EXPECT_EQ(r.monochrome, c.monochrome);
  }
}

// One full source pixel at (sx, sy) of the three-times drawing lands in cell
// pixel (1, 1) with the weight of its place in the 3 × 3 block, 255 × w / 16
// rounded down, and nowhere else.
TEST(GlyphMethod, ReducesWithOneTwoOneWeights) {
  struct Case {
    int sx, sy, expected;
  };
  const Case cases[] = {
      {4, 4, 255 * 4 / 16}, {3, 4, 255 * 2 / 16}, {5, 4, 255 * 2 / 16}, {4, 3, 255 * 2 / 16},
      {4, 5, 255 * 2 / 16}, {3, 3, 255 / 16},     {5, 5, 255 / 16},     {3, 5, 255 / 16},
  };
  for (const Case& c : cases) {
    FakeFonts fonts;
    fonts.draw = [&](const GlyphRequest& r) {
      return FakeFonts::Dot(2 * r.width, r.height, c.sx, c.sy);
    };
    GlyphCell cell = RenderGlyphCell(fonts, Font(4, 4), 0x82, 0xA0);
    ASSERT_EQ(cell.width, 4);
    ASSERT_EQ(cell.height, 4);
    EXPECT_EQ(At(cell, 1, 1), c.expected) << c.sx << "," << c.sy;
    EXPECT_EQ(InkedPixels(cell), 1) << c.sx << "," << c.sy;
  }
}

TEST(GlyphMethod, FullInkStaysFull) {
  FakeFonts fonts;
  fonts.draw = [](const GlyphRequest& r) {
    GlyphBitmap g = FakeFonts::Blank(2 * r.width, r.height);
    std::fill(g.coverage.begin(), g.coverage.end(), 255);
    return g;
  };
  GlyphCell cell = RenderGlyphCell(fonts, Font(6, 6), 0x82, 0xA0);
  for (uint8_t a : cell.coverage) ASSERT_EQ(a, 255);
}

TEST(GlyphMethod, BoldDrawsASecondTimeOnePixelRight) {
  // (3, 4) weighs 2 in cell pixel (1, 1); its bold copy at (4, 4) weighs 4.
  // (5, 7)'s copy at (6, 7) crosses into cell pixel (2, 2) with weight 2.
  FakeFonts fonts;
  fonts.draw = [](const GlyphRequest& r) {
    GlyphBitmap g = FakeFonts::Dot(2 * r.width, r.height, 3, 4);
    g.coverage[7 * g.width + 5] = 255;
    return g;
  };
  GlyphCell normal = RenderGlyphCell(fonts, Font(4, 4, false), 0x82, 0xA0);
  EXPECT_EQ(At(normal, 1, 1), 255 * 2 / 16);
  EXPECT_EQ(At(normal, 1, 2), 255 * 2 / 16);
  EXPECT_EQ(At(normal, 2, 2), 0);
  GlyphCell bold = RenderGlyphCell(fonts, Font(4, 4, true), 0x82, 0xA0);
  EXPECT_EQ(At(bold, 1, 1), 255 * 6 / 16);
  EXPECT_EQ(At(bold, 1, 2), 255 * 2 / 16);
  EXPECT_EQ(At(bold, 2, 2), 255 * 2 / 16);
}

TEST(GlyphMethod, PlainCellIsTheGlyphItself) {
  FakeFonts fonts;
  fonts.draw = [](const GlyphRequest& r) { return FakeFonts::Dot(2 * r.width, r.height, 5, 2); };
  GlyphFont font = Font(8, 8, true);
  font.smooth = false;
  GlyphCell cell = RenderGlyphCell(fonts, font, 0x82, 0xA0);
  EXPECT_EQ(At(cell, 5, 2), 255);
  EXPECT_EQ(InkedPixels(cell), 1);  // no second draw, no reduction
}

// Two single-byte characters share a cell: the second starts where the
// first one's advance ends, along the writing direction.
TEST(GlyphMethod, SecondSingleByteCharacterFollowsTheFirst) {
  for (bool vertical : {false, true}) {
    FakeFonts fonts;
    fonts.draw = [](const GlyphRequest& r) {
      GlyphBitmap g = FakeFonts::Dot(r.width, r.height, 0, 0);
      g.advance = 9;
      return g;
    };
    GlyphFont font = Font(6, 6);
    font.vertical = vertical;
    GlyphCell cell = RenderGlyphCell(fonts, font, 'A', 'B');
    ASSERT_EQ(fonts.requests.size(), 2u);
    EXPECT_EQ(fonts.requests[0].code_point, U'A');
    EXPECT_EQ(fonts.requests[1].code_point, U'B');
    // Each dot is the top-left corner of a 3 × 3 block and weighs 1: the
    // first in cell pixel 0, the second, at 9, in cell pixel 3.
    EXPECT_EQ(At(cell, 0, 0), 255 / 16);
    EXPECT_EQ(vertical ? At(cell, 0, 3) : At(cell, 3, 0), 255 / 16);
    EXPECT_EQ(InkedPixels(cell), 2);
  }
}

TEST(GlyphMethod, HalfWidthKatakanaIsOneCharacter) {
  FakeFonts fonts;
  RenderGlyphCell(fonts, Font(10, 10), 0xB1, 0);  // ｱ
  ASSERT_EQ(fonts.requests.size(), 1u);
  EXPECT_EQ(fonts.requests[0].code_point, U'ｱ');
}

TEST(GlyphMethod, BytesThatAreNoCharacterLeaveTheCellBlank) {
  struct Case {
    uint8_t first, second;
    size_t requests;
  };
  const Case cases[] = {
      {0x81, 0x20, 0},  // a lead byte with a trail byte out of range
      {0x81, 0x00, 0},  // a lead byte at the end of the text
      {0xFF, 0xFF, 0},  // bytes that start no character
      {0xFF, 'x', 1},   // the good half still draws
      {0, 0, 0},
  };
  for (const Case& c : cases) {
    FakeFonts fonts;
    fonts.draw = [](const GlyphRequest& r) { return FakeFonts::Dot(r.width, r.height, 0, 0); };
    GlyphCell cell = RenderGlyphCell(fonts, Font(8, 8), c.first, c.second);
    EXPECT_EQ(fonts.requests.size(), c.requests) << int{c.first} << " " << int{c.second};
    EXPECT_EQ(cell.width, 8);
    EXPECT_EQ(InkedPixels(cell), c.requests == 0 ? 0 : 1);
  }
}

TEST(GlyphMethod, SizesOutOfRangeGiveAnEmptyCellWithoutAsking) {
  for (auto [w, h] :
       {std::pair{0, 26}, {26, 0}, {-4, 26}, {26, kMaxGlyphCellSide + 1}, {1 << 30, 1 << 30}}) {
    FakeFonts fonts;
    GlyphCell cell = RenderGlyphCell(fonts, Font(w, h), 0x82, 0xA0);
    EXPECT_EQ(cell.width, 0);
    EXPECT_TRUE(cell.coverage.empty());
    EXPECT_TRUE(fonts.requests.empty());
  }
  FakeFonts fonts;
  GlyphCell largest = RenderGlyphCell(fonts, Font(kMaxGlyphCellSide, 1), 0x82, 0xA0);
  EXPECT_EQ(largest.width, kMaxGlyphCellSide);
  EXPECT_EQ(largest.coverage.size(), static_cast<size_t>(kMaxGlyphCellSide));
}

// A font service that answers nonsense cannot make the method read or write
// outside its buffers.
TEST(GlyphMethod, ToleratesABrokenFontService) {
  const std::function<GlyphBitmap(const GlyphRequest&)> broken[] = {
      [](const GlyphRequest&) {
        GlyphBitmap g;
        g.width = 50;
        g.height = 50;
        g.coverage.resize(10);  // fewer bytes than it claims
        return g;
      },
      [](const GlyphRequest&) {
        GlyphBitmap g = FakeFonts::Dot(1000, 1000, 999, 999);  // far larger than the canvas
        g.advance = 1 << 30;
        return g;
      },
      [](const GlyphRequest&) {
        GlyphBitmap g;
        g.width = -3;
        g.height = 7;
        g.advance = -(1 << 30);
        return g;
      },
  };
  for (const auto& draw : broken) {
    FakeFonts fonts;
    fonts.draw = draw;
    GlyphCell cell = RenderGlyphCell(fonts, Font(20, 20), 'a', 'b');
    EXPECT_EQ(cell.coverage.size(), 400u);
  }
}

}  // namespace
}  // namespace orivane::test
