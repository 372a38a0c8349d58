// Glyphs from the machine's fonts (fontconfig and FreeType, IPAGothic
// installed): where the ink lies, what bold and vertical writing change, and
// which face a name resolves to.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/display_surface.h"
#include "platform/fontconfig/fontconfig_fonts.h"
#include "text/glyph_draw.h"
#include "text/glyph_method.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

struct InkBox {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  int64_t total = 0;  // the sum of all coverage
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

InkBox InkOf(const std::vector<uint8_t>& coverage, int width, int height) {
  InkBox box;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t a = coverage[static_cast<size_t>(y) * width + x];
      if (a < 64) continue;  // faint edges do not count
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  for (uint8_t a : coverage) box.total += a;
  return box;
}
InkBox InkOf(const GlyphCell& c) {
  return InkOf(c.coverage, c.width, c.height);
}
InkBox InkOf(const GlyphBitmap& g) {
  return InkOf(g.coverage, g.width, g.height);
}

class SystemGlyphs : public ::testing::Test {
 protected:
  // One service for the suite: fontconfig reads the machine's fonts once.
  static void SetUpTestSuite() { fonts_ = new FontconfigFonts; }
  static void TearDownTestSuite() {
    delete fonts_;
    fonts_ = nullptr;
  }

  static GlyphFont Font(std::string_view face_utf8, bool bold = false, bool vertical = false) {
    GlyphFont f;
    f.face = Utf8ToSjis(face_utf8);
    f.width = f.height = 26;
    f.bold = bold;
    f.vertical = vertical;
    return f;
  }
  // The cell of one character given in UTF-8 (one full-width character, or
  // one or two single-byte ones).
  static GlyphCell Cell(const GlyphFont& font, std::string_view utf8) {
    const std::string sjis = Utf8ToSjis(utf8);
    return RenderGlyphCell(*fonts_, font, static_cast<uint8_t>(sjis[0]),
                           sjis.size() > 1 ? static_cast<uint8_t>(sjis[1]) : 0);
  }
  static GlyphBitmap Raster(std::string_view face, char32_t c, int width, int height,
                            bool vertical = false) {
    GlyphRequest r;
    r.face = face;
    r.code_point = c;
    r.width = width;
    r.height = height;
    r.vertical = vertical;
    return fonts_->RasterizeGlyph(r);
  }

  static FontconfigFonts* fonts_;
};
FontconfigFonts* SystemGlyphs::fonts_ = nullptr;

TEST_F(SystemGlyphs, InkLandsInItsCellAndTheShadowBesideIt) {
  DisplaySurface screen;
  screen.Resize(120, 100);
  std::fill(screen.pixels.begin(), screen.pixels.end(), 128);
  const GlyphCell cell = Cell(Font("ＭＳ ゴシック", true), "漢");
  GlyphPaint paint;
  paint.shadow = true;
  MulTable mul;
  DrawGlyph(PixelView(screen), 30, 40, cell, paint, mul);
  int brighter = 0, darker = 0;
  for (int y = 0; y < screen.height; ++y)
    for (int x = 0; x < screen.width; ++x) {
      const uint8_t v = screen.RowFromTop(y)[3 * x];
      if (v == 128) continue;
      EXPECT_TRUE(x >= 30 && x <= 30 + 26 && y >= 40 && y < 40 + 26) << x << "," << y;
      (v > 128 ? brighter : darker) += 1;
    }
  EXPECT_GT(brighter, 60);
  EXPECT_GT(darker, 20);
}

TEST_F(SystemGlyphs, FullWidthIdeographCoversMoreThanAHalfWidthLetter) {
  const InkBox ideograph = InkOf(Cell(Font("IPAGothic"), "漢"));
  const InkBox letter = InkOf(Cell(Font("IPAGothic"), "A"));
  EXPECT_LT(ideograph.left, 5);
  EXPECT_GT(ideograph.right, 20);
  EXPECT_LT(letter.right, 13);  // the left half of the cell
  EXPECT_GT(ideograph.total, 2 * letter.total);
}

TEST_F(SystemGlyphs, BoldIsHeavierThanNormal) {
  // Strokes grow across: much more ink where strokes stand upright, a longer
  // bar where the stroke lies.
  for (const char* c : {"漢", "あ", "A"}) {
    const InkBox normal = InkOf(Cell(Font("IPAGothic", false), c));
    const InkBox bold = InkOf(Cell(Font("IPAGothic", true), c));
    EXPECT_GT(bold.total, normal.total * 12 / 10) << c;
  }
  const InkBox normal = InkOf(Cell(Font("IPAGothic", false), "ー"));
  const InkBox bold = InkOf(Cell(Font("IPAGothic", true), "ー"));
  EXPECT_GT(bold.right, normal.right);
  EXPECT_GT(bold.total, normal.total);
}

TEST_F(SystemGlyphs, VerticalWritingTurnsTheLongVowelMarkAndBrackets) {
  const InkBox across = InkOf(Cell(Font("IPAGothic"), "ー"));
  const InkBox down = InkOf(Cell(Font("IPAGothic", false, true), "ー"));
  EXPECT_GT(across.width(), 3 * across.height());
  EXPECT_GT(down.height(), 3 * down.width());
  // 「 opens downwards and to the right in horizontal writing: its ink starts
  // at the top-left of its box; the vertical form starts at the top-right.
  for (const char* bracket : {"「", "（", "【"}) {
    EXPECT_NE(Cell(Font("IPAGothic"), bracket).coverage,
              Cell(Font("IPAGothic", false, true), bracket).coverage)
        << bracket;
  }
}

TEST_F(SystemGlyphs, IdeographsStandUprightInVerticalWriting) {
  EXPECT_EQ(Cell(Font("IPAGothic"), "漢").coverage,
            Cell(Font("IPAGothic", false, true), "漢").coverage);
}

TEST_F(SystemGlyphs, HalfWidthLettersLieOnTheirSideInVerticalWriting) {
  const GlyphBitmap upright = Raster("IPAGothic", U'l', 20, 40);
  const GlyphBitmap turned = Raster("IPAGothic", U'l', 20, 40, true);
  EXPECT_EQ(upright.width, 20);
  EXPECT_EQ(upright.height, 40);
  EXPECT_EQ(turned.width, 40);   // across the column
  EXPECT_EQ(turned.height, 20);  // along it
  EXPECT_GT(InkOf(upright).height(), 3 * InkOf(upright).width());
  EXPECT_GT(InkOf(turned).width(), 3 * InkOf(turned).height());
}

TEST_F(SystemGlyphs, CellsAreSizedAsWindowsFontsAre) {
  struct Case {
    char32_t c;
    bool vertical;
    int width, height, advance;
  };
  // A request of 15 × 32: half-width characters advance 15, full-width 30;
  // vertical writing puts the 32 across the column.
  const Case cases[] = {
      {U'漢', false, 30, 32, 30}, {U'A', false, 15, 32, 15}, {U'ｱ', false, 15, 32, 15},
      {U'漢', true, 32, 30, 30},  {U'A', true, 32, 15, 15},
  };
  for (const Case& c : cases) {
    const GlyphBitmap g = Raster("IPAGothic", c.c, 15, 32, c.vertical);
    EXPECT_EQ(g.width, c.width) << static_cast<uint32_t>(c.c) << " " << c.vertical;
    EXPECT_EQ(g.height, c.height) << static_cast<uint32_t>(c.c) << " " << c.vertical;
    EXPECT_EQ(g.advance, c.advance) << static_cast<uint32_t>(c.c) << " " << c.vertical;
    EXPECT_EQ(g.coverage.size(), static_cast<size_t>(g.width) * g.height);
  }
}

TEST_F(SystemGlyphs, MonochromeGlyphsHaveNoGreys) {
  GlyphRequest r;
  r.face = "IPAGothic";
  r.code_point = U'あ';
  r.width = 12;
  r.height = 24;
  r.monochrome = true;
  const GlyphBitmap g = fonts_->RasterizeGlyph(r);
  int full = 0;
  for (uint8_t a : g.coverage) {
    EXPECT_TRUE(a == 0 || a == 255);
    full += a == 255;
  }
  EXPECT_GT(full, 20);
}

// Faces the machine does not have draw with IPAGothic; a face it has draws
// with itself (IPAPGothic, proportional, sets "iW" closer together).
TEST_F(SystemGlyphs, UnknownFacesFallBackToIPAGothic) {
  for (const char* text : {"漢", "A", "iW"}) {
    const GlyphCell standard = Cell(Font("IPAGothic"), text);
    for (const char* face : {"ＭＳ ゴシック", "No Such Face Anywhere", "", "@IPAGothic"})
      EXPECT_EQ(Cell(Font(face), text).coverage, standard.coverage) << face << " " << text;
  }
  EXPECT_NE(Cell(Font("IPAPGothic"), "iW").coverage, Cell(Font("IPAGothic"), "iW").coverage);
}

TEST_F(SystemGlyphs, BadRequestsNeverFail) {
  for (char32_t c :
       {char32_t{0}, char32_t{0xD800}, char32_t{0x10FFFF}, char32_t{0xFFFFFFFF}, U'\uFFFD'}) {
    const GlyphBitmap g = Raster("IPAGothic", c, 13, 26);
    EXPECT_EQ(g.coverage.size(), static_cast<size_t>(g.width) * g.height);
  }
  for (auto [w, h] : {std::pair{0, 26},
                      {13, 0},
                      {-1, 26},
                      {13, INT_MIN},
                      {kMaxGlyphRequestSide + 1, 26},
                      {INT_MAX, INT_MAX}}) {
    const GlyphBitmap g = Raster("IPAGothic", U'漢', w, h);
    EXPECT_TRUE(g.coverage.empty()) << w << "x" << h;
    EXPECT_EQ(g.width, 0);
  }
  const std::string long_name(5000, 'x');
  for (std::string_view face : {std::string_view("@"), std::string_view("\xFF\xFE\x80 broken"),
                                std::string_view(long_name)}) {
    const GlyphBitmap g = Raster(face, U'漢', 13, 26);
    EXPECT_EQ(g.width, 26);
    EXPECT_GT(InkOf(g).total, 0);
  }
  // The largest size there is, both ways.
  const GlyphBitmap big =
      Raster("IPAGothic", U'漢', kMaxGlyphRequestSide, kMaxGlyphRequestSide, true);
  EXPECT_EQ(big.coverage.size(), static_cast<size_t>(big.width) * big.height);
}

TEST(NoFontsService, DrawsBlankCellsOfTheRightSize) {
  NoFonts fonts;
  GlyphRequest r;
  r.width = 10;
  r.height = 24;
  r.code_point = U'漢';
  GlyphBitmap g = fonts.RasterizeGlyph(r);
  EXPECT_EQ(g.width, 20);
  EXPECT_EQ(g.height, 24);
  r.vertical = true;
  r.code_point = U'A';
  g = fonts.RasterizeGlyph(r);
  EXPECT_EQ(g.width, 24);
  EXPECT_EQ(g.height, 10);
  EXPECT_EQ(g.advance, 10);
  for (uint8_t a : g.coverage) EXPECT_EQ(a, 0);
  r.width = 0;
  EXPECT_TRUE(fonts.RasterizeGlyph(r).coverage.empty());
}

}  // namespace
}  // namespace orivane::test
